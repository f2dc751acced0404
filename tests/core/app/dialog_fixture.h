// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/app/dialog_texts.h"
#include "core/app/sonquill_dlg.h"
#include "core/cloud/cloud_client.h"
#include "support/fake_drive_system.h"
#include "support/fake_view.h"
#include "support/list_file_bytes.h"
#include "support/temp_dir.h"
#include "support/test_cloud_server.h"

namespace songloader::test {

// A title the song list builder refuses in any language (60 words): every rebuild that holds it fails.
std::string UnbuildableTitle();
inline const std::string kUnbuildableTitle = UnbuildableTitle();

struct CloudSong {
    std::uint32_t number = 0;
    std::uint8_t language = 0;
    std::string title;
    std::string artist;
};

// The main window over a fake view, with a removable stick at <temp>/media/STICK and a loopback
// cloud server serving <temp>/cloud. The dialog's clock stands still unless a test moves it.
class DialogTest : public ::testing::Test {
protected:
    DialogTest();

    // Puts MgList.dat, Msong.db and a video per song on the cloud server.
    void PublishCloud(const std::vector<CloudSong>& songs);
    // The video the cloud serves for a song: a few kilobytes that differ per song.
    static std::string VideoOf(std::uint32_t number);
    // "Cloud Songs", expecting only "check cloud database ok".
    void SyncCloud();

    std::filesystem::path songs() const { return stick / "songs"; }
    // Writes songs/SgList.dat of the stick.
    void PutDeviceList(const std::vector<ListEntry>& entries);
    // A media file of a device song at songs/NNN/<number><extension>.
    std::filesystem::path PutDeviceMedia(const std::string& numberText, const std::string& extension,
                                         const std::string& content = "video");
    // A real media file of the user's (WriteMediaSample), outside the device.
    std::filesystem::path MakeClip(const std::string& name, std::size_t bytes = 1000);
    // The stick is pulled (moved to `pulled`, an empty folder put in its place) at the first pump
    // once every file of `copies` has arrived; PutStickBack puts it back where it was.
    void PullStickWhenCopied(std::vector<std::filesystem::path> copies, std::filesystem::path pulled);
    void PutStickBack(const std::filesystem::path& pulled);
    // "Auto-Check USB Drive", expecting no message.
    void ChooseDevice();
    // Types a song into the form: language is the entry combo index (-1 none).
    void FillForm(const std::string& number, const std::string& title, const std::filesystem::path& media,
                  int language = 1, const std::string& artist = "", const std::string& composer = "",
                  const std::string& lyricist = "");
    // Fills the form and presses "Queue to Add", expecting no message.
    void Queue(const std::string& number, const std::string& title, const std::filesystem::path& media);
    // The device's catalogue as the player would read it.
    SongList DeviceCatalogue() const;
    // Numbers of a song list, in order.
    static std::vector<std::int32_t> Numbers(const SongList& songs);
    void ClearLog();

    TempDir dir;
    std::filesystem::path stick;
    std::filesystem::path cloud;
    FakeView view;
    FakeDriveSystem drives;
    TestCloudServer server;
    DownloadProgress progress;
    CloudClient client;
    std::chrono::steady_clock::time_point now{};
    DialogSettings settings;
    CSonquillDlg dlg;
};

}  // namespace songloader::test
