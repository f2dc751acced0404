// SPDX-License-Identifier: GPL-3.0-or-later
#include "cloud_test_fixture.h"
#include "core/cloud/cloud_song.h"
#include "support/song_samples.h"

namespace songloader::test {
namespace {

using CloudSongTest = CloudTest;

TEST_F(CloudSongTest, GoesToItsNumberFolderAsMp4) {
    const std::string video = Pattern(14600 * 3 + 100);
    Serve("900001.mp4", video);
    std::int32_t steps = -1;
    std::string name;
    const CloudSongFetch fetch =
        FetchCloudSong(client, local.path(), CloudSong(900001, "Let It Be"), [&](const Transfer& transfer) {
            steps = progress.progressSteps.load();
            name = progress.DownloadName();
            return transfer();
        });
    ASSERT_TRUE(fetch.outcome.ok()) << DescribeDownload(fetch.outcome);
    EXPECT_EQ(fetch.mediaFile, local / "900/900001.mp4");
    EXPECT_EQ(fetch.remoteSize, static_cast<std::int64_t>(video.size()));
    EXPECT_EQ(ReadBytes(local / "900/900001.mp4"), video);
    EXPECT_EQ(steps, 30);
    EXPECT_EQ(name, "Let It Be");
    EXPECT_EQ(progress.StepPosition(), 30);
    EXPECT_EQ(progress.downloadActive.load(), 0);

    const std::vector<CloudRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].method, "HEAD");
    EXPECT_EQ(requests[0].path, "/900001.mp4");
    EXPECT_EQ(requests[0].query, "");
    EXPECT_EQ(requests[1].method, "GET");
    EXPECT_EQ(requests[1].path, "/900001.mp4");
    EXPECT_EQ(requests[1].query, "attname=");
}

TEST_F(CloudSongTest, NumberTextComesFromTheNumber) {
    Serve("890005.mp4", Pattern(10));
    ROWELEMENT song = CloudSong(890005, "Clip");
    song.numberText = "stale";
    const CloudSongFetch fetch = FetchCloudSong(client, local.path(), song);
    ASSERT_TRUE(fetch.outcome.ok());
    EXPECT_TRUE(std::filesystem::is_regular_file(local / "890/890005.mp4"));
}

TEST_F(CloudSongTest, MissingVideoLeavesNoFile) {
    const CloudSongFetch fetch = FetchCloudSong(client, local.path(), CloudSong(900002, "Gone"));
    EXPECT_EQ(FailureKind(fetch.outcome), DownloadStatus::ErrorStatus);
    EXPECT_EQ(HttpStatusOf(fetch.outcome), 404);
    EXPECT_TRUE(std::filesystem::is_directory(local / "900"));
    EXPECT_TRUE(ListFiles(local / "900").empty());
}

TEST_F(CloudSongTest, SongFolderThatCannotHoldTheFolder) {
    Serve("900003.mp4", Pattern(10));
    WriteBytes(local / "900", "a file where the folder should be");
    const CloudSongFetch fetch = FetchCloudSong(client, local.path(), CloudSong(900003, "Blocked"));
    EXPECT_EQ(FailureKind(fetch.outcome), DownloadStatus::WriteFailure);
    EXPECT_EQ(ReadBytes(local / "900"), "a file where the folder should be");
}

}  // namespace
}  // namespace songloader::test
