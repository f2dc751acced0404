// SPDX-License-Identifier: GPL-3.0-or-later
// The entry writers with links, FIFOs and names that look like temporaries.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>

#include "core/catalogue/list_file_reader.h"
#include "core/entry/catalogue_check.h"
#include "core/entry/catalogue_rebuild.h"
#include "core/recovery/interrupted_writes.h"
#include "core/entry/media_files.h"
#include "core/device/device_layout.h"
#include "support/song_samples.h"
#include "support/temp_dir.h"

namespace songloader {
namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

ROWELEMENT Song(int number, std::string title) { return ArtistSong(number, std::move(title)); }

TEST(DeviceFiles, NoEntryWriterWritesThroughALink) {
    struct Case {
        const char* name;
        const char* linked;                                                   // below the device root
        std::function<std::string(const std::filesystem::path& root)> write;  // why it failed
    };
    const std::vector<Case> cases = {
        {"rebuild into a linked song folder", "songs",
         [](const std::filesystem::path& root) {
             const Result<CatalogueWritten> result =
                 RebuildDeviceCatalogue({Song(900000, "One")}, root / "songs", RebuildMode::Add);
             return result ? std::string() : result.failure().AsNotices().at(0).text;
         }},
        {"media copy into a linked song's folder", "songs/900",
         [](const std::filesystem::path& root) {
             const Result<std::filesystem::path> copy =
                 CopyMediaFile(root.parent_path() / "clip.mp4", root / "songs/900/900000.mp4");
             return copy ? std::string() : copy.message();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const auto root = dir / "stick";
        std::filesystem::create_directories(root / "songs");
        test::WriteBytes(dir / "clip.mp4", "video");
        test::WriteBytes(dir / "outside" / "SgList.dat", "the user's own file");
        std::filesystem::remove_all(root / c.linked);
        std::filesystem::create_directory_symlink(dir / "outside", root / c.linked);
        const std::string why = c.write(root);
        EXPECT_TRUE(Has(why, "is a symbolic link")) << why;
        EXPECT_EQ(test::ListFiles(dir / "outside"), std::vector<std::string>{"SgList.dat"});
        EXPECT_EQ(test::ReadBytes(dir / "outside" / "SgList.dat"), "the user's own file");
    }
}

TEST(DeviceFiles, AStoredNameIsNeverATemporaryName) {
    test::TempDir dir;
    const auto songs = dir / "stick" / "songs";
    std::filesystem::create_directories(songs);
    // The last extension is kept when it is no temporary pattern, and then survives the sweep.
    test::WriteBytes(dir / "clip.mp4.sltmp-final", "video");
    const auto kept = MediaTargetPath(songs, "900000", dir / "clip.mp4.sltmp-final");
    const Result<std::filesystem::path> stored = CopyMediaFile(dir / "clip.mp4.sltmp-final", kept);
    ASSERT_TRUE(stored.ok()) << stored.message();
    EXPECT_EQ(kept.filename(), "900000.sltmp-final");
    const auto mended = MendInterruptedWrites(dir / "stick", "CP1252");
    ASSERT_TRUE(mended.ok()) << mended.message();
    EXPECT_TRUE(mended->problems.empty());
    EXPECT_EQ(test::ReadBytes(kept), "video");
    // One that is refused.
    test::WriteBytes(dir / "clip.sltmp-12-3", "video");
    const Result<std::filesystem::path> refused =
        CopyMediaFile(dir / "clip.sltmp-12-3", MediaTargetPath(songs, "900001", dir / "clip.sltmp-12-3"));
    ASSERT_FALSE(refused.ok());
    EXPECT_TRUE(Has(refused.message(), "temporary file name")) << refused.message();
    EXPECT_FALSE(std::filesystem::exists(songs / "900" / "900001.sltmp-12-3"));
}

TEST(DeviceFiles, AFifoIsNeverCopied) {
    test::TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "clip.mp4").c_str(), 0644), 0);
    const auto start = std::chrono::steady_clock::now();
    const Result<std::filesystem::path> copy =
        CopyMediaFile(dir / "clip.mp4", dir / "stick" / "songs" / "900" / "900000.mp4");
    ASSERT_FALSE(copy.ok());
    EXPECT_TRUE(Has(copy.message(), "not a regular file")) << copy.message();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(DeviceFiles, TitlesWithLineBreaksAgreeAfterOneRebuild) {
    test::TempDir dir;
    const auto songs = dir / "songs";
    std::filesystem::create_directories(songs);
    SongList list = {Song(900000, "Line\rbreak"), Song(900001, "New\nline"), Song(900002, "A\ttab")};
    list[2].artist = "Tab\tbed";
    ASSERT_TRUE(RebuildDeviceCatalogue(list, songs, RebuildMode::Add).ok());
    SongList listed = ReadListFile(songs / "SgList.dat", ListKind::Device).value();
    EXPECT_EQ(listed.at(0).title, "Line break");
    EXPECT_TRUE(CompareListAndDatabase(listed, songs / "usbsong.db").empty());
}

}  // namespace
}  // namespace songloader
