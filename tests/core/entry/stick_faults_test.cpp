// SPDX-License-Identifier: GPL-3.0-or-later
// Faults a stick meets: killed runs, links out of the song folder, a full or read-only volume.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/catalogue/catalogue_database.h"
#include "core/catalogue/list_file_reader.h"
#include "core/common/temporary_name.h"
#include "core/device/device_identity.h"
#include "core/device/device_layout.h"
#include "core/device/device_write_session.h"
#include "core/entry/catalogue_check.h"
#include "core/entry/catalogue_rebuild.h"
#include "core/recovery/interrupted_writes.h"
#include "core/entry/media_files.h"
#include "support/media_samples.h"
#include "support/song_samples.h"
#include "support/temp_dir.h"
#include "support/tmpfs_mount.h"

namespace songloader {
namespace {

ROWELEMENT Song(int number, std::string title) { return ArtistSong(number, std::move(title)); }

SongList Songs(int count, const std::string& title) {
    SongList songs;
    for (int i = 0; i < count; ++i) songs.push_back(Song(900001 + i, title + std::to_string(i)));
    return songs;
}

// Runs a rebuild in a child process that dies where `kill` says, as a killed command would.
enum class KillAt { BetweenRenames, BeforeCommit };
void RebuildKilled(const SongList& songs, const std::filesystem::path& songFolder, KillAt at) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RebuildHooks hooks;
        if (at == KillAt::BetweenRenames) hooks.betweenRenames = [] { ::_exit(9); };
        if (at == KillAt::BeforeCommit) {
            hooks.onSong = [&](std::size_t done, std::size_t total) {
                if (done == total) ::_exit(9);
            };
        }
        (void)RebuildDeviceCatalogue(songs, songFolder, RebuildMode::Add, hooks);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 9);
}

TEST(InterruptedReplacement, TheNextCommandFinishesOrDiscardsIt) {
    struct Case {
        KillAt at;
        int expectedSongs;  // what list and database hold once mended
    };
    for (const Case& c : {Case{KillAt::BetweenRenames, 3}, Case{KillAt::BeforeCommit, 2}}) {
        test::TempDir dir;
        const auto songs = dir / "songs";
        std::filesystem::create_directories(songs);
        ASSERT_TRUE(RebuildDeviceCatalogue(Songs(2, "old "), songs, RebuildMode::Add).ok());
        RebuildKilled(Songs(3, "new "), songs, c.at);

        auto listSongs = [&] { return ReadListFile(songs / kDeviceListName, ListKind::Device).value(); };
        if (c.at == KillAt::BetweenRenames) {
            // The new list beside the old database: verify sees it.
            EXPECT_EQ(listSongs().size(), 3u);
            EXPECT_FALSE(CompareListAndDatabase(listSongs(), songs / kDeviceDatabaseName).empty());
        }
        EXPECT_TRUE(FinishInterruptedReplacements(dir.path()).ok());
        EXPECT_EQ(listSongs().size(), static_cast<std::size_t>(c.expectedSongs));
        EXPECT_TRUE(CompareListAndDatabase(listSongs(), songs / kDeviceDatabaseName).empty());
        EXPECT_EQ(test::ListFiles(songs), (std::vector<std::string>{"SgList.dat", "usbsong.db"}));
    }
}

TEST(CatalogueCheck, ADatabaseThatDisagreesWithTheListIsReportedAndRebuildMendsIt) {
    test::TempDir dir;
    const auto songs = dir / "songs";
    std::filesystem::create_directories(songs);
    ASSERT_TRUE(RebuildDeviceCatalogue(Songs(3, "t"), songs, RebuildMode::Add).ok());
    SongList changed = Songs(3, "t");
    changed[1].title = "other";
    changed.pop_back();
    changed.push_back(Song(900100, "x"));
    const auto lines = CompareListAndDatabase(changed, songs / kDeviceDatabaseName);
    EXPECT_EQ(lines, (std::vector<std::string>{"900002\ttitle or artist differ between the list and the database",
                                               "900100\tin the list, not in the database",
                                               "900003\tin the database, not in the list"}));
    ASSERT_TRUE(RebuildDeviceCatalogue(changed, songs, RebuildMode::Add).ok());
    EXPECT_TRUE(CompareListAndDatabase(changed, songs / kDeviceDatabaseName).empty());
}

TEST(StaleTemporaries, AreListedAndRemovedByTheNextWriterAndNothingElseIs) {
    test::TempDir dir;
    const auto songs = dir / "songs";
    const std::vector<std::filesystem::path> stale = {
        TemporaryNameFor(songs / "usbsong.db"), TemporaryNameFor(songs / "900" / "900001.mp4"),
        PairTemporaryNameFor(songs / "SgList.dat"), TemporaryNameFor(dir / "midi" / "pack.mid"),
        TemporaryNameFor(songs / "Msong.db")};
    for (const auto& file : stale) {
        std::filesystem::create_directories(file.parent_path());
        test::WriteBytes(file, "left by a killed run");
    }
    std::filesystem::create_directories(TemporaryNameFor(songs / "staging"));
    test::WriteBytes(songs / "900" / "900001.mp4", "kept");
    test::WriteBytes(songs / "900" / "notes.tmp-1-2", "kept: not our pattern");

    EXPECT_EQ(DeviceTemporaries(dir.path()).size(), stale.size() + 1);
    const auto mended = MendInterruptedWrites(dir.path(), "CP1252");
    ASSERT_TRUE(mended.ok());
    EXPECT_TRUE(mended->problems.empty());
    EXPECT_TRUE(DeviceTemporaries(dir.path()).empty());
    EXPECT_EQ(test::ListFiles(dir.path()),
              (std::vector<std::string>{"songs/900/900001.mp4", "songs/900/notes.tmp-1-2"}));
}

TEST(DeviceLinks, NoWriteOrDeleteFollowsALinkOutOfTheSongFolder) {
    test::TempDir dir;
    const auto songs = dir / "songs";
    const auto outside = dir / "outside";
    std::filesystem::create_directories(songs / "901");
    std::filesystem::create_directories(outside);
    test::WriteBytes(outside / "900001.mp4", "not the device's");
    test::WriteBytes(songs / "901" / "901001.mp4", "a device song");
    test::WriteBytes(dir / "in.mp4", "video");
    std::filesystem::create_directory_symlink(outside, songs / "900");

    // add: the copy target's folder is a link
    EXPECT_FALSE(CopyMediaFile(dir / "in.mp4", MediaTargetPath(songs, "900002", "in.mp4")).ok());
    // delete: the song's folder is a link
    EXPECT_EQ(DeleteDeviceSongFiles(songs, "900001"), 0u);
    // revise: to and from a linked folder
    EXPECT_FALSE(MoveDeviceSongMedia(songs, "901001", "900003").ok());
    EXPECT_FALSE(MoveDeviceSongMedia(songs, "900001", "901002").ok());

    EXPECT_EQ(test::ListFiles(outside), std::vector<std::string>{"900001.mp4"});
    EXPECT_EQ(test::ReadBytes(songs / "901" / "901001.mp4"), "a device song");
    EXPECT_FALSE(std::filesystem::exists(songs / "901" / "901002.mp4"));
}

TEST(FailedAdd, LeavesNoEmptySongFolder) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "songs");
    EXPECT_FALSE(CopyMediaFile(dir / "missing.mp4", MediaTargetPath(dir / "songs", "900001", "missing.mp4")).ok());
    EXPECT_TRUE(test::ListFiles(dir.path()).empty());
    EXPECT_TRUE(std::filesystem::is_empty(dir / "songs"));
}

// A full stick and a read-only one answer with the system's reason.
TEST(VolumeFaults, AFullOrReadOnlyStickGivesTheSystemsReason) {
    test::TempDir dir;
    test::TmpfsMount volume(dir / "stick", 256 * 1024);
    if (!volume.mounted()) GTEST_SKIP() << volume.why_not();
    const auto songs = dir / "stick" / "songs";
    std::filesystem::create_directories(songs);
    test::WriteMediaFile(dir / "big.mp4", 1024 * 1024);

    const Result<std::filesystem::path> full =
        CopyMediaFile(dir / "big.mp4", MediaTargetPath(songs, "900001", "big.mp4"));
    ASSERT_FALSE(full.ok());
    EXPECT_NE(full.message().find("No space left on device"), std::string::npos) << full.message();
    EXPECT_TRUE(std::filesystem::is_empty(songs));
    const Result<CatalogueWritten> fullRebuild =
        RebuildDeviceCatalogue(Songs(20000, std::string(200, 't')), songs, RebuildMode::Add);
    ASSERT_FALSE(fullRebuild.ok());
    const std::string why = fullRebuild.failure().AsNotices().back().text;
    EXPECT_EQ(why.find("not an error"), std::string::npos) << why;
    EXPECT_TRUE(why.find("No space left on device") != std::string::npos ||
                why.find("disk is full") != std::string::npos)
        << why;

    ASSERT_EQ(::mount(nullptr, (dir / "stick").c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    const Result<CatalogueWritten> readOnly = RebuildDeviceCatalogue(Songs(1, "t"), songs, RebuildMode::Add);
    ASSERT_FALSE(readOnly.ok());
    EXPECT_NE(readOnly.failure().AsNotices().back().text.find("Read-only file system"), std::string::npos)
        << readOnly.failure().AsNotices().back().text;
    // The guard names the reason the song folder cannot be made.
    const auto root = dir / "stick";
    volume.Unmount();
    test::TmpfsMount empty(root, 64 * 1024);
    ASSERT_TRUE(empty.mounted());
    ASSERT_EQ(::mount(nullptr, root.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    const DeviceWriteSession session(*ReadDeviceIdentity(root), root);
    EXPECT_EQ(session.status(), DeviceWriteStatus::Unwritable);
    EXPECT_NE(session.refusal().find("Read-only file system"), std::string::npos) << session.refusal();
}

}  // namespace
}  // namespace songloader
