// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/device_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include "core/common/pair_replacement.h"
#include "core/common/safe_file.h"
#include "core/common/temporary_name.h"
#include "support/temp_dir.h"

namespace songloader {
namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(OpenFolderBelow, FollowsNoLinkBelowTheRoot) {
    struct Case {
        const char* name;
        const char* linked;  // the folder made a link to `outside`
        const char* open;    // what is opened below the root
    };
    const Case cases[] = {
        {"the song folder", "songs", "songs/500"},
        {"a song's folder", "songs/500", "songs/500"},
        {"the midi folder", "midi", "midi"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const auto root = dir / "STICK";
        std::filesystem::create_directories(root / "songs");
        std::filesystem::create_directories(dir / "outside");
        test::WriteBytes(dir / "outside" / "500002.mp4", "the user's own file");
        std::filesystem::remove(root / c.linked);
        std::filesystem::create_directory_symlink(dir / "outside", root / c.linked);

        const Result<DeviceFolder> folder = OpenFolderBelow(root, c.open, true);
        ASSERT_FALSE(folder);
        EXPECT_TRUE(Has(folder.message(), "is a symbolic link")) << folder.message();
        EXPECT_EQ(test::ListFiles(dir / "outside"), std::vector<std::string>{"500002.mp4"});
    }
}

TEST(OpenFolderBelow, MakesMissingFoldersAndRefusesTheWayUp) {
    test::TempDir dir;
    const Result<DeviceFolder> made = OpenFolderBelow(dir.path(), "songs/900", true);
    ASSERT_TRUE(made) << made.message();
    EXPECT_TRUE(made->created());
    EXPECT_TRUE(std::filesystem::is_directory(dir / "songs" / "900"));
    EXPECT_FALSE(OpenFolderBelow(dir.path(), "songs/../..", true));
    EXPECT_FALSE(OpenFolderBelow(dir.path(), "missing", false));
    test::WriteBytes(dir / "file", "x");
    const Result<DeviceFolder> file = OpenFolderBelow(dir.path(), "file", true);
    ASSERT_FALSE(file);
    EXPECT_TRUE(Has(file.message(), "is not a folder")) << file.message();
}

TEST(OpenFolderBelow, WritesLandInTheOpenFolderEvenWhenItsNameIsSwapped) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "songs" / "500");
    std::filesystem::create_directories(dir / "outside");
    const Result<DeviceFolder> folder = OpenFolderBelow(dir.path(), "songs/500");
    ASSERT_TRUE(folder) << folder.message();
    // Swapped for a link after it was opened.
    std::filesystem::rename(dir / "songs" / "500", dir / "songs" / "moved");
    std::filesystem::create_directory_symlink(dir / "outside", dir / "songs" / "500");
    SafeFileWriter writer(*folder, "500002.mp4");
    ASSERT_TRUE(writer.Write("video") && writer.Commit()) << writer.status().message();
    EXPECT_EQ(test::ReadBytes(dir / "songs" / "moved" / "500002.mp4"), "video");
    EXPECT_TRUE(test::ListFiles(dir / "outside").empty());
}

TEST(OpenRegularFile, RefusesAFifoWithoutWaiting) {
    test::TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
    const auto start = std::chrono::steady_clock::now();
    const Result<int> fifo = OpenRegularFile(dir / "fifo");
    ASSERT_FALSE(fifo);
    EXPECT_TRUE(Has(fifo.message(), "not a regular file")) << fifo.message();
    EXPECT_FALSE(OpenRegularFile(dir.path()));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    test::WriteBytes(dir / "file", "x");
    const Result<int> file = OpenRegularFile(dir / "file");
    ASSERT_TRUE(file);
    ::close(*file);
}

TEST(TemporaryNames, OnlyTheWritersWholePatternCounts) {
    const struct {
        const char* name;
        bool temporary;
    } cases[] = {
        {"SgList.dat.sltmp-123-4", true},
        {"usbsong.db.sltmp-pair", true},
        {"usbsong.db.sltmp-pair-journal", true},
        {"device-catalogue.sltmp-commit", true},
        {"device-catalogue.sltmp-commit.sltmp-77-0", true},
        {"900001.sltmp-final", false},
        {"my.sltmp-song.mp4", false},
        {"900001.sltmp-12", false},
        {"900001.sltmp-12-", false},
        {"900001.sltmp-pairs", false},
        {".sltmp-1-2", false},
        {"900001.mp4", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsTemporaryName(c.name), c.temporary) << c.name;
    // The sweep leaves a song's own file alone.
    test::TempDir dir;
    test::WriteBytes(dir / "900" / "900001.sltmp-final", "a song");
    test::WriteBytes(dir / "900" / "900001.mp4.sltmp-5-6", "left by a killed copy");
    EXPECT_EQ(FindTemporaries({dir.path()}), std::vector<std::filesystem::path>{dir / "900" / "900001.mp4.sltmp-5-6"});
}

TEST(PairReplacement, ReplacesAListStoredUnderAnotherLetterCase) {
    test::TempDir dir;
    const auto songs = dir / "songs";
    test::WriteBytes(songs / "SGLIST.DAT", "old list");
    test::WriteBytes(songs / "usbsong.db", "old database");
    test::WriteBytes(songs / "SgList.dat.sltmp-pair", "new list");
    test::WriteBytes(songs / "usbsong.db.sltmp-pair", "new database");
    const PairReplacement pair{songs, "device-catalogue", {{"SgList.dat", true}, {"usbsong.db", true}}};
    const Result<> done = CommitPairReplacement(pair);
    ASSERT_TRUE(done) << done.message();
    EXPECT_EQ(test::ListFiles(songs), (std::vector<std::string>{"SgList.dat", "usbsong.db"}));
    EXPECT_EQ(test::ReadBytes(songs / "SgList.dat"), "new list");
}

TEST(PairReplacement, AnInterruptedCaseReplacementIsFinished) {
    test::TempDir dir;
    const auto songs = dir / "songs";
    test::WriteBytes(songs / "SgList.dat", "new list");  // renamed before the kill
    test::WriteBytes(songs / "SGLIST.DAT", "old list");
    test::WriteBytes(songs / "usbsong.db.sltmp-pair", "new database");
    test::WriteBytes(songs / "device-catalogue.sltmp-commit",
                     "replace SgList.dat\nreplace usbsong.db\nremove SGLIST.DAT\n");
    const Result<PairRecovery> result = FinishPairReplacement(songs, "device-catalogue", {"SgList.dat", "usbsong.db"});
    ASSERT_TRUE(result.ok()) << result.message();
    EXPECT_EQ(*result, PairRecovery::Finished);
    EXPECT_EQ(test::ListFiles(songs), (std::vector<std::string>{"SgList.dat", "usbsong.db"}));
}

}  // namespace
}  // namespace songloader
