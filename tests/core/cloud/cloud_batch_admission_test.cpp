// SPDX-License-Identifier: GPL-3.0-or-later
// A batch of cloud songs passes the same gate as one of the user's files: the sizes the cloud
// announces count in its room, and a song the list builder would refuse is never downloaded.
#include "cloud_test_fixture.h"
#include "core/cloud/cloud_song_add.h"
#include "core/entry/media_files.h"
#include "core/entry/placement_journal.h"
#include "support/tmpfs_mount.h"
#include "support/song_samples.h"

namespace songloader::test {
namespace {

using CloudBatchAdmission = CloudTest;

TEST_F(CloudBatchAdmission, AnnouncedSizesThatDoNotFitTogetherDownloadNothing) {
    const std::filesystem::path stick = local / "stick";
    TmpfsMount mount(stick, 1 << 20);
    if (!mount.mounted()) GTEST_SKIP() << mount.why_not();
    Serve("500002.mp4", Pattern(600 * 1024, 2));
    Serve("500003.mp4", Pattern(600 * 1024, 3));
    const Result<DeviceFolder> songs = OpenSongFolder(stick / "songs");
    ASSERT_TRUE(songs.ok()) << songs.message();
    const Result<AddReport> report =
        AddCloudSongs(client, {}, {CloudSong(500002, "One"), CloudSong(500003, "Two")}, {}, *songs, "CP1252", {});
    ASSERT_FALSE(report.ok());
    EXPECT_NE(report.message().find("more is needed. Nothing was copied."), std::string::npos) << report.message();
    EXPECT_TRUE(ListFiles(stick).empty());
}

TEST_F(CloudBatchAdmission, ASongTheBuilderWouldRefuseIsNotDownloaded) {
    Serve("500002.mp4", Pattern(3000, 2));
    Serve("500003.mp4", Pattern(3000, 3));
    std::filesystem::create_directories(local / "stick");
    const Result<DeviceFolder> songs = OpenSongFolder(local / "stick" / "songs");
    ASSERT_TRUE(songs.ok()) << songs.message();
    const Result<AddReport> report = AddCloudSongs(
        client, {}, {CloudSong(500002, std::string(60, '/')), CloudSong(500003, "Fine")}, {}, *songs, "CP1252", {});
    ASSERT_TRUE(report.ok()) << report.message();
    ASSERT_EQ(report->notAdded.size(), 1u);
    EXPECT_EQ(report->notAdded[0].song.number, 500002);
    EXPECT_FALSE(report->catalogueFailure.has_value());
    ASSERT_EQ(report->added.size(), 1u);
    EXPECT_EQ(ListFiles(local / "stick" / "songs"),
              (std::vector<std::string>{"500/500003.mp4", "SgList.dat", "usbsong.db"}));
}

}  // namespace
}  // namespace songloader::test
