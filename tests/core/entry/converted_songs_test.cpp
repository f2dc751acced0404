// SPDX-License-Identifier: GPL-3.0-or-later
// The add batch that converts before it copies: a stop ends the converter and leaves nothing.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "core/convert/converter_run.h"
#include "core/device/device_layout.h"
#include "core/entry/converted_songs.h"
#include "core/entry/media_files.h"
#include "support/media_samples.h"
#include "support/temp_dir.h"
#include "support/tmpfs_mount.h"

namespace songloader {
namespace {

namespace fs = std::filesystem;

ROWELEMENT Song(int number, const fs::path& media) {
    ROWELEMENT song;
    song.number = number;
    song.numberText = std::to_string(number);
    song.title = "Title " + song.numberText;
    song.artist = "Artist";
    song.mediaPath = media.string();
    return song;
}

std::size_t FilesBelow(const fs::path& folder) {
    std::size_t count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) count += entry.is_regular_file() ? 1 : 0;
    return count;
}

// A converter that writes part of its output, says how far it is, and then takes its time.
fs::path SlowConverter(const fs::path& folder) {
    const fs::path script = folder / "slow-ffmpeg";
    test::WriteBytes(script,
                     "#!/bin/sh\nfor last; do :; done\necho partial > \"${last#file:}\"\necho out_time_us=100000\n"
                     "exec sleep 60\n");
    ::chmod(script.c_str(), 0755);
    return script;
}

TEST(ConvertedSongsTest, AStopEndsTheConverterAndLeavesNothing) {
    test::TempDir dir;
    const fs::path songFolder = SongFolderOf(dir / "stick");
    fs::create_directories(songFolder);
    fs::create_directories(dir / "work");
    fs::copy_file(test::MediaFixture("hevc.mkv"), dir / "a.mkv");
    fs::copy_file(test::MediaFixture("av1.mp4"), dir / "b.mp4");
    const SongList songs{Song(900000, dir / "a.mkv"), Song(900001, dir / "b.mp4")};
    const ConversionPlan plan = PlanConversions(songs, BuiltInPlayerProfile(), false);
    ASSERT_EQ(plan.needConversion.size(), 2u);
    const ConverterSetup setup{SlowConverter(dir.path()), BuiltInPlayerProfile(), dir / "work"};
    const Result<DeviceFolder> folder = OpenSongFolder(songFolder);
    ASSERT_TRUE(folder.ok());

    bool stop = false;
    int progressCalls = 0;
    ConversionHooks conversionHooks;
    conversionHooks.onProgress = [&](const ROWELEMENT&, const ConversionProgress& progress) {
        ++progressCalls;
        EXPECT_EQ(progress.fileCount, 2u);
        // Stopped once the converter has begun writing.
        if (progress.fileSecondsDone > 0) stop = true;
    };
    conversionHooks.stopNow = [&] { return stop; };
    AddHooks hooks;
    hooks.stopAfterCurrent = [&] { return stop; };
    const Result<AddReport> report =
        AddConvertedUserSongs({}, songs, plan, setup, *folder, "CP1252", hooks, conversionHooks);
    ASSERT_TRUE(report.ok()) << report.message();
    EXPECT_GT(progressCalls, 0);
    EXPECT_TRUE(report->added.empty());
    ASSERT_EQ(report->notAdded.size(), 2u);
    EXPECT_EQ(report->notAdded[0].why.message, kConversionStoppedMessage);
    // Nothing on the stick (not even a record), nothing on the computer.
    EXPECT_EQ(FilesBelow(songFolder), 0u);
    EXPECT_EQ(FilesBelow(dir / "work"), 0u);
}

// The next song converts while the one before is copied: its converter has started by the time
// the first song's copy has ended.
TEST(ConvertedSongsTest, TheNextSongConvertsWhileTheOneBeforeIsCopied) {
    test::TempDir dir;
    const fs::path songFolder = SongFolderOf(dir / "stick");
    fs::create_directories(songFolder);
    fs::create_directories(dir / "work");
    fs::create_directories(dir / "started");
    fs::copy_file(test::MediaFixture("hevc.mkv"), dir / "a.mkv");
    fs::copy_file(test::MediaFixture("av1.mp4"), dir / "b.mp4");
    const fs::path script = dir / "noting-ffmpeg";
    // Notes each converter's start under the name of the file it makes (its number in the batch).
    test::WriteBytes(script, "#!/bin/sh\nfor last; do :; done\nname=${last##*/}\ntouch \"" +
                                 (dir / "started").string() + "/${name%.*}\"\nexec ffmpeg \"$@\"\n");
    ::chmod(script.c_str(), 0755);
    const SongList songs{Song(900000, dir / "a.mkv"), Song(900001, dir / "b.mp4")};
    const ConversionPlan plan = PlanConversions(songs, BuiltInPlayerProfile(), false);
    const ConverterSetup setup{script, BuiltInPlayerProfile(), dir / "work"};
    const Result<DeviceFolder> folder = OpenSongFolder(songFolder);
    ASSERT_TRUE(folder.ok());

    std::vector<bool> secondStartedAfterCopy;
    AddHooks hooks;
    hooks.onFileEnd = [&](const ROWELEMENT& song, const Result<fs::path>&) {
        if (song.number != 900000) return;
        bool started = false;
        for (int i = 0; i < 100 && !started; ++i) {
            started = fs::exists(dir / "started" / "1");
            if (!started) ::usleep(50000);
        }
        secondStartedAfterCopy.push_back(started);
    };
    const Result<AddReport> report =
        AddConvertedUserSongs({}, songs, plan, setup, *folder, "CP1252", hooks, ConversionHooks{});
    ASSERT_TRUE(report.ok()) << report.message();
    EXPECT_EQ(report->added.size(), 2u);
    EXPECT_EQ(secondStartedAfterCopy, std::vector<bool>{true});
    EXPECT_EQ(FilesBelow(dir / "work"), 0u);
}

// The room is counted with an estimate first; the real converted file is checked before its copy.
TEST(ConvertedSongsTest, AConvertedFileLargerThanTheRoomLeftIsNotCopied) {
    test::TempDir dir;
    const fs::path stick = dir / "stick";
    test::TmpfsMount mount(stick, 1 << 20);
    if (!mount.mounted()) GTEST_SKIP() << mount.why_not();
    const fs::path songFolder = SongFolderOf(stick);
    fs::create_directories(songFolder);
    fs::create_directories(dir / "work");
    fs::copy_file(test::MediaFixture("hevc.mkv"), dir / "a.mkv");
    // A converter whose output is far larger than a third of a second of video could be.
    const fs::path script = dir / "swelling-ffmpeg";
    test::WriteBytes(script, "#!/bin/sh\nfor last; do :; done\nhead -c 2097152 /dev/zero > \"${last#file:}\"\n");
    ::chmod(script.c_str(), 0755);
    const SongList songs{Song(900000, dir / "a.mkv")};
    const ConversionPlan plan = PlanConversions(songs, BuiltInPlayerProfile(), false);
    const ConverterSetup setup{script, BuiltInPlayerProfile(), dir / "work"};
    const Result<DeviceFolder> folder = OpenSongFolder(songFolder);
    ASSERT_TRUE(folder.ok());
    const Result<AddReport> report = AddConvertedUserSongs({}, songs, plan, setup, *folder, "CP1252", {}, {});
    ASSERT_TRUE(report.ok()) << report.message();
    EXPECT_TRUE(report->added.empty());
    ASSERT_EQ(report->notAdded.size(), 1u);
    EXPECT_EQ(report->notAdded[0].why.message.rfind("the converted file (2.0 MiB) does not fit on the USB drive (", 0),
              0u)
        << report->notAdded[0].why.message;
    EXPECT_EQ(FilesBelow(songFolder), 0u);
    EXPECT_EQ(FilesBelow(dir / "work"), 0u);
}

}  // namespace
}  // namespace songloader
