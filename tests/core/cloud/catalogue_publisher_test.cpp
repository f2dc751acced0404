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
        table = ParsePublishTable("100001\tEG\tLet It Be\tAnn\tC\tL\ta.mp4\n"
                                  "890002\tOPM\tClip\tBand\t\t\tb.avi\n",
                                  dir.path(), "CP1252");
        EXPECT_TRUE(table.ok());
    }
    TempDir dir;
    TempDir out;
    PublishTable table;
};

TEST_F(CataloguePublisherTest, WritesListDatabaseAndVideos) {
    std::vector<std::size_t> progress;
    const PublishResult result = PublishCatalogue(table.songs, out.path(), std::nullopt,
                                                  {[&](std::size_t done, std::size_t) { progress.push_back(done); }});
    ASSERT_TRUE(result.ok) << result.errors.front();
    EXPECT_EQ(progress, (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(ListFiles(out.path()), (std::vector<std::string>{"100001.mp4", "890002.mp4", "MgList.dat", "Msong.db"}));
    EXPECT_EQ(ReadBytes(out / "890002.mp4"), "video b");

    const ListReadResult list = ReadListFile(out / "MgList.dat", ListKind::Cloud);
    ASSERT_TRUE(list.ok);
    ASSERT_EQ(list.songs.size(), 2u);
    EXPECT_EQ(list.songs[0].number, 100001);
    EXPECT_EQ(list.songs[0].lyricist, "L");
    EXPECT_EQ(list.songs[1].title, "Clip(MV)");

    EXPECT_EQ(QueryRows(out / "Msong.db", "select idx, lang, name, allname, abbr, namelen, singername from songlist"),
              (std::vector<std::string>{"100001|0|Let It Be|Let It Be|177009219|3|Ann", "890002|6|Clip|Clip|43046721|1|Band"}));
    EXPECT_EQ(QueryRows(out / "Msong.db", "select count(*) from sqlite_master where type = 'index'"),
              std::vector<std::string>{"15"});
}

TEST_F(CataloguePublisherTest, FailureLeavesTheOutputAsItWas) {
    WriteBytes(out / "MgList.dat", "old list");
    WriteBytes(out / "100001.mp4", "old video");
    std::filesystem::remove(dir / "b.avi");  // vanished after the table was read
    const PublishResult result = PublishCatalogue(table.songs, out.path(), std::nullopt);
    EXPECT_FALSE(result.ok);
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_EQ(result.errors[0].rfind("cannot copy " + (dir / "b.avi").string(), 0), 0u) << result.errors[0];
    EXPECT_EQ(ListFiles(out.path()), (std::vector<std::string>{"100001.mp4", "MgList.dat"}));
    EXPECT_EQ(ReadBytes(out / "MgList.dat"), "old list");
    EXPECT_EQ(ReadBytes(out / "100001.mp4"), "old video");
}

TEST_F(CataloguePublisherTest, RepublishingReplacesTheFiles) {
    ASSERT_TRUE(PublishCatalogue(table.songs, out.path(), std::nullopt).ok);
    WriteBytes(dir / "a.mp4", "new video a");
    const PublishTable one = ParsePublishTable("100001\tEG\tLet It Be\tAnn\t\t\ta.mp4\n", dir.path(), "CP1252");
    ASSERT_TRUE(PublishCatalogue(one.songs, out.path(), std::nullopt).ok);
    EXPECT_EQ(ReadBytes(out / "100001.mp4"), "new video a");
    EXPECT_EQ(ReadListFile(out / "MgList.dat", ListKind::Cloud).songs.size(), 1u);
    EXPECT_EQ(QueryRows(out / "Msong.db", "select count(*) from songlist"), std::vector<std::string>{"1"});
}

}  // namespace
}  // namespace songloader::test
