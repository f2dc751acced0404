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
#include "core/entry/placement_recovery.h"
#include "core/recovery/interrupted_writes.h"
#include "support/list_file_bytes.h"
#include "support/media_samples.h"
#include "support/song_samples.h"
#include "support/temp_dir.h"
#include "support/tmpfs_mount.h"

namespace songloader {
namespace {

constexpr const char* kCodePage = "CP1252";

ROWELEMENT Song(int number, std::string title, std::string media = {}) {
    return ArtistSong(number, std::move(title), std::move(media));
}

SongList ListedSongs(const std::filesystem::path& songFolder) { return DeviceListSongs(songFolder); }

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

// A device whose list another program wrote with a third song the list builder refuses (60
// words): no catalogue can be written until that song goes.
SongList MakeUnbuildableDevice(const std::filesystem::path& root) {
    const auto songs = SongFolderOf(root);
    std::string refused;
    for (int i = 0; i < 60; ++i) refused += "a ";
    const std::vector<test::ListEntry> entries = {{900001, 0, "Song 900001", "Artist", "", ""},
                                                  {900002, 0, "Song 900002", "Artist", "", ""},
                                                  {900003, 0, refused, "Artist", "", ""}};
    const std::vector<std::uint8_t> bytes = test::MakeListFileBytes(entries);
    test::WriteBytes(songs / kDeviceListName, std::string(bytes.begin(), bytes.end()));
    for (const test::ListEntry& entry : entries) {
        test::WriteBytes(MediaTargetPath(songs, std::to_string(entry.number), "x.mp4"), "video");
    }
    return ListedSongs(songs);
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

// Runs `operation` in a child that dies at its `step`-th file-system step (the hook it is given
// counts them); true when it was killed there (false: the operation ended before that step).
bool RunKilledAt(int step, const std::function<void(const WriteStepHook& killer)>& operation) {
    const pid_t child = ::fork();
    if (child == 0) {
        int steps = 0;
        operation([&] {
            if (++steps == step) ::_exit(9);
        });
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status)) << "step " << step;
    return WIFEXITED(status) && WEXITSTATUS(status) == 9;
}

// Files of a batch beside the device: one over a mebibyte (several progress steps), the others small.
const std::vector<std::pair<const char*, std::size_t>> kBatchFiles = {
    {"a.mp4", 3 * 1024 * 1024 + 5}, {"b.avi", 12}, {"c.mkv", 1024 * 1024 + 1}, {"d.mp3", 7}};

// Numbered from 900010 on, `stride` apart (1000: each song in a song sub-folder of its own).
SongList Batch(const std::filesystem::path& root, std::size_t count, int stride = 1) {
    SongList batch;
    for (std::size_t i = 0; i < count; ++i) {
        const int number = 900010 + static_cast<int>(i) * stride;
        batch.push_back(
            Song(number, "New " + std::to_string(number), (root.parent_path() / kBatchFiles[i].first).string()));
    }
    return batch;
}

// What a killed add leaves behind on a device that cannot catalogue it: the record and the copies.
void LeaveUncataloguedCopies(const SongList& device, const std::filesystem::path& root) {
    const auto songFolder = SongFolderOf(root);
    PlacementJournal journal;
    for (ROWELEMENT song : Batch(root, 2)) {
        const auto target = UserSongPlacement(song, songFolder).target;
        ASSERT_TRUE(CopyMediaFile(song.mediaPath, target).ok());
        song.mediaPath = target.lexically_relative(songFolder).string();
        journal.placements.push_back({song});
    }
    ASSERT_TRUE(WritePlacementJournal(songFolder, journal).ok());
    (void)device;
}

// Killed at every step of each operation, the next writing command leaves every video owned by
// exactly one listed song; the change is there whole or not at all.
TEST(DeviceSongs, AKillAtAnyStepIsFinishedOrUndoneByTheNextCommand) {
    using Operation =
        std::function<void(const SongList& device, const std::filesystem::path& root, const WriteStepHook&)>;
    struct Case {
        const char* name;
        std::function<SongList(const std::filesystem::path& root)> makeDevice;
        Operation operation;
        // The numbers listed after the mend: one of these sets.
        std::vector<std::vector<std::string>> outcomes;
    };
    const auto plain = [](const std::filesystem::path& root) { return MakeDevice(root); };
    const auto add = [](std::size_t count, int stride = 1) -> Operation {
        return [count, stride](const SongList& device, const std::filesystem::path& root, const WriteStepHook& killer) {
            AddHooks hooks;
            hooks.writeStep = killer;
            (void)AddUserSongs(device, Batch(root, count, stride), SongFolderOf(root), kCodePage, hooks);
        };
    };
    const std::vector<Case> cases = {
        {"add",
         plain,
         add(2),
         {{"900001", "900002"}, {"900001", "900002", "900010"}, {"900001", "900002", "900010", "900011"}}},
        {"import",
         plain,
         add(4),
         {{"900001", "900002"},
          {"900001", "900002", "900010"},
          {"900001", "900002", "900010", "900011"},
          {"900001", "900002", "900010", "900011", "900012"},
          {"900001", "900002", "900010", "900011", "900012", "900013"}}},
        // Song sub-folders made by the batch: flushed with the song folder before the catalogue.
        // Two folders are renamed in at once, so any of the files may be in place at a kill.
        {"import into new folders",
         plain,
         add(3, 1000),
         {{"900001", "900002"},
          {"900001", "900002", "900010"},
          {"900001", "900002", "901010"},
          {"900001", "900002", "902010"},
          {"900001", "900002", "900010", "901010"},
          {"900001", "900002", "900010", "902010"},
          {"900001", "900002", "901010", "902010"},
          {"900001", "900002", "900010", "901010", "902010"}}},
        // The catalogue cannot take the batch: it is taken off again, by the batch or by the mend.
        {"rolled-back import", MakeUnbuildableDevice, add(3), {{"900001", "900002", "900003"}}},
        {"rolled-back recovery",
         MakeUnbuildableDevice,
         [](const SongList& device, const std::filesystem::path& root, const WriteStepHook& killer) {
             (void)MendInterruptedWrites(root, kCodePage, killer);
             (void)device;
         },
         {{"900001", "900002", "900003"}}},
        {"delete",
         plain,
         [](const SongList& device, const std::filesystem::path& root, const WriteStepHook& killer) {
             DeleteHooks hooks;
             hooks.writeStep = killer;
             (void)DeleteDeviceSong(device, 0, SongFolderOf(root), kCodePage, hooks);
         },
         {{"900001", "900002"}, {"900002"}}},
        {"revise",
         plain,
         [](const SongList& device, const std::filesystem::path& root, const WriteStepHook& killer) {
             SongList songs = device;
             ROWELEMENT revised = songs[0];
             revised.numberText = "900500";
             revised.number = 900500;
             ReviseHooks hooks;
             hooks.writeStep = killer;
             (void)ReviseDeviceSong(
                 songs, 0, revised, [&](const ROWELEMENT& stored) { songs[0] = stored; }, SongFolderOf(root), kCodePage,
                 hooks);
         },
         {{"900001", "900002"}, {"900500", "900002"}}},
    };
    for (const Case& c : cases) {
        int step = 1;
        for (;; ++step) {
            test::TempDir dir;
            const auto root = dir / "stick";
            const SongList device = c.makeDevice(root);
            for (const auto& [name, bytes] : kBatchFiles) test::WriteBytes(dir / name, std::string(bytes, name[0]));
            if (std::string(c.name) == "rolled-back recovery") LeaveUncataloguedCopies(device, root);
            const bool killed =
                RunKilledAt(step, [&](const WriteStepHook& killer) { c.operation(device, root, killer); });
            const std::string context = std::string(c.name) + " killed at step " + std::to_string(step);
            const Result<MendReport> mended = MendInterruptedWrites(root, kCodePage);
            ASSERT_TRUE(mended.ok()) << context << ": " << mended.message();
            // Only songs the catalogue could not take are named: a record of a killed run is never set aside.
            for (const std::string& problem : mended->problems) {
                EXPECT_NE(problem.find("was not added"), std::string::npos) << context << ": " << problem;
            }
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

// A catalogue that cannot be written with the copies takes them off again: the songs are not
// added, with the reason, the old catalogue stays, no record is left and the next add works.
TEST(DeviceSongs, CopiesTheCatalogueCannotTakeAreTakenOffAgain) {
    test::TempDir dir;
    const auto root = dir / "stick";
    const SongList device = MakeDevice(root);
    const auto songFolder = SongFolderOf(root);
    const std::string oldList = test::ReadBytes(songFolder / kDeviceListName);
    test::WriteBytes(dir / "a.mp4", "new video");
    test::WriteBytes(dir / "b.mp4", "second video");
    // Something standing at the database's fixed temporary name that is not removed: the rebuild fails.
    const auto blocker = PairTemporaryNameFor(songFolder / "usbsong.db");
    AddHooks hooks;
    hooks.onFileEnd = [&](const ROWELEMENT&, const Result<std::filesystem::path>&) {
        std::filesystem::create_directories(blocker / "inside");
    };
    const SongList batch = {Song(900010, "New", (dir / "a.mp4").string()),
                            Song(900011, "Newer", (dir / "b.mp4").string())};
    const Result<AddReport> report = AddUserSongs(device, batch, songFolder, kCodePage, hooks);
    ASSERT_TRUE(report.ok()) << report.message();
    ASSERT_TRUE(report->catalogueFailure.has_value());
    EXPECT_TRUE(report->added.empty());
    EXPECT_TRUE(report->uncatalogued.empty());
    ASSERT_EQ(report->notAdded.size(), 2u);
    EXPECT_EQ(report->takenOff, 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(report->notAdded[i].song.mediaPath, batch[i].mediaPath);
        EXPECT_EQ(report->notAdded[i].why.message, kNotCataloguedMessage);
    }
    EXPECT_FALSE(std::filesystem::exists(songFolder / "900" / "900010.mp4"));
    EXPECT_FALSE(std::filesystem::exists(songFolder / "900" / "900011.mp4"));
    EXPECT_EQ(test::ReadBytes(songFolder / kDeviceListName), oldList);
    EXPECT_FALSE(JournalLeftOver(songFolder));

    std::filesystem::remove_all(blocker);
    const Result<AddReport> again = AddUserSongs(device, batch, songFolder, kCodePage);
    ASSERT_TRUE(again.ok()) << again.message();
    EXPECT_EQ(again->added.size(), 2u);
    ExpectEveryVideoOwnedOnce(root, "after the second add");
}

// The catalogue is built while the batch's files are put in place, for every song whose file
// came; when one of them does not arrive (its source went before the writing thread copied it),
// that catalogue is not used: the one written names exactly the songs that arrived.
TEST(DeviceSongs, ASongThatDoesNotArriveIsLeftOutOfTheCatalogueBuiltAhead) {
    test::TempDir dir;
    const auto root = dir / "stick";
    const auto songFolder = SongFolderOf(root);
    const SongList device = MakeDevice(root);
    SongList batch;
    for (int i = 0; i < 3; ++i) {
        const auto source = dir / ("s" + std::to_string(i) + ".mp4");
        test::WriteBytes(source, "video " + std::to_string(i));
        batch.push_back(Song(900010 + i * 1000, "New " + std::to_string(i), source.string()));
    }
    AddHooks hooks;
    // The last source goes once the batch has checked it, before its copy is made.
    hooks.onFileStart = [&](const ROWELEMENT& song, const BatchProgress&) {
        if (song.number == 900010) std::filesystem::remove(batch[2].mediaPath);
    };
    const Result<AddReport> report = AddUserSongs(device, batch, songFolder, kCodePage, hooks);
    ASSERT_TRUE(report.ok()) << report.message();
    ASSERT_EQ(report->added.size(), 2u);
    ASSERT_EQ(report->notAdded.size(), 1u);
    EXPECT_EQ(report->notAdded[0].song.number, 902010);
    EXPECT_NE(report->notAdded[0].why.message.find("s2.mp4"), std::string::npos) << report->notAdded[0].why.message;
    std::vector<std::int32_t> listed;
    for (const ROWELEMENT& song : ListedSongs(songFolder)) listed.push_back(song.number);
    EXPECT_EQ(listed, (std::vector<std::int32_t>{900001, 900002, 900010, 901010}));
    EXPECT_FALSE(JournalLeftOver(songFolder));
    ExpectEveryVideoOwnedOnce(root, "after a song that did not arrive");
}

// A record of copies that the catalogue cannot take (a listed song the builder refuses) is undone
// by the next command: the copies go, the songs are named, and a delete of the refused song works.
TEST(DeviceSongs, ARecordTheCatalogueCannotTakeIsUndoneAndDeleteWorks) {
    test::TempDir dir;
    const auto root = dir / "stick";
    const auto songFolder = SongFolderOf(root);
    const SongList device = MakeUnbuildableDevice(root);
    const std::string oldList = test::ReadBytes(songFolder / kDeviceListName);
    for (const auto& [name, bytes] : kBatchFiles) test::WriteBytes(dir / name, std::string(bytes, name[0]));
    LeaveUncataloguedCopies(device, root);

    const Result<MendReport> mended = MendInterruptedWrites(root, kCodePage);
    ASSERT_TRUE(mended.ok()) << mended.message();
    ASSERT_EQ(mended->notAdded.size(), 2u);
    EXPECT_EQ(mended->notAdded[0].numberText, "900010");
    ASSERT_EQ(mended->problems.size(), 2u);
    EXPECT_NE(mended->problems[0].find("Song 900010 (900/900010.mp4) was not added"), std::string::npos)
        << mended->problems[0];
    EXPECT_FALSE(std::filesystem::exists(songFolder / "900" / "900010.mp4"));
    EXPECT_FALSE(JournalLeftOver(songFolder));
    EXPECT_EQ(test::ReadBytes(songFolder / kDeviceListName), oldList);

    const Result<CatalogueWritten> deleted = DeleteDeviceSong(device, 2, songFolder, kCodePage);
    ASSERT_TRUE(deleted.ok()) << deleted.message();
    EXPECT_EQ(ListedSongs(songFolder).size(), 2u);
    ExpectEveryVideoOwnedOnce(root, "after the delete");
}

// A delete whose catalogue cannot be written leaves no record that would stop later writes: the
// files are gone, the catalogue still lists the song, and the message says so.
TEST(DeviceSongs, ADeleteWhoseCatalogueFailsLeavesNoRecord) {
    test::TempDir dir;
    const auto root = dir / "stick";
    const auto songFolder = SongFolderOf(root);
    const SongList device = MakeUnbuildableDevice(root);
    const Result<CatalogueWritten> deleted = DeleteDeviceSong(device, 0, songFolder, kCodePage);
    ASSERT_FALSE(deleted.ok());
    EXPECT_NE(deleted.message().find("the catalogue still lists it"), std::string::npos) << deleted.message();
    EXPECT_FALSE(std::filesystem::exists(songFolder / "900" / "900001.mp4"));
    EXPECT_FALSE(JournalLeftOver(songFolder));
    EXPECT_EQ(ListedSongs(songFolder).size(), 3u);
    ASSERT_TRUE(MendInterruptedWrites(root, kCodePage).ok());
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
    const Result<AddReport> report =
        AddUserSongs(device,
                     {Song(900010, "Taken", (dir / "a.mp4").string()), Song(900011, "Free", (dir / "b.mp4").string()),
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
