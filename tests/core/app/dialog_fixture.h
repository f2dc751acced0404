#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/app/dialog_texts.h"
#include "core/app/sonquill_dlg.h"
#include "support/fake_drive_system.h"
#include "support/fake_view.h"
#include "support/list_file_bytes.h"
#include "support/temp_dir.h"

namespace songloader::test {

// A title the song list builder refuses in any language (60 words): every rebuild that holds it fails.
std::string UnbuildableTitle();
inline const std::string kUnbuildableTitle = UnbuildableTitle();

// The main window over a fake view, with a removable stick at <temp>/media/STICK.
class DialogTest : public ::testing::Test {
protected:
    DialogTest();

    std::filesystem::path songs() const { return stick / "songs"; }
    // Writes songs/SgList.dat of the stick.
    void PutDeviceList(const std::vector<ListEntry>& entries);
    // A media file of a device song at songs/NNN/<number><extension>.
    std::filesystem::path PutDeviceMedia(const std::string& numberText, const std::string& extension,
                                         const std::string& content = "video");
    // A media file of the user's, outside the device.
    std::filesystem::path MakeClip(const std::string& name, std::size_t bytes = 1000);
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
    FakeView view;
    FakeDriveSystem drives;
    DialogSettings settings;
    CSonquillDlg dlg;
};

}  // namespace songloader::test
