// SPDX-License-Identifier: GPL-3.0-or-later
// A batch writes every file through the song folder its command opened and checked: when the stick
// goes mid-batch (pulled, or its songs folder swapped), nothing lands on what the old path leads
// to now, and no folder is made there.
#include <gtest/gtest.h>

#include <functional>

#include "core/device/device_identity.h"
#include "core/device/device_layout.h"
#include "core/device/device_write_session.h"
#include "core/entry/catalogue_rebuild.h"
#include "core/entry/device_songs.h"
#include "core/entry/placement_journal.h"
#include "core/entry/placement_recovery.h"
#include "support/temp_dir.h"
#include "support/tmpfs_mount.h"

namespace songloader {
namespace {

constexpr const char* kCodePage = "CP1252";

ROWELEMENT Song(int number, const std::filesystem::path& media) {
    ROWELEMENT song;
    song.number = number;
    song.numberText = std::to_string(number);
    song.title = "Song " + song.numberText;
    song.artist = "Artist";
    song.mediaPath = media.string();
    return song;
}

SongList Batch(const test::TempDir& dir) {
    SongList batch;
    for (int i = 0; i < 3; ++i) {
        const auto file = dir / ("clip" + std::to_string(i) + ".mp4");
        test::WriteBytes(file, "video " + std::to_string(i));
        batch.push_back(Song(900010 + i, file));
    }
    return batch;
}

// Runs a batch onto the device at `root` as a writing command does (a write session, its open
// song folder, its identity check) and calls `away` once the first file was copied.
Result<AddReport> AddWhileTheDeviceGoes(const std::filesystem::path& root, const SongList& batch,
                                        const std::function<void()>& away) {
    const auto identity = ReadDeviceIdentity(root);
    EXPECT_TRUE(identity.has_value());
    DeviceWriteSession session(*identity, root);
    EXPECT_TRUE(session.ready()) << session.refusal();
    const Result<DeviceFolder> folder = ReopenFolder(session.lockedFolder(), session.songFolder());
    EXPECT_TRUE(folder.ok()) << folder.message();
    AddHooks hooks;
    hooks.deviceStillThere = [&] { return session.StillHolds(); };
    bool gone = false;
    hooks.onFileEnd = [&](const ROWELEMENT&, const Result<std::filesystem::path>&) {
        if (!gone) away();
        gone = true;
    };
    return AddUserSongs({}, batch, *folder, kCodePage, hooks);
}

TEST(SongFolderWrites, NothingLandsOnTheOldPathOnceTheDeviceIsGone) {
    struct Case {
        const char* name;
        bool replaced;  // an empty songs folder stands where the old one was
    };
    for (const Case& c : {Case{"songs folder renamed away", false}, Case{"songs folder replaced", true}}) {
        test::TempDir dir;
        const auto root = dir / "stick";
        std::filesystem::create_directories(SongFolderOf(root));
        const Result<AddReport> report = AddWhileTheDeviceGoes(root, Batch(dir), [&] {
            std::filesystem::rename(SongFolderOf(root), root / "songs.gone");
            if (c.replaced) std::filesystem::create_directory(SongFolderOf(root));
        });
        ASSERT_TRUE(report.ok()) << c.name << ": " << report.message();
        EXPECT_TRUE(report->deviceLost) << c.name;
        // The copies wait under temporary names until the batch puts them in place: on the device
        // that went none is, its temporary is gone again, the record stays; the old path holds nothing new.
        EXPECT_TRUE(report->uncatalogued.empty()) << c.name;
        EXPECT_EQ(test::ListFiles(root / "songs.gone"), (std::vector<std::string>{kPlacementJournalName})) << c.name;
        EXPECT_EQ(std::filesystem::exists(SongFolderOf(root)), c.replaced) << c.name;
        if (c.replaced) {
            EXPECT_TRUE(std::filesystem::is_empty(SongFolderOf(root))) << c.name;
        }

        // Put back, the stick works: the next writing command finds nothing arrived and drops the record.
        if (c.replaced) std::filesystem::remove(SongFolderOf(root));
        std::filesystem::rename(root / "songs.gone", SongFolderOf(root));
        const auto identity = ReadDeviceIdentity(root);
        DeviceWriteSession session(*identity, root);
        ASSERT_TRUE(session.ready()) << c.name;
        const Result<JournalRecovery> recovered = FinishInterruptedPlacements(SongFolderOf(root), kCodePage);
        ASSERT_TRUE(recovered.ok()) << c.name << ": " << recovered.message();
        EXPECT_TRUE(recovered->catalogued.empty()) << c.name;
        EXPECT_FALSE(JournalLeftOver(SongFolderOf(root))) << c.name;
    }
}

TEST(SongFolderWrites, AStickUnmountedMidBatchLeavesNothingOnTheComputer) {
    test::TempDir dir;
    const auto root = dir / "stick";
    test::TmpfsMount volume(root, 1024 * 1024);
    if (!volume.mounted()) GTEST_SKIP() << volume.why_not();
    std::filesystem::create_directories(SongFolderOf(root));
    const Result<AddReport> report = AddWhileTheDeviceGoes(root, Batch(dir), [&] { volume.Unmount(); });
    ASSERT_TRUE(report.ok()) << report.message();
    EXPECT_TRUE(report->deviceLost);
    // The bare mount point on the computer's own disk stays empty.
    EXPECT_TRUE(std::filesystem::is_empty(root)) << test::ListFiles(root).size() << " files under the mount point";
}

}  // namespace
}  // namespace songloader
