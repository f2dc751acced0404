// SPDX-License-Identifier: GPL-3.0-or-later
// Every batch is admitted before its first file: room counted in whole blocks with the record and
// the new catalogue, the list's song limit, the builder's row rules and the device's code page.
// A refused batch writes nothing, and the stick keeps working.
#include <gtest/gtest.h>

#include <sys/statvfs.h>

#include <cstdio>

#include "core/catalogue/catalogue_database.h"
#include "core/catalogue/list_file_reader.h"
#include "core/device/device_layout.h"
#include "core/entry/batch_admission.h"
#include "core/entry/catalogue_check.h"
#include "core/entry/catalogue_rebuild.h"
#include "core/entry/device_songs.h"
#include "core/entry/import_plan.h"
#include "core/entry/placement_journal.h"
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

SongList Listed(const std::filesystem::path& songFolder) { return DeviceListSongs(songFolder); }

// A catalogued device with one song and its video.
SongList MakeDevice(const std::filesystem::path& root) {
    const auto songs = SongFolderOf(root);
    std::filesystem::create_directories(songs / "900");
    test::WriteBytes(songs / "900" / "900001.mp4", "a listed song's video");
    SongList list = {Song(900001, "Listed", (songs / "900" / "900001.mp4").string())};
    EXPECT_TRUE(RebuildDeviceCatalogue(list, songs, RebuildMode::Add, {}, kCodePage).ok());
    return list;
}

std::uint64_t FreeBytes(const std::filesystem::path& folder) {
    struct statvfs space {};
    if (::statvfs(folder.c_str(), &space) != 0) return 0;
    return static_cast<std::uint64_t>(space.f_bavail) * space.f_frsize;
}

// Nothing of a refused batch is on the device, and the next delete works.
void ExpectUntouchedAndWorking(const std::filesystem::path& root, const SongList& device) {
    const auto songs = SongFolderOf(root);
    EXPECT_FALSE(JournalLeftOver(songs));
    EXPECT_EQ(test::ListFiles(songs), (std::vector<std::string>{"900/900001.mp4", "SgList.dat", "usbsong.db"}));
    const Result<CatalogueWritten> deleted = DeleteDeviceSong(device, 0, songs, kCodePage);
    EXPECT_TRUE(deleted.ok()) << deleted.message();
    EXPECT_FALSE(JournalLeftOver(songs));
}

TEST(BatchRoom, CountsWholeBlocksNewFoldersTheRecordAndTheCatalogue) {
    test::TempDir dir;
    const auto songs = dir / "songs";
    std::filesystem::create_directories(songs / "900");
    test::WriteBytes(songs / kDeviceListName, std::string(10000, 'l'));
    test::WriteBytes(songs / kDeviceDatabaseName, std::string(20000, 'd'));
    std::vector<SongToPlace> batch;
    for (int i = 0; i < 7; ++i) batch.push_back(UserSongPlacement(Song(900010 + i, "T", "a.mp4"), songs));
    batch.push_back(UserSongPlacement(Song(901000, "T", "a.mp4"), songs));  // a new sub-folder
    const std::vector<std::uint64_t> bytes(batch.size(), 1);
    const std::uint64_t need = BatchBytesNeeded(batch, bytes, songs, 4096);
    const std::uint64_t files = 8 * 4096, folder = 4096, record = 4096;
    const std::uint64_t list = 12288, database = 24576;  // the old sizes and 8 songs more, in blocks
    EXPECT_EQ(need, files + folder + record + list + database + kRoomMarginBytes);

    // Raw bytes (8) fit in what is free; whole blocks and the catalogue do not: refused whole.
    const DeviceRoom room{need - 1, 4096, std::nullopt};
    const Result<AdmittedBatch> admitted = AdmitBatch({}, batch, bytes, songs, kCodePage, room);
    ASSERT_FALSE(admitted.ok());
    EXPECT_NE(admitted.message().find("1 bytes more is needed. Nothing was copied."), std::string::npos)
        << admitted.message();
    EXPECT_TRUE(AdmitBatch({}, batch, bytes, songs, kCodePage, DeviceRoom{need, 4096, std::nullopt}).ok());
}

// Seven small files that fit by their bytes onto an almost full stick: nothing is copied.
TEST(BatchRoom, AnAlmostFullStickCopiesNothingAndStaysWorking) {
    test::TempDir dir;
    const auto root = dir / "stick";
    test::TmpfsMount volume(root, 1024 * 1024);
    if (!volume.mounted()) GTEST_SKIP() << volume.why_not();
    const SongList device = MakeDevice(root);
    // Fill the stick up to 8 blocks of free room.
    const std::uint64_t block = 4096;
    const std::uint64_t filler = FreeBytes(root) - 8 * block;
    test::WriteBytes(root / "filler", std::string(filler, 'f'));
    ASSERT_LE(FreeBytes(root), 8 * block);
    SongList batch;
    for (int i = 0; i < 7; ++i) {
        const auto file = dir / ("clip" + std::to_string(i) + ".mp4");
        test::WriteBytes(file, std::string(100, 'c'));
        batch.push_back(Song(900010 + i, "Clip " + std::to_string(i), file.string()));
    }
    const Result<AddReport> report = AddUserSongs(device, batch, SongFolderOf(root), kCodePage);
    ASSERT_FALSE(report.ok()) << "added " << report->added.size() << ", uncatalogued " << report->uncatalogued.size();
    EXPECT_NE(report.message().find("more is needed. Nothing was copied."), std::string::npos) << report.message();
    ExpectUntouchedAndWorking(root, device);
}

TEST(SongLimit, ABatchThatWouldPassTheListsLimitIsRefusedBeforeTheFirstCopy) {
    struct Case {
        std::size_t onDevice;
        std::size_t batch;
        const char* says;
    };
    for (const Case& c : {Case{49998, 2, "only 1 more song can be added, not 2"},
                          Case{49999, 1, "no more songs can be added, not 1"}}) {
        test::TempDir dir;
        const auto root = dir / "stick";
        SongList device = MakeDevice(root);
        for (std::size_t i = device.size(); i < c.onDevice; ++i) {
            device.push_back(Song(static_cast<int>(100000 + i), "Song " + std::to_string(i)));
        }
        SongList batch;
        for (std::size_t i = 0; i < c.batch; ++i) {
            const auto file = dir / ("clip" + std::to_string(i) + ".mp4");
            test::WriteBytes(file, "video");
            batch.push_back(Song(static_cast<int>(900010 + i), "New " + std::to_string(i), file.string()));
        }
        const Result<AddReport> report = AddUserSongs(device, batch, SongFolderOf(root), kCodePage);
        ASSERT_FALSE(report.ok()) << c.onDevice;
        EXPECT_NE(report.message().find(c.says), std::string::npos) << report.message();
        EXPECT_FALSE(JournalLeftOver(SongFolderOf(root)));
        EXPECT_EQ(test::ListFiles(SongFolderOf(root)),
                  (std::vector<std::string>{"900/900001.mp4", "SgList.dat", "usbsong.db"}));
    }
}

// A song the list builder or the code page would refuse is refused alone, before the first copy;
// the rest of the batch arrives and is catalogued.
TEST(RowRules, ASongTheBuilderWouldRefuseIsNotCopied) {
    struct Case {
        const char* name;
        std::string title;
    };
    for (const Case& c : {Case{"slashes", std::string(60, '/')}, Case{"outside CP1252", "Bad \x81 byte"}}) {
        test::TempDir dir;
        const auto root = dir / "stick";
        const SongList device = MakeDevice(root);
        test::WriteBytes(dir / "bad.mp4", "video");
        test::WriteBytes(dir / "good.mp4", "video");
        const Result<AddReport> report = AddUserSongs(
            device,
            {Song(900010, c.title, (dir / "bad.mp4").string()), Song(900011, "Good", (dir / "good.mp4").string())},
            SongFolderOf(root), kCodePage);
        ASSERT_TRUE(report.ok()) << c.name << ": " << report.message();
        ASSERT_EQ(report->notAdded.size(), 1u) << c.name;
        EXPECT_EQ(report->notAdded[0].song.number, 900010) << c.name;
        EXPECT_FALSE(report->catalogueFailure.has_value()) << c.name;
        ASSERT_EQ(report->added.size(), 1u) << c.name;
        EXPECT_FALSE(std::filesystem::exists(SongFolderOf(root) / "900" / "900010.mp4")) << c.name;
        EXPECT_FALSE(JournalLeftOver(SongFolderOf(root))) << c.name;
        EXPECT_EQ(Listed(SongFolderOf(root)).size(), 2u) << c.name;
    }
}

// A title longer than its slot is stored cut once, the same in the list and the database, and an
// import of the same file again is a repeat.
TEST(LongTitles, AreStoredTheSameInListAndDatabaseAndRepeatsCompareOnThem) {
    test::TempDir dir;
    const auto root = dir / "stick";
    const SongList device = MakeDevice(root);
    const std::string title = "A title that goes on and on well past the fifty-two bytes a slot holds";
    const auto file = dir / ("Artist - " + title + ".mp4");
    test::WriteMediaFile(file, test::MinimumMediaBytes());
    const Result<AddReport> report =
        AddUserSongs(device, {Song(900010, title, file.string())}, SongFolderOf(root), kCodePage);
    ASSERT_TRUE(report.ok()) << report.message();
    ASSERT_EQ(report->added.size(), 1u);
    EXPECT_EQ(report->added[0].title, "A title that goes on and on well past the fifty-two ");
    const SongList listed = Listed(SongFolderOf(root));
    EXPECT_TRUE(CompareListAndDatabase(listed, SongFolderOf(root) / kDeviceDatabaseName).empty());

    ImportOptions options;
    options.languageText = "EG[English]";
    options.codePage = kCodePage;
    const ImportPlan again = PlanImport({file}, listed, {}, options);
    EXPECT_TRUE(again.songs.empty());
    ASSERT_EQ(again.skipped.size(), 1u);
    EXPECT_TRUE(again.skipped[0].duplicate) << again.skipped[0].message;
}

// However full the stick, a failed catalogue names the system's reason, never SQLite's "not an error".
TEST(FullStick, TheCatalogueFailureNamesTheRealReason) {
    test::TempDir dir;
    const auto root = dir / "stick";
    test::TmpfsMount volume(root, 256 * 1024);
    if (!volume.mounted()) GTEST_SKIP() << volume.why_not();
    const auto songs = SongFolderOf(root);
    std::filesystem::create_directories(songs);
    SongList list;
    for (int i = 0; i < 300; ++i) list.push_back(Song(900000 + i, "Song number " + std::to_string(i)));
    int failures = 0;
    for (std::uint64_t left = 0; left <= 96 * 1024; left += 4096) {
        std::filesystem::remove(root / "filler");
        const std::uint64_t free = FreeBytes(root);
        if (free > left) test::WriteBytes(root / "filler", std::string(free - left, 'f'));
        const Result<CatalogueWritten> rebuilt = RebuildDeviceCatalogue(list, songs, RebuildMode::Add, {}, kCodePage);
        if (rebuilt) continue;
        ++failures;
        EXPECT_EQ(rebuilt.message().find("not an error"), std::string::npos) << left << ": " << rebuilt.message();
        const bool named = rebuilt.message().find("No space left on device") != std::string::npos ||
                           rebuilt.message().find("disk is full") != std::string::npos;
        EXPECT_TRUE(named) << left << ": " << rebuilt.message();
    }
    EXPECT_GT(failures, 0);
    std::filesystem::remove(root / "filler");
    EXPECT_TRUE(RebuildDeviceCatalogue(list, songs, RebuildMode::Add, {}, kCodePage).ok());
}

}  // namespace
}  // namespace songloader
