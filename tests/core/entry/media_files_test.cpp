// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/device/device_layout.h"
#include "core/entry/media_files.h"
#include "support/temp_dir.h"

namespace songloader {
namespace {

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 7) & 0xFF);
    return bytes;
}

TEST(MediaNaming, ExtensionComesFromTheLastDotOfTheFileName) {
    const std::filesystem::path songs = "/dev-root/songs";
    EXPECT_EQ(MediaTargetPath(songs, "900123", "/clips/song.final.mp4"), "/dev-root/songs/900/900123.mp4");
    EXPECT_EQ(MediaTargetPath(songs, "900123", "/clips.v2/song"), "/dev-root/songs/900/900123");
    EXPECT_EQ(MediaTargetPath(songs, "7", "a.MKV"), "/dev-root/songs/7/7.MKV");
    EXPECT_EQ(MediaExtension("x/.hidden"), ".hidden");
    EXPECT_EQ(SongFolderOf("/media/stick"), "/media/stick/songs");
    EXPECT_EQ(MidiFolderOf("/media/stick"), "/media/stick/midi");
    EXPECT_EQ(MebibytesRoundedUp(0), 0u);
    EXPECT_EQ(MebibytesRoundedUp(1), 1u);
    EXPECT_EQ(MebibytesRoundedUp(1048576), 1u);
    EXPECT_EQ(MebibytesRoundedUp(1048577), 2u);
}

TEST(CopyMediaFile, CopiesInMebibyteChunksAndCreatesTheFolder) {
    test::TempDir dir;
    const std::string content = Pattern(2 * 1048576 + 12345);
    test::WriteBytes(dir / "in.mp4", content);
    std::vector<std::uint64_t> steps;
    Result<std::filesystem::path> copy = CopyMediaFile(dir / "in.mp4", dir / "songs" / "900" / "900123.mp4",
                                                       [&](std::uint64_t done) { steps.push_back(done); });
    ASSERT_TRUE(copy.ok()) << copy.message();
    EXPECT_EQ(*copy, dir / "songs" / "900" / "900123.mp4");
    EXPECT_EQ(test::ReadBytes(*copy), content);
    EXPECT_EQ(steps, (std::vector<std::uint64_t>{1, 2, 3}));
    EXPECT_EQ(test::ListFiles(dir.path()), (std::vector<std::string>{"in.mp4", "songs/900/900123.mp4"}));
}

TEST(CopyMediaFile, AFailedWriteLeavesTheOldTargetAndNoTemporaryFile) {
    test::TempDir dir;
    test::WriteBytes(dir / "in.mp4", Pattern(3 * 1048576));
    test::WriteBytes(dir / "songs" / "900" / "900123.mp4", "old");
    const Result<std::filesystem::path> copy = [&] {
        test::FileSizeLimit limit(1048576 + 100);
        return CopyMediaFile(dir / "in.mp4", dir / "songs" / "900" / "900123.mp4");
    }();
    ASSERT_FALSE(copy.ok());
    EXPECT_NE(copy.message().find("cannot write"), std::string::npos) << copy.message();
    EXPECT_EQ(test::ReadBytes(dir / "songs" / "900" / "900123.mp4"), "old");
    EXPECT_EQ(test::ListFiles(dir.path()), (std::vector<std::string>{"in.mp4", "songs/900/900123.mp4"}));
}

TEST(CopyMediaFile, MissingSourceAndBlockedFolderAreReported) {
    test::TempDir dir;
    EXPECT_FALSE(CopyMediaFile(dir / "missing.mp4", dir / "out" / "x.mp4").ok());
    test::WriteBytes(dir / "in.mp4", "v");
    test::WriteBytes(dir / "songs", "a file where the song folder should be");
    Result<std::filesystem::path> blocked = CopyMediaFile(dir / "in.mp4", dir / "songs" / "900" / "900000.mp4");
    ASSERT_FALSE(blocked.ok());
    EXPECT_FALSE(blocked.message().empty());
}

TEST(DeviceSongMedia, IsFoundByExactNumberAndItsOwnExtension) {
    test::TempDir dir;
    test::WriteBytes(dir / "900" / "9001234.mp4", "other song");
    test::WriteBytes(dir / "900" / "900123x.mp4", "other");
    EXPECT_FALSE(FindDeviceSongMedia(dir.path(), "900123"));
    test::WriteBytes(dir / "900" / "900123.MP4", "mine");
    EXPECT_EQ(FindDeviceSongMedia(dir.path(), "900123"), dir / "900" / "900123.MP4");
}

TEST(MoveDeviceSongMedia, MovesToTheNewNumbersFolderKeepingTheExtension) {
    test::TempDir dir;
    test::WriteBytes(dir / "900" / "900123.mp4", "clip");
    test::WriteBytes(dir / "900" / "900124.mp4", "neighbour");
    const auto moved = MoveDeviceSongMedia(dir.path(), "900123", "901000");
    ASSERT_TRUE(moved.ok()) << moved.message();
    EXPECT_EQ(*moved, dir / "901" / "901000.mp4");
    // The record of the move stays until the caller's catalogue names the new number.
    EXPECT_TRUE(JournalLeftOver(dir.path()));
    ASSERT_TRUE(RemovePlacementJournal(dir.path()).ok());
    EXPECT_EQ(test::ListFiles(dir.path()), (std::vector<std::string>{"900/900124.mp4", "901/901000.mp4"}));
    EXPECT_EQ(test::ReadBytes(dir / "901" / "901000.mp4"), "clip");
}

TEST(MoveDeviceSongMedia, RefusesAMissingFileOrAnotherSongsFile) {
    test::TempDir dir;
    const auto missing = MoveDeviceSongMedia(dir.path(), "900123", "900200");
    EXPECT_FALSE(missing.ok());
    EXPECT_NE(missing.message().find("900123"), std::string::npos);
    test::WriteBytes(dir / "900" / "900123.mp4", "mine");
    test::WriteBytes(dir / "900" / "900200.mp4", "someone else's");
    EXPECT_FALSE(MoveDeviceSongMedia(dir.path(), "900123", "900200").ok());
    EXPECT_EQ(test::ReadBytes(dir / "900" / "900200.mp4"), "someone else's");
    EXPECT_EQ(test::ReadBytes(dir / "900" / "900123.mp4"), "mine");
}

// A song's lyrics and other files travel with its video; a file of another song at any new
// place stops the move before anything moves.
TEST(MoveDeviceSongMedia, MovesEveryFileOfTheSongOrNone) {
    test::TempDir dir;
    for (const char* name : {"900123.mp4", "900123.lrc", "900123", "9001234.mp4"}) {
        test::WriteBytes(dir / "900" / name, name);
    }
    test::WriteBytes(dir / "901" / "901000.lrc", "another song's words");
    EXPECT_FALSE(MoveDeviceSongMedia(dir.path(), "900123", "901000").ok());
    const std::vector<std::string> before{"900/900123", "900/900123.lrc", "900/900123.mp4", "900/9001234.mp4",
                                          "901/901000.lrc"};
    EXPECT_EQ(test::ListFiles(dir.path()), before);

    std::filesystem::remove(dir / "901" / "901000.lrc");
    const auto moved = MoveDeviceSongMedia(dir.path(), "900123", "901000");
    ASSERT_TRUE(moved.ok()) << moved.message();
    ASSERT_TRUE(RemovePlacementJournal(dir.path()).ok());
    EXPECT_EQ(test::ListFiles(dir.path()),
              (std::vector<std::string>{"900/9001234.mp4", "901/901000", "901/901000.lrc", "901/901000.mp4"}));
    EXPECT_EQ(test::ReadBytes(dir / "901" / "901000.lrc"), "900123.lrc");
    EXPECT_EQ(test::ReadBytes(dir / "901" / "901000.mp4"), "900123.mp4");
}

TEST(DeleteDeviceSongFiles, RemovesEveryFileOfTheNumberAndNothingElse) {
    test::TempDir dir;
    for (const char* name : {"900123.mp4", "900123.srt", "900123", "9001234.mp4", "900124.mp4", "x900123.mp4"}) {
        test::WriteBytes(dir / "900" / name, name);
    }
    EXPECT_EQ(DeleteDeviceSongFiles(dir.path(), "900123"), 3u);
    EXPECT_EQ(test::ListFiles(dir.path()),
              (std::vector<std::string>{"900/9001234.mp4", "900/900124.mp4", "900/x900123.mp4"}));
    EXPECT_EQ(DeleteDeviceSongFiles(dir.path(), "555555"), 0u);
}

}  // namespace
}  // namespace songloader
