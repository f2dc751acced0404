// SPDX-License-Identifier: GPL-3.0-or-later
#include "cloud_test_fixture.h"
#include "core/catalogue/cloud_catalogue.h"
#include "core/cloud/catalogue_sync.h"
#include "core/cloud/cloud_song.h"
#include "support/cloud_catalogue_fixture.h"

namespace songloader::test {
namespace {

using std::chrono::milliseconds;

// Long enough for a busy machine; a drip-fed or endless answer would take minutes or forever.
constexpr auto kNoHang = std::chrono::seconds(20);
const std::string kPortalPage = "<html><body>Please sign in to use this network</body></html>\n";

class HostileServerTest : public CloudTest {
protected:
    HostileServerTest() {
        WriteCloudCatalogue(cloud / "Msong.db", {{100001, 0, "New Song", "Someone"}});
        Serve("MgList.dat", ListBytes({{100001, 0, "New Song", "Someone", "", ""}}));
        Serve("900001.mp4", Pattern(20000));
        std::filesystem::create_directories(local / "900");
        WriteBytes(local / "900" / "900001.mp4", "old video");
        WriteBytes(local / "MgList.dat", "old list");
        WriteCloudCatalogue(local / "Msong.db", {{100001, 0, "Old Song", "Someone"}});
        oldDatabase = ReadBytes(local / "Msong.db");
    }
    // Nothing but the old files: no temporary file left, nothing replaced.
    void ExpectOldFilesKept() {
        EXPECT_EQ(ListFiles(local.path()), (std::vector<std::string>{"900/900001.mp4", "MgList.dat", "Msong.db"}));
        EXPECT_EQ(ReadBytes(local / "900" / "900001.mp4"), "old video");
        EXPECT_EQ(ReadBytes(local / "MgList.dat"), "old list");
        EXPECT_EQ(ReadBytes(local / "Msong.db"), oldDatabase);
    }
    std::string oldDatabase;
};

TEST_F(HostileServerTest, MisbehavingAnswersFailBoundedAndKeepTheOldFiles) {
    struct Case {
        const char* name;
        PathBehaviour behaviour;
        bool probedOnly;  // only a road that asks HEAD first can notice it
    };
    const std::vector<Case> cases = {
        {"wrong body", {.body = kPortalPage}, false},
        {"early close", {.closeAfter = 5000}, false},
        {"early close without length", {.closeAfter = 5000, .withoutLength = true}, false},
        {"stall", {.stallAfter = 5000}, false},
        {"longer than its length", {.extraBytes = 10}, false},
        {"endless", {.endless = true}, false},
        {"endless without length", {.withoutLength = true, .endless = true}, false},
        {"drip", {.slowChunkBytes = 1, .slowChunkDelay = milliseconds(20)}, false},
        {"HEAD and GET disagree", {.headLength = 20001}, true},
    };
    ROWELEMENT record;
    record.number = 900001;
    record.title = "New";
    CloudCatalogue catalogue;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server.ClearBehaviours();
        server.SetBehaviour("900001.mp4", c.behaviour);
        auto start = std::chrono::steady_clock::now();
        const CloudSongFetch song = FetchCloudSong(client, local.path(), record);
        EXPECT_FALSE(song.outcome.ok()) << DescribeDownload(song.outcome);
        EXPECT_LE(BytesOf(song.outcome), 20000) << "the file grew beyond its announced size";
        EXPECT_LT(std::chrono::steady_clock::now() - start, kNoHang);
        ExpectOldFilesKept();
        if (c.probedOnly) continue;

        server.ClearBehaviours();
        server.SetBehaviour("Msong.db", c.behaviour);
        start = std::chrono::steady_clock::now();
        const CatalogueFetch fetch = FetchCloudCatalogue(client, local.path(), catalogue);
        EXPECT_TRUE(fetch.list.ok()) << DescribeDownload(fetch.list);
        EXPECT_FALSE(fetch.database.ok());
        EXPECT_FALSE(fetch.ok());
        EXPECT_LE(BytesOf(fetch.database), static_cast<std::int64_t>(LocalFileSize(cloud / "Msong.db")));
        EXPECT_LT(std::chrono::steady_clock::now() - start, kNoHang);
        EXPECT_TRUE(fetch.reopened) << "the old catalogue is open again";
        ExpectOldFilesKept();
    }
}

TEST_F(HostileServerTest, CatalogueFilesAreCheckedBeforeEitherReplacesAnything) {
    WriteRecursiveSongView(cloud / "recursive.db");
    struct Case {
        const char* name;
        const char* file;
        std::string bytes;
        std::string listDescription;      // empty: the list is fine
        std::string databaseDescription;  // empty: the database is fine
    };
    const std::vector<Case> cases = {
        {"portal page as list", "MgList.dat", kPortalPage, "rejected: not a song list (Data error)", ""},
        {"portal page as database", "Msong.db", kPortalPage, "", "rejected: not a song catalogue"},
        {"songlist as a recursive view", "Msong.db", ReadBytes(cloud / "recursive.db"), "",
         "rejected: not a song catalogue"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string good = ReadBytes(cloud / c.file);
        Serve(c.file, c.bytes);
        CloudCatalogue catalogue;
        const CatalogueFetch fetch = FetchCloudCatalogue(client, local.path(), catalogue);
        Serve(c.file, good);
        EXPECT_EQ(fetch.list.ok() ? "" : DescribeDownload(fetch.list), c.listDescription);
        EXPECT_EQ(fetch.database.ok() ? "" : DescribeDownload(fetch.database), c.databaseDescription);
        ExpectOldFilesKept();
    }
}

}  // namespace
}  // namespace songloader::test
