// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <unistd.h>

#include "core/catalogue/list_file_reader.h"
#include "core/entry/catalogue_rebuild.h"
#include "support/cloud_catalogue_fixture.h"
#include "support/temp_dir.h"

namespace songloader {
namespace {

ROWELEMENT Song(int number, int language, std::string title, std::string artist = "") {
    ROWELEMENT song;
    song.number = number;
    song.numberText = std::to_string(number);
    song.language = language;
    song.languageText = language <= 14 ? std::string() : "Other";
    song.title = std::move(title);
    song.artist = std::move(artist);
    return song;
}

class Rebuild : public ::testing::Test {
protected:
    std::filesystem::path songs() const { return dir_ / "songs"; }
    void SetUp() override { std::filesystem::create_directories(songs()); }
    // An old catalogue that a failed rebuild must leave alone.
    void PutOldCatalogue() {
        test::WriteBytes(songs() / "SgList.dat", "old list");
        test::WriteBytes(songs() / "usbsong.db", "old database");
    }
    void ExpectOldCatalogue() {
        EXPECT_EQ(test::ReadBytes(songs() / "SgList.dat"), "old list");
        EXPECT_EQ(test::ReadBytes(songs() / "usbsong.db"), "old database");
        EXPECT_EQ(test::ListFiles(songs()), (std::vector<std::string>{"SgList.dat", "usbsong.db"}));
    }
    test::TempDir dir_;
};

TEST_F(Rebuild, WritesBothFilesThatReadBackAsTheSongs) {
    PutOldCatalogue();
    SongList list = {Song(900001, 0, "Let It Be", "Ann"), Song(5, 6, "Don't Stop", "Band"), Song(77, 1, "")};
    list[0].composer = "C";
    list[0].lyricist = "L";
    std::vector<std::size_t> steps;
    RebuildHooks hooks;
    hooks.onSong = [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, 3u);
        steps.push_back(done);
    };
    Result<CatalogueWritten> result = RebuildDeviceCatalogue(list, songs(), RebuildMode::Add, hooks);
    ASSERT_TRUE(result.ok()) << result.message();
    ASSERT_EQ(result->notices.size(), 1u);
    EXPECT_EQ(result->notices[0].text, "Added successfully");
    EXPECT_EQ(result->notices[0].caption, "Note");
    EXPECT_EQ(steps, (std::vector<std::size_t>{1, 2, 3}));
    EXPECT_EQ(test::ListFiles(songs()), (std::vector<std::string>{"SgList.dat", "usbsong.db"}));

    Result<SongList> read = ReadListFile(songs() / "SgList.dat", ListKind::Device);
    ASSERT_TRUE(read.ok());
    ASSERT_EQ(read.value().size(), 3u);
    EXPECT_EQ(read.value()[0].title, "Let It Be");
    EXPECT_EQ(read.value()[0].artist, "Ann");
    EXPECT_EQ(read.value()[0].composer, "C");
    EXPECT_EQ(read.value()[0].lyricist, "L");
    EXPECT_EQ(read.value()[1].numberText, "5");
    EXPECT_EQ(read.value()[1].languageText, "OPM");
    EXPECT_EQ(read.value()[2].languageText, "CN");

    const std::string db = test::ReadBytes(songs() / "usbsong.db");
    // Whole 4096-byte pages, then one 0x07 per song.
    EXPECT_EQ((db.size() - 3) % 4096, 0u);
    EXPECT_EQ(db.substr(db.size() - 3), "\x07\x07\x07");
    EXPECT_EQ(test::QueryRows(songs() / "usbsong.db",
                              "select idx, lang, cls, name, allname, abbr, namelen, singername, vollevel, track, "
                              "newflag, rank, singerid1, singerid2, singerid3, singerid4 from songlist"),
              (std::vector<std::string>{"900001|0|0|Let It Be|Let It Be|177009219|3|Ann|50|0|1|1|0|0|0|0",
                                        "5|6|0|Don't Stop|Don't Stop|67493007|2|Band|50|0|1|1|0|0|0|0",
                                        "77|1|0|||0|0||50|0|1|1|0|0|0|0"}));
    EXPECT_EQ(test::QueryRows(songs() / "usbsong.db", "select count(*) from sqlite_master where type='index'"),
              std::vector<std::string>{"15"});
}

TEST_F(Rebuild, EachModeHasItsClosingMessage) {
    SongList list = {Song(900001, 0, "A")};
    EXPECT_EQ(RebuildDeviceCatalogue(list, songs(), RebuildMode::Revise).value().notices.at(0).text,
              "Revised successfully!");
    EXPECT_EQ(RebuildDeviceCatalogue(list, songs(), RebuildMode::Delete).value().notices.at(0).text,
              "Song deleted successfully");
}

TEST_F(Rebuild, RebuildingWhatWasReadGivesTheSameBytes) {
    SongList list;
    for (int i = 0; i < 300; ++i) {
        list.push_back(Song(900000 + (i * 37) % 300, i % 5 == 0 ? 1 : i % 3, "Title " + std::to_string(i % 17),
                            "Artist " + std::to_string(i % 7)));
    }
    ASSERT_TRUE(RebuildDeviceCatalogue(list, songs(), RebuildMode::Add).ok());
    const std::string first = test::ReadBytes(songs() / "SgList.dat");
    Result<SongList> read = ReadListFile(songs() / "SgList.dat", ListKind::Device);
    ASSERT_TRUE(read.ok());
    ASSERT_TRUE(RebuildDeviceCatalogue(read.value(), songs(), RebuildMode::Add).ok());
    EXPECT_EQ(test::ReadBytes(songs() / "SgList.dat"), first);
}

TEST_F(Rebuild, TheLastSongGoneLeavesAnEmptyDatabaseAndNoList) {
    ASSERT_TRUE(RebuildDeviceCatalogue({Song(900001, 0, "A")}, songs(), RebuildMode::Add).ok());
    Result<CatalogueWritten> result = RebuildDeviceCatalogue({}, songs(), RebuildMode::Delete);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result->notices.at(0).text, "Song deleted successfully");
    EXPECT_EQ(test::ListFiles(songs()), std::vector<std::string>{"usbsong.db"});
    EXPECT_EQ(test::QueryRows(songs() / "usbsong.db", "select count(*) from songlist"), std::vector<std::string>{"0"});
    EXPECT_FALSE(FindListFile(songs(), "SgList.dat"));
}

TEST_F(Rebuild, TooManySongsReplaceNothing) {
    PutOldCatalogue();
    SongList list(50000, Song(900000, 0, "Same"));
    Result<CatalogueWritten> result = RebuildDeviceCatalogue(list, songs(), RebuildMode::Add);
    ASSERT_FALSE(result.ok());
    const Notices notices = result.failure().AsNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].text, "2 Read Temp File Error!");
    EXPECT_EQ(notices[0].caption, kApplicationName);
    ExpectOldCatalogue();
}

TEST_F(Rebuild, ARowThatFailsItsCheckShowsTheBuildersMessagesAndReplacesNothing) {
    PutOldCatalogue();
    SongList list = {Song(900001, 0, "fine"), Song(900002, 0, std::string(60, ' '))};  // 61 words
    Result<CatalogueWritten> result = RebuildDeviceCatalogue(list, songs(), RebuildMode::Add);
    ASSERT_FALSE(result.ok());
    const Notices notices = result.failure().AsNotices();
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].text, "2have row error:Song name characters is wrong!");
    EXPECT_EQ(notices[1].text, "Temp File Analyse Error!");
    ExpectOldCatalogue();
}

TEST_F(Rebuild, AWriteThatFailsPartWayReplacesNothing) {
    PutOldCatalogue();
    SongList list;
    for (int i = 0; i < 3000; ++i)
        list.push_back(Song(900000 + i, 0, "A rather long title " + std::to_string(i), "Artist"));
    for (std::uint64_t limit : {0ull, 4096ull, 60000ull, 300000ull}) {
        const Result<CatalogueWritten> result = [&] {
            test::FileSizeLimit fileSizeLimit(limit);
            return RebuildDeviceCatalogue(list, songs(), RebuildMode::Add);
        }();
        ASSERT_FALSE(result.ok()) << limit;
        const Notices notices = result.failure().AsNotices();
        ASSERT_FALSE(notices.empty());
        EXPECT_NE(notices.back().text, "Added successfully");
        ExpectOldCatalogue();
    }
}

TEST_F(Rebuild, AMissingOrUnwritableSongFolderFailsCleanly) {
    Result<CatalogueWritten> result =
        RebuildDeviceCatalogue({Song(900001, 0, "A")}, dir_ / "nowhere", RebuildMode::Add);
    ASSERT_FALSE(result.ok());
    const Notices notices = result.failure().AsNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].text.find("Cannot create"), std::string::npos) << notices[0].text;
    EXPECT_FALSE(std::filesystem::exists(dir_ / "nowhere"));

    if (::geteuid() != 0) {  // permissions do not stop root
        PutOldCatalogue();
        std::filesystem::permissions(songs(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        EXPECT_FALSE(RebuildDeviceCatalogue({Song(900001, 0, "A")}, songs(), RebuildMode::Add).ok());
        std::filesystem::permissions(songs(), std::filesystem::perms::owner_all);
        ExpectOldCatalogue();
    }
}

TEST_F(Rebuild, LongTextsAreCutTheSameInTheListAndTheDatabase) {
    const std::string title(70, 'x');
    ASSERT_TRUE(RebuildDeviceCatalogue({Song(900001, 0, title)}, songs(), RebuildMode::Add).ok());
    Result<SongList> read = ReadListFile(songs() / "SgList.dat", ListKind::Device);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.value()[0].title, std::string(52, 'x'));
    EXPECT_EQ(test::QueryRows(songs() / "usbsong.db", "select name from songlist"),
              std::vector<std::string>{std::string(52, 'x')});
}

}  // namespace
}  // namespace songloader
