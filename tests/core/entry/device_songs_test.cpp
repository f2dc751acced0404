// SPDX-License-Identifier: GPL-3.0-or-later
// The device operations both front ends call: add (a batch, one rebuild), delete, revise; what a
// killed or failed one leaves is finished by the next writing command.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <map>

#include "core/catalogue/list_file_reader.h"
#include "core/common/temporary_name.h"
#include "core/device/device_layout.h"
#include "core/entry/add_queue.h"
#include "core/entry/catalogue_rebuild.h"
#include "core/entry/device_revise.h"
#include "core/entry/device_songs.h"
#include "core/entry/media_files.h"
#include "core/entry/placement_journal.h"
#include "core/recovery/interrupted_writes.h"
#include "support/media_samples.h"
#include "support/temp_dir.h"
#include "support/tmpfs_mount.h"

namespace songloader {
namespace {

constexpr const char* kCodePage = "CP1252";

ROWELEMENT Song(int number, std::string title, std::string media = {}) {
    ROWELEMENT song;
    song.number = number;
    song.numberText = std::to_string(number);
    song.title = std::move(title);
    song.artist = "Artist";
    song.mediaPath = std::move(media);
    return song;
}

SongList ListedSongs(const std::filesystem::path& songFolder) {
    const auto file = FindListFile(songFolder, kDeviceListName);
    if (!file) return {};
    Result<SongList> read = ReadListFile(*file, ListKind::Device);
    if (!read) {
        ADD_FAILURE() << read.message();
        return {};
    }
    return std::move(read).value();
}

// A device with two songs, each with its video, catalogued.
SongList MakeDevice(const std::filesystem::path& root, std::size_t videoBytes = 64) {
    const auto songs = SongFolderOf(root);
    std::filesystem::create_directories(songs);
    SongList list;
    for (int number : {900001, 900002}) {
        const auto media = MediaTargetPath(songs, std::to_string(number), "x.mp4");
        test::WriteBytes(media, std::string(videoBytes, 'v'));
        list.push_back(Song(number, "Song " + std::to_string(number), media.string()));
    }
    EXPECT_TRUE(RebuildDeviceCatalogue(list, songs, RebuildMode::Add, {}, kCodePage).ok());
    return list;
}

// Every media file of the song folders is owned by exactly one listed song, every listed song has
// its file, and nothing a run leaves behind is there.
void ExpectEveryVideoOwnedOnce(const std::filesystem::path& root, const std::string& context) {
    const auto songFolder = SongFolderOf(root);
    const SongList listed = ListedSongs(songFolder);
    std::map<std::string, int> owners;
    DeviceMediaIndex index(songFolder);
    for (const ROWELEMENT& song : listed) {
        const auto media = index.Media(song.numberText);
        EXPECT_TRUE(media.has_value()) << context << ": song " << song.numberText << " has no media";
        if (media) ++owners[media->filename().string()];
    }
    std::error_code error;
    for (std::filesystem::recursive_directory_iterator it(songFolder, error), end; it != end; it.increment(error)) {
        if (it->is_directory()) continue;
        const std::string name = it->path().filename().string();
        EXPECT_FALSE(IsTemporaryName(name)) << context << ": " << name << " left";
        EXPECT_FALSE(IsJournalName(name)) << context << ": " << name << " left";
        if (it->path().parent_path() == songFolder) continue;  // the catalogue's files
        EXPECT_EQ(owners[name], 1) << context << ": " << name << " is owned by " << owners[name] << " songs";
    }
}

int g_killAt = 0;
int g_steps = 0;
void KillAtStep() {
    if (++g_steps == g_killAt) ::_exit(9);
}

// Runs `operation` in a child that dies at its `step`-th file-system step; true when it was killed
// there (false: the operation ended before that step).
bool RunKilledAt(int step, const std::function<void()>& operation) {
    const pid_t child = ::fork();
    if (child == 0) {
        g_killAt = step;
        g_steps = 0;
        SetWriteStepHook(KillAtStep);
        operation();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status)) << "step " << step;
    return WIFEXITED(status) && WEXITSTATUS(status) == 9;
}

// Killed at every step of each operation, the next writing command leaves every video owned by
// exactly one listed song; the change is there whole or not at all.
TEST(DeviceSongs, AKillAtAnyStepIsFinishedOrUndoneByTheNextCommand) {
    struct Case {
        const char* name;
        std::function<void(const SongList& device, const std::filesystem::path& root)> operation;
        // The numbers listed after the mend: one of these sets.
        std::vector<std::vector<std::string>> outcomes;
    };
    const std::vector<Case> cases = {
        {"add",
         [](const SongList& device, const std::filesystem::path& root) {
             const SongList batch = {Song(900010, "New one", (root.parent_path() / "a.mp4").string()),
                                     Song(900011, "New two", (root.parent_path() / "b.avi").string())};
             (void)AddUserSongs(device, batch, SongFolderOf(root), kCodePage);
         },
         {{"900001", "900002"}, {"900001", "900002", "900010"}, {"900001", "900002", "900010", "900011"}}},
        {"delete",
         [](const SongList& device, const std::filesystem::path& root) {
             (void)DeleteDeviceSong(device, 0, SongFolderOf(root), kCodePage);
         },
         {{"900001", "900002"}, {"900002"}}},
        {"revise",
         [](const SongList& device, const std::filesystem::path& root) {
             SongList songs = device;
             ROWELEMENT revised = songs[0];
             revised.numberText = "900500";
             revised.number = 900500;
             (void)ReviseDeviceSong(songs, 0, revised, [&](const ROWELEMENT& stored) { songs[0] = stored; },
                                    SongFolderOf(root), kCodePage);
         },
         {{"900001", "900002"}, {"900500", "900002"}}},
    };
    for (const Case& c : cases) {
        int step = 1;
        for (;; ++step) {
            test::TempDir dir;
            const auto root = dir / "stick";
            const SongList device = MakeDevice(root);
            test::WriteBytes(dir / "a.mp4", std::string(3 * 1024 * 1024 + 5, 'a'));
            test::WriteBytes(dir / "b.avi", "second video");
            const bool killed = RunKilledAt(step, [&] { c.operation(device, root); });
            const std::string context = std::string(c.name) + " killed at step " + std::to_string(step);
            const Result<MendReport> mended = MendInterruptedWrites(root, kCodePage);
            ASSERT_TRUE(mended.ok()) << context << ": " << mended.message();
            ExpectEveryVideoOwnedOnce(root, context);
            std::vector<std::string> numbers;
            for (const ROWELEMENT& song : ListedSongs(SongFolderOf(root))) numbers.push_back(song.numberText);
            std::sort(numbers.begin(), numbers.end());
            bool known = false;
            for (auto outcome : c.outcomes) {
                std::sort(outcome.begin(), outcome.end());
                known = known || outcome == numbers;
            }
            EXPECT_TRUE(known) << context;
            if (!killed) break;
        }
        EXPECT_GT(step, 3) << c.name << " has too few steps to kill";
    }
}

// A catalogue that cannot be written leaves the copies recorded: the next command catalogues them.
TEST(DeviceSongs, CopiesWhoseCatalogueFailedAreCataloguedByTheNextCommand) {
    test::TempDir dir;
    const auto root = dir / "stick";
    const SongList device = MakeDevice(root);
    const auto songFolder = SongFolderOf(root);
    test::WriteBytes(dir / "a.mp4", "new video");
    // Something standing at the database's fixed temporary name that is not removed: the rebuild fails.
    const auto blocker = PairTemporaryNameFor(songFolder / "usbsong.db");
    AddHooks hooks;
    hooks.onFileEnd = [&](const ROWELEMENT&, const Result<std::filesystem::path>&) {
        std::filesystem::create_directories(blocker / "inside");
    };
    const Result<AddReport> report =
        AddUserSongs(device, {Song(900010, "New", (dir / "a.mp4").string())}, songFolder, kCodePage, hooks);
    ASSERT_TRUE(report.ok()) << report.message();
    ASSERT_TRUE(report->catalogueFailure.has_value());
    EXPECT_TRUE(report->added.empty());
    ASSERT_EQ(report->uncatalogued.size(), 1u);
    EXPECT_EQ(report->uncatalogued[0].mediaPath, (songFolder / "900" / "900010.mp4").string());
    EXPECT_EQ(ListedSongs(songFolder).size(), 2u);
    EXPECT_TRUE(JournalLeftOver(songFolder));

    std::filesystem::remove_all(blocker);
    const Result<MendReport> mended = MendInterruptedWrites(root, kCodePage);
    ASSERT_TRUE(mended.ok()) << mended.message();
    EXPECT_TRUE(mended->catalogueChanged);
    ASSERT_EQ(mended->catalogued.size(), 1u);
    EXPECT_EQ(mended->catalogued[0].title, "New");
    EXPECT_EQ(ListedSongs(songFolder).size(), 3u);
    ExpectEveryVideoOwnedOnce(root, "after the mend");
}

// A file standing at a target is never replaced, and a file no record names is left alone.
TEST(DeviceSongs, AnExistingFileAtTheTargetIsRefusedAndKept) {
    test::TempDir dir;
    const auto root = dir / "stick";
    const SongList device = MakeDevice(root);
    const auto songFolder = SongFolderOf(root);
    test::WriteBytes(songFolder / "900" / "900010.mp4", "the user's own");
    test::WriteBytes(dir / "a.mp4", "new video");
    test::WriteBytes(dir / "b.mp4", "another");
    const Result<AddReport> report = AddUserSongs(
        device, {Song(900010, "Taken", (dir / "a.mp4").string()), Song(900011, "Free", (dir / "b.mp4").string()),
                 Song(900001, "Listed", (dir / "b.mp4").string())},
        songFolder, kCodePage);
    ASSERT_TRUE(report.ok()) << report.message();
    ASSERT_EQ(report->notAdded.size(), 2u);
    EXPECT_NE(report->notAdded[0].why.message.find("already exists"), std::string::npos);
    EXPECT_EQ(report->notAdded[1].why.message, kDuplicateOnDeviceMessage);
    ASSERT_EQ(report->added.size(), 1u);
    EXPECT_EQ(test::ReadBytes(songFolder / "900" / "900010.mp4"), "the user's own");
    ASSERT_TRUE(MendInterruptedWrites(root, kCodePage).ok());
    EXPECT_EQ(test::ReadBytes(songFolder / "900" / "900010.mp4"), "the user's own");
    EXPECT_EQ(ListedSongs(songFolder).size(), 3u);
}

// The room of the whole batch is checked before the first copy; the refusal says how much is missing.
TEST(DeviceSongs, ABatchThatDoesNotFitCopiesNothing) {
    test::TempDir dir;
    test::TmpfsMount volume(dir / "stick", 1024 * 1024);
    if (!volume.mounted()) GTEST_SKIP() << volume.why_not();
    const auto root = dir / "stick";
    const SongList device = MakeDevice(root, 16);
    for (const char* name : {"a.mp4", "b.mp4"}) test::WriteMediaFile(dir / name, 600 * 1024);
    const Result<AddReport> report = AddUserSongs(
        device, {Song(900010, "One", (dir / "a.mp4").string()), Song(900011, "Two", (dir / "b.mp4").string())},
        SongFolderOf(root), kCodePage);
    ASSERT_FALSE(report.ok());
    EXPECT_NE(report.message().find("KiB more is needed"), std::string::npos) << report.message();
    EXPECT_FALSE(std::filesystem::exists(SongFolderOf(root) / "900" / "900010.mp4"));
    EXPECT_FALSE(JournalLeftOver(SongFolderOf(root)));
}

// A full device can be emptied: the delete frees the media before the catalogue is written.
TEST(DeviceSongs, DeleteWorksOnAFullDevice) {
    test::TempDir dir;
    test::TmpfsMount volume(dir / "stick", 512 * 1024);
    if (!volume.mounted()) GTEST_SKIP() << volume.why_not();
    const auto root = dir / "stick";
    const auto songFolder = SongFolderOf(root);
    const SongList device = MakeDevice(root, 16);
    // Fill the rest of the stick with the first song's video.
    {
        std::FILE* file = std::fopen(device[0].mediaPath.c_str(), "ab");
        ASSERT_NE(file, nullptr);
        const std::string block(4096, 'f');
        while (std::fwrite(block.data(), 1, block.size(), file) == block.size() && std::fflush(file) == 0) {
        }
        std::fclose(file);
    }
    const Result<CatalogueWritten> deleted = DeleteDeviceSong(device, 0, songFolder, kCodePage);
    ASSERT_TRUE(deleted.ok()) << deleted.message();
    EXPECT_EQ(ListedSongs(songFolder).size(), 1u);
    ExpectEveryVideoOwnedOnce(root, "after the delete");
}

}  // namespace
}  // namespace songloader
