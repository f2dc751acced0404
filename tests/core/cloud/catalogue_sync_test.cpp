// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include "cloud_test_fixture.h"
#include "core/catalogue/cloud_catalogue.h"
#include "core/cloud/catalogue_sync.h"
#include "support/cloud_catalogue_fixture.h"

namespace songloader::test {
namespace {

std::vector<std::string> Titles(CloudCatalogue& catalogue) {
    std::vector<std::string> titles;
    (void)catalogue.SearchCloudCatalogue("", SearchFilter::All,
                                         [&](const ROWELEMENT& hit, std::size_t) { titles.push_back(hit.title); });
    return titles;
}

// True when this process holds `file` open (SQLite keeps a descriptor while the database is open).
bool ProcessHasOpen(const std::filesystem::path& file) {
    const auto wanted = std::filesystem::weakly_canonical(file);
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        const auto target = std::filesystem::read_symlink(entry.path(), error);
        if (!error && target == wanted) return true;
    }
    return false;
}

class CatalogueSyncTest : public CloudTest {
protected:
    CatalogueSyncTest() {
        WriteCloudCatalogue(local / "Msong.db", {{100001, 0, "Old Song", "Someone"}});
        EXPECT_TRUE(catalogue.OpenCatalogueDatabase(local.path()));
        WriteCloudCatalogue(cloud / "Msong.db",
                            {{100001, 0, "New Song", "Someone"}, {890001, 0, "New Clip", "Someone"}});
        Serve("MgList.dat", list);
    }
    const std::string list = ListBytes({{100001, 0, "New Song", "Someone", "", ""}});
    CloudCatalogue catalogue;
};

TEST_F(CatalogueSyncTest, DatabaseIsClosedWhileItsFileIsReplaced) {
    std::vector<std::pair<std::string, bool>> openDuringRequest;
    auto watch = [&](const CloudRequest& request) {
        openDuringRequest.emplace_back(request.path, ProcessHasOpen(local / "Msong.db"));
    };
    server.SetBehaviour("MgList.dat", {.onRequest = watch});
    server.SetBehaviour("Msong.db", {.onRequest = watch});

    const CatalogueFetch fetch = FetchCloudCatalogue(client, local.path(), catalogue);
    ASSERT_TRUE(fetch.ok()) << DescribeDownload(fetch.list) << " / " << DescribeDownload(fetch.database);
    EXPECT_EQ(openDuringRequest,
              (std::vector<std::pair<std::string, bool>>{{"/MgList.dat", true}, {"/Msong.db", false}}))
        << "the list comes first, and the database is closed before its download";
    EXPECT_TRUE(catalogue.isOpen());
    EXPECT_TRUE(ProcessHasOpen(local / "Msong.db"));
    EXPECT_EQ(Titles(catalogue), (std::vector<std::string>{"New Song", "New Clip(MV)"}));
    EXPECT_EQ(ReadBytes(local / "MgList.dat"), list);
    EXPECT_EQ(ListFiles(local.path()), (std::vector<std::string>{"MgList.dat", "Msong.db"}));
}

TEST_F(CatalogueSyncTest, FailedDatabaseDownloadReopensTheOldOne) {
    server.SetBehaviour("Msong.db", {.closeAfter = 100});
    const CatalogueFetch fetch = FetchCloudCatalogue(client, local.path(), catalogue);
    EXPECT_TRUE(fetch.list.ok());
    EXPECT_EQ(FailureKind(fetch.database), DownloadStatus::NetworkFailure);
    EXPECT_TRUE(fetch.reopened);
    EXPECT_FALSE(fetch.ok());
    EXPECT_EQ(Titles(catalogue), std::vector<std::string>{"Old Song"});
}

TEST_F(CatalogueSyncTest, FailedListDownloadKeepsBothOldFiles) {
    // The list and the catalogue change together, so the old list never meets a new catalogue.
    WriteBytes(local / "MgList.dat", "old list");
    const std::string oldDatabase = ReadBytes(local / "Msong.db");
    server.SetBehaviour("MgList.dat", {.errorStatus = 500});
    const CatalogueFetch fetch = FetchCloudCatalogue(client, local.path(), catalogue);
    EXPECT_EQ(FailureKind(fetch.list), DownloadStatus::ErrorStatus);
    EXPECT_TRUE(fetch.database.ok());
    EXPECT_EQ(ReadBytes(local / "MgList.dat"), "old list");
    EXPECT_EQ(ReadBytes(local / "Msong.db"), oldDatabase);
    EXPECT_EQ(Titles(catalogue), std::vector<std::string>{"Old Song"});
}

TEST_F(CatalogueSyncTest, FailedSyncCreatesNoCatalogueFile) {
    std::filesystem::remove(local / "Msong.db");
    server.SetBehaviour("Msong.db", {.errorStatus = 404});
    const CatalogueFetch fetch = FetchCloudCatalogue(client, local.path(), catalogue);
    EXPECT_FALSE(fetch.reopened);
    EXPECT_EQ(ListFiles(local.path()), std::vector<std::string>{}) << "an empty Msong.db would hide the missing data";
}

TEST_F(CatalogueSyncTest, RunningTwiceGivesTheSameFiles) {
    ASSERT_TRUE(FetchCloudCatalogue(client, local.path(), catalogue).ok());
    const std::string first = ReadBytes(local / "Msong.db");
    ASSERT_TRUE(FetchCloudCatalogue(client, local.path(), catalogue).ok());
    EXPECT_EQ(ReadBytes(local / "Msong.db"), first);
    EXPECT_EQ(Titles(catalogue).size(), 2u);
}

}  // namespace
}  // namespace songloader::test
