// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/catalogue/catalogue_database.h"
#include "core/catalogue/list_file_reader.h"
#include "core/cloud/catalogue_publisher.h"
#include "support/cloud_catalogue_fixture.h"
#include "support/temp_dir.h"

namespace songloader::test {
namespace {

class CataloguePublisherTest : public ::testing::Test {
protected:
    CataloguePublisherTest() {
        WriteBytes(dir / "a.mp4", "video a");
        WriteBytes(dir / "b.avi", "video b");
        auto parsed = ParsePublishTable(
            "100001\tEG\tLet It Be\tAnn\tC\tL\ta.mp4\n"
            "890002\tOPM\tClip\tBand\t\t\tb.avi\n",
            dir.path(), "CP1252");
        EXPECT_TRUE(parsed.ok());
        if (parsed) table = *parsed;
    }
    TempDir dir;
    TempDir out;
    std::vector<PublishSong> table;
};

TEST_F(CataloguePublisherTest, WritesListDatabaseAndVideos) {
    std::vector<std::size_t> progress;
    const Result<> result = PublishCatalogue(table, out.path(), std::nullopt,
                                             {[&](std::size_t done, std::size_t) { progress.push_back(done); }});
    ASSERT_TRUE(result.ok()) << result.message();
    EXPECT_EQ(progress, (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(ListFiles(out.path()), (std::vector<std::string>{"100001.mp4", "890002.mp4", "MgList.dat", "Msong.db"}));
    EXPECT_EQ(ReadBytes(out / "890002.mp4"), "video b");

    const Result<SongList> list = ReadListFile(out / "MgList.dat", ListKind::Cloud);
    ASSERT_TRUE(list.ok());
    ASSERT_EQ(list.value().size(), 2u);
    EXPECT_EQ(list.value()[0].number, 100001);
    EXPECT_EQ(list.value()[0].lyricist, "L");
    EXPECT_EQ(list.value()[1].title, "Clip(MV)");

    EXPECT_EQ(QueryRows(out / "Msong.db", "select idx, lang, name, allname, abbr, namelen, singername from songlist"),
              (std::vector<std::string>{"100001|0|Let It Be|Let It Be|177009219|3|Ann",
                                        "890002|6|Clip|Clip|43046721|1|Band"}));
    EXPECT_EQ(QueryRows(out / "Msong.db", "select count(*) from sqlite_master where type = 'index'"),
              std::vector<std::string>{"15"});
}

TEST_F(CataloguePublisherTest, FailureLeavesTheOutputAsItWas) {
    WriteBytes(out / "MgList.dat", "old list");
    WriteBytes(out / "100001.mp4", "old video");
    std::filesystem::remove(dir / "b.avi");  // vanished after the table was read
    const Result<> result = PublishCatalogue(table, out.path(), std::nullopt);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.message().rfind("cannot copy " + (dir / "b.avi").string(), 0), 0u) << result.message();
    EXPECT_EQ(ListFiles(out.path()), (std::vector<std::string>{"100001.mp4", "MgList.dat"}));
    EXPECT_EQ(ReadBytes(out / "MgList.dat"), "old list");
    EXPECT_EQ(ReadBytes(out / "100001.mp4"), "old video");
}

TEST_F(CataloguePublisherTest, RepublishingReplacesTheFiles) {
    ASSERT_TRUE(PublishCatalogue(table, out.path(), std::nullopt).ok());
    WriteBytes(dir / "a.mp4", "new video a");
    const Result<std::vector<PublishSong>> one =
        ParsePublishTable("100001\tEG\tLet It Be\tAnn\t\t\ta.mp4\n", dir.path(), "CP1252");
    ASSERT_TRUE(one.ok());
    ASSERT_TRUE(PublishCatalogue(*one, out.path(), std::nullopt).ok());
    EXPECT_EQ(ReadBytes(out / "100001.mp4"), "new video a");
    EXPECT_EQ(ReadListFile(out / "MgList.dat", ListKind::Cloud).value().size(), 1u);
    EXPECT_EQ(QueryRows(out / "Msong.db", "select count(*) from songlist"), std::vector<std::string>{"1"});
}

}  // namespace
}  // namespace songloader::test
