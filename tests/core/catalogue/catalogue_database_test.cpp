// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <chrono>

#include "core/catalogue/cloud_catalogue.h"
#include "core/catalogue/device_database.h"
#include "support/cloud_catalogue_fixture.h"
#include "support/temp_dir.h"

namespace songloader {
namespace {

using test::QueryRows;

TEST(CatalogueTables, AllFiveKindsAreCreatedWithTheirExactColumnTexts) {
    test::TempDir dir;
    CatalogueDatabase db;
    ASSERT_TRUE(db.Open(dir / "all.db"));
    for (int kind = 0; kind <= 4; ++kind) EXPECT_TRUE(CreateCatalogueTable(db, kind)) << kind;
    const Result<> again = CreateCatalogueTable(db, kSongListTable);  // exists already
    ASSERT_FALSE(again.ok());
    EXPECT_EQ(again.message(), "table songlist already exists");
    db.Close();
    auto rows = QueryRows(dir / "all.db", "select name, sql from sqlite_master where type='table' order by rowid");
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0],
              "singerpic|CREATE TABLE singerpic  (nbr primary key, idx integer, pic_flag integer, "
              "pic_width integer, pic_height integer, pic_dat blob)");
    EXPECT_EQ(rows[2],
              "songlist|CREATE TABLE songlist  (idx integer, lang integer, cls integer, name "
              "varchar(160), allname varchar(160),abbr integer, namelen integer, singername "
              "varchar(160), vollevel integer, track integer, newflag integer, rank integer, singerid1 "
              "integer, singerid2 integer, singerid3 integer, singerid4 integer )");
    EXPECT_EQ(rows[4], "bhSrf|CREATE TABLE bhSrf  (nbr primary key, idx integer,abbr varchar(40),font varchar(10))");
}

TEST(DeviceDatabase, CreationReplacesAnOldFileAndIndexesEveryColumn) {
    test::TempDir dir;
    const auto file = dir / "usbsong.db";
    test::WriteBytes(file, "not a database at all");
    CatalogueDatabase db;
    ASSERT_TRUE(CreateDeviceDatabase(db, file).ok());
    EXPECT_TRUE(PrepareCatalogueIndexes(db).ok());
    EXPECT_TRUE(PrepareCatalogueIndexes(db).ok());  // indexes that exist just fail quietly
    ASSERT_TRUE(db.isOpen());
    db.Close();
    auto indexes = QueryRows(file, "select name from sqlite_master where type='index' order by rowid");
    EXPECT_EQ(indexes, (std::vector<std::string>{"singerid4_", "singerid3_", "singerid2_", "singerid1_", "rank_",
                                                 "newflag_", "track_", "vollevel_", "singername_", "namelen_", "abbr_",
                                                 "name_", "cls_", "lang_", "idx_"}));
    EXPECT_EQ(QueryRows(file, "select sql from sqlite_master where name='lang_'")[0],
              "CREATE INDEX lang_ on songlist(lang) ");
}

TEST(DeviceDatabaseRow, InitialsOfLetItBe) {
    ROWELEMENT song;
    song.number = 900001;
    song.language = 6;
    song.title = "Let It Be";
    song.artist = "Ann";
    DeviceDatabaseRow row = MakeDeviceDatabaseRow(song);
    EXPECT_EQ(row.idx, 900001);
    EXPECT_EQ(row.lang, 6);
    EXPECT_EQ(row.cls, 0);
    EXPECT_EQ(row.name, "Let It Be");
    EXPECT_EQ(row.allname, "Let It Be");
    EXPECT_EQ(row.abbr, 177009219);
    EXPECT_EQ(row.namelen, 3);
    EXPECT_EQ(row.singername, "Ann");
    EXPECT_EQ(row.vollevel, 50);
    EXPECT_EQ(row.track, 0);
    EXPECT_EQ(row.newflag, 1);
    EXPECT_EQ(row.rank, 1);
}

TEST(DeviceDatabaseRow, InitialsFollowInnerSpacesOnly) {
    EXPECT_EQ(TitleInitials(""), "");
    EXPECT_EQ(TitleInitials(" lead"), " ");
    EXPECT_EQ(TitleInitials("tail "), "t");
    EXPECT_EQ(TitleInitials("A  B"), "A B");
    EXPECT_EQ(TitleInitials(std::string(600, ' ')).size(), 255u);
    EXPECT_EQ(InitialsValue(""), 0);
    EXPECT_EQ(InitialsValue("abba"), 14348907 + 2 * 531441 + 2 * 19683 + 1 * 729);
    EXPECT_EQ(InitialsValue("A B"), 14348907);  // a non-letter ends the value
    EXPECT_EQ(InitialsValue("ZZZZZZZZ"), 26 * (14348907 + 531441 + 19683 + 729 + 27 + 1));
    ROWELEMENT empty;
    EXPECT_EQ(MakeDeviceDatabaseRow(empty).abbr, 0);
    EXPECT_EQ(MakeDeviceDatabaseRow(empty).namelen, 0);
}

TEST(DeviceDatabase, QuotesAndOtherTextArriveUnchanged) {
    test::TempDir dir;
    const auto file = dir / "usbsong.db";
    CatalogueDatabase db;
    ASSERT_TRUE(CreateDeviceDatabase(db, file).ok());
    SongListInserter insert(db);
    ROWELEMENT song;
    song.number = 900002;
    song.title = "Don't Stop";
    song.artist = "a'); drop table songlist; --";
    ASSERT_TRUE(insert.Insert(MakeDeviceDatabaseRow(song)));
    db.Close();
    EXPECT_EQ(QueryRows(file, "select idx, name, allname, singername, vollevel from songlist"),
              (std::vector<std::string>{"900002|Don't Stop|Don't Stop|a'); drop table songlist; --|50"}));
}

class CloudSearch : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteCloudCatalogue(dir_ / "Msong.db", {{1001, 0, "Love Story", "Taylor"},
                                                      {1002, 6, "Lovers", "Band"},
                                                      {1003, 2, "Amor", "love and peace"},
                                                      {890000, 0, "", "Video"},
                                                      {890001, 27, "Lonely", "x"},
                                                      {1004, 99, "lost", "y"},
                                                      {1005, 0, "100% Pure", "z"},
                                                      {1006, 0, "100 Ways", "z"},
                                                      {1007, 0, "it's_me", "q"},
                                                      {1008, 0, "its me", "q"}});
        ASSERT_TRUE(cloud_.OpenCatalogueDatabase(dir_.path()));
    }
    std::vector<std::string> Search(const std::string& text, SearchFilter filter = SearchFilter::All) {
        std::vector<std::string> hits;
        std::size_t expected = 0;
        const Result<> ran = cloud_.SearchCloudCatalogue(text, filter, [&](const ROWELEMENT& hit, std::size_t index) {
            EXPECT_EQ(index, expected++);
            hits.push_back(hit.numberText + " " + hit.languageText + " " + hit.title + " / " + hit.artist);
        });
        EXPECT_TRUE(ran) << ran.message();
        return hits;
    }
    test::TempDir dir_;
    CloudCatalogue cloud_;
};

TEST_F(CloudSearch, MatchesTitleOrArtistPrefixesInAnyCase) {
    EXPECT_EQ(Search("lo"), (std::vector<std::string>{"1001 EG Love Story / Taylor", "1002 OPM Lovers / Band",
                                                      "1003 ES Amor / love and peace", "890001 Other Lonely(MV) / x",
                                                      "1004 Other lost / y"}));
    EXPECT_EQ(Search("TAY"), (std::vector<std::string>{"1001 EG Love Story / Taylor"}));
    EXPECT_TRUE(Search("ove").empty());  // a prefix, not a substring
}

TEST_F(CloudSearch, FiltersByTheSearchLanguage) {
    EXPECT_EQ(Search("lo", SearchFilter::Opm), (std::vector<std::string>{"1002 OPM Lovers / Band"}));
    EXPECT_EQ(Search("lo", SearchFilter::English), (std::vector<std::string>{"1001 EG Love Story / Taylor"}));
    EXPECT_EQ(Search("lo", SearchFilter::Spanish), (std::vector<std::string>{"1003 ES Amor / love and peace"}));
    EXPECT_EQ(Search("lo", SearchFilter::Other), (std::vector<std::string>{"890001 Other Lonely(MV) / x"}));
    EXPECT_EQ(Search("", SearchFilter::Opm).size(), 1u);
    EXPECT_EQ(Search("").size(), 10u);
    EXPECT_EQ(SearchFilterFromIndex(0), SearchFilter::All);
    EXPECT_EQ(SearchFilterFromIndex(1), SearchFilter::Opm);
    EXPECT_EQ(SearchFilterFromIndex(2), SearchFilter::English);
    EXPECT_EQ(SearchFilterFromIndex(3), SearchFilter::Spanish);
    EXPECT_EQ(SearchFilterFromIndex(4), SearchFilter::Other);
    EXPECT_EQ(SearchFilterFromIndex(-1), SearchFilter::Other);
}

TEST_F(CloudSearch, MusicVideosGetTheirMarkEvenWithAnEmptyTitle) {
    EXPECT_EQ(Search("Vid"), (std::vector<std::string>{"890000 EG (MV) / Video"}));
}

TEST_F(CloudSearch, QuotesAndWildcardsTypedByTheUserMatchThemselves) {
    EXPECT_EQ(Search("100%"), (std::vector<std::string>{"1005 EG 100% Pure / z"}));
    EXPECT_EQ(Search("it's_"), (std::vector<std::string>{"1007 EG it's_me / q"}));
    EXPECT_TRUE(Search("it_").empty());
    EXPECT_TRUE(Search("'").empty());
    EXPECT_EQ(Search("100").size(), 2u);
}

TEST(CloudSearchValues, NullColumnsNeverMatchAndAReopenSeesTheNewFile) {
    test::TempDir dir;
    test::WriteCloudCatalogue(dir / "Msong.db", {{1, 0, "Alpha", "Zed"}});
    {
        CatalogueDatabase db;
        ASSERT_TRUE(db.Open(dir / "Msong.db"));
        ASSERT_TRUE(
            db.Execute("insert into songlist (idx, lang, name, singername) values (2, NULL, 'Alps', NULL);"
                       "insert into songlist (idx, lang, name, singername) values ('003', 6, NULL, 'Al');"));
    }
    CloudCatalogue cloud;
    ASSERT_TRUE(cloud.OpenCatalogueDatabase(dir.path()));
    std::vector<std::string> hits;
    auto collect = [&](const ROWELEMENT& hit, std::size_t) {
        hits.push_back(hit.numberText + " " + hit.languageText + " [" + hit.title + "] [" + hit.artist + "]");
    };
    EXPECT_TRUE(cloud.SearchCloudCatalogue("al", SearchFilter::All, collect));
    EXPECT_EQ(hits, (std::vector<std::string>{"1 EG [Alpha] [Zed]", "2 Other [Alps] []", "3 OPM [] [Al]"}));
    hits.clear();
    (void)cloud.SearchCloudCatalogue("", SearchFilter::English, collect);
    EXPECT_EQ(hits, (std::vector<std::string>{"1 EG [Alpha] [Zed]"}));  // NULL is no language at all
    hits.clear();
    (void)cloud.SearchCloudCatalogue("", SearchFilter::Other, collect);
    EXPECT_TRUE(hits.empty());

    cloud.CloseCatalogueDatabase();
    test::WriteCloudCatalogue(dir / "Msong.db", {{9, 0, "Alright", ""}});
    ASSERT_TRUE(cloud.OpenCatalogueDatabase(dir.path()));
    hits.clear();
    (void)cloud.SearchCloudCatalogue("al", SearchFilter::All, collect);
    EXPECT_EQ(hits, (std::vector<std::string>{"9 EG [Alright] []"}));
}

TEST(CloudSearchFailures, GarbageOrMissingCatalogueFailsCleanly) {
    test::TempDir dir;
    test::WriteBytes(dir / "Msong.db", std::string(4096, '\x5a'));
    CloudCatalogue cloud;
    ASSERT_TRUE(cloud.OpenCatalogueDatabase(dir.path()));
    int hits = 0;
    auto count = [&](const ROWELEMENT&, std::size_t) { ++hits; };
    EXPECT_FALSE(cloud.SearchCloudCatalogue("a", SearchFilter::All, count));
    cloud.CloseCatalogueDatabase();
    EXPECT_FALSE(cloud.isOpen());
    EXPECT_FALSE(cloud.SearchCloudCatalogue("a", SearchFilter::All, count));

    test::TempDir empty;
    const Result<> missing = cloud.OpenCatalogueDatabase(empty.path());
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.message().rfind("cannot open " + (empty / "Msong.db").string() + ": ", 0), 0u)
        << missing.message();
    EXPECT_EQ(test::ListFiles(empty.path()), std::vector<std::string>{}) << "reading created a file";
    EXPECT_FALSE(cloud.SearchCloudCatalogue("a", SearchFilter::All, count));
    EXPECT_EQ(hits, 0);
    EXPECT_FALSE(cloud.OpenCatalogueDatabase(empty / "no" / "such"));
}

// Rows 1..count in a real songlist table.
std::string SongRows(int count) {
    return "create table songlist (idx integer, lang integer, cls integer, name varchar(160), allname "
           "varchar(160), abbr integer, namelen integer, singername varchar(160));"
           "insert into songlist with recursive r(x) as (select 1 union all select x + 1 from r where x < " +
           std::to_string(count) + ") select x, 0, 0, 'Title', 'Title', 0, 0, 'Singer' from r;";
}

TEST(CloudSearchFailures, OnlyABoundedRealSongTableIsRead) {
    struct Case {
        const char* name;
        std::string sql;  // empty: the recursive view
        CatalogueReadLimits limits;
        bool catalogue;
    };
    const std::vector<Case> cases = {
        {"as many songs as a list holds", SongRows(65535), {}, true},
        {"one song more", SongRows(65536), {}, false},
        {"songlist as a recursive view", "", {}, false},
        {"no songlist", "create table other (x);", {}, false},
        {"songlist without the artist the search reads",
         "create table songlist (idx integer, lang integer, cls integer, name text);"
         "insert into songlist values (1, 0, 0, 'Title');",
         {},
         false},
        {"a read beyond the time limit", SongRows(20000), {.time = std::chrono::milliseconds(0)}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        if (c.sql.empty()) test::WriteRecursiveSongView(dir / "Msong.db");
        else test::ExecuteSql(dir / "Msong.db", c.sql);
        const auto start = std::chrono::steady_clock::now();
        CloudCatalogue cloud(c.limits);
        ASSERT_TRUE(cloud.OpenCatalogueDatabase(dir.path()));
        EXPECT_EQ(cloud.isSongCatalogue(), c.catalogue);
        EXPECT_EQ(cloud.SearchCloudCatalogue("T", SearchFilter::All, {}).ok(), c.catalogue);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    }
}

TEST(CloudSearchFailures, ReadingLeavesAHotJournalAlone) {
    // A write interrupted mid-transaction: the database file and the journal that would undo it.
    test::TempDir work;
    test::ExecuteSql(work / "w.db", SongRows(10));
    {
        CatalogueDatabase writer;
        ASSERT_TRUE(writer.Open(work / "w.db"));
        // Without syncs the journal header is complete at once, so the copy below is hot.
        ASSERT_TRUE(writer.Execute("pragma synchronous = off; begin; update songlist set name = 'Changed';"));
        ASSERT_TRUE(std::filesystem::exists(work / "w.db-journal"));
        test::TempDir stick;
        std::filesystem::copy_file(work / "w.db", stick / "Msong.db");
        std::filesystem::copy_file(work / "w.db-journal", stick / "Msong.db-journal");
        const std::string journal = test::ReadBytes(stick / "Msong.db-journal");
        const std::string database = test::ReadBytes(stick / "Msong.db");

        CloudCatalogue cloud;
        ASSERT_TRUE(cloud.OpenCatalogueDatabase(stick.path()));
        (void)cloud.SearchCloudCatalogue("T", SearchFilter::All, {});
        cloud.CloseCatalogueDatabase();
        EXPECT_EQ(test::ReadBytes(stick / "Msong.db-journal"), journal) << "the read rolled the journal back";
        EXPECT_EQ(test::ReadBytes(stick / "Msong.db"), database);
        (void)writer.Execute("rollback");
    }
}

}  // namespace
}  // namespace songloader
