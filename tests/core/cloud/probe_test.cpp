// SPDX-License-Identifier: GPL-3.0-or-later
#include <chrono>

#include "cloud_test_fixture.h"

namespace songloader::test {
namespace {

using ProbeTest = CloudTest;

TEST_F(ProbeTest, ProbeNeedsAnAnnouncedLength) {
    Serve("MgList.dat", "");
    EXPECT_TRUE(client.ProbeNetwork()) << "an empty list still announces length 0";

    Serve("MgList.dat", Pattern(100));
    server.SetBehaviour("MgList.dat", {.headWithoutLength = true});
    const Result<> noLength = client.ProbeNetwork();
    ASSERT_FALSE(noLength) << "reachable, but no length";
    EXPECT_EQ(noLength.message(), server.baseUrl() + "MgList.dat: no length announced");
    EXPECT_EQ(Answer(client.RemoteFileSize("MgList.dat")), "none");

    server.ClearBehaviours();
    EXPECT_TRUE(client.ProbeNetwork());
    EXPECT_EQ(Answer(client.RemoteFileSize("MgList.dat")), "100");
    for (const CloudRequest& request : server.Requests()) {
        EXPECT_EQ(request.method, "HEAD") << "size checks never fetch a body";
        EXPECT_EQ(request.path, "/MgList.dat");
    }
}

TEST_F(ProbeTest, ErrorStatusStillCountsAsReachable) {
    server.SetBehaviour("MgList.dat", {.errorStatus = 500});
    EXPECT_TRUE(client.ProbeNetwork());
    // A missing file answers 404 with its error page; the size is the page's.
    EXPECT_EQ(Answer(client.RemoteFileSize("230midisglist.dat")),
              std::to_string(TestCloudServer::ErrorPage(404).size()));
}

TEST_F(ProbeTest, FollowsFiveRedirectsButNotSix) {
    Serve("MgList.dat", Pattern(77));
    server.SetBehaviour("MgList.dat", {.redirects = 5});
    EXPECT_TRUE(client.ProbeNetwork());
    EXPECT_EQ(Answer(client.RemoteFileSize("MgList.dat")), "77");
    EXPECT_EQ(server.CountRequests("HEAD", "/__hop/0/MgList.dat"), 2u);

    server.SetBehaviour("MgList.dat", {.redirects = 6});
    EXPECT_FALSE(client.ProbeNetwork());
    EXPECT_EQ(Answer(client.RemoteFileSize("MgList.dat")), "failed");
}

TEST_F(ProbeTest, SongSizeProbeHasNoQuery) {
    Serve("900001.mp4", Pattern(5000));
    EXPECT_EQ(Answer(client.RemoteSongSize("900001")), "5000");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].method, "HEAD");
    EXPECT_EQ(server.Requests()[0].path, "/900001.mp4");
    EXPECT_EQ(server.Requests()[0].query, "");
}

TEST_F(ProbeTest, SizesBeyondTwoGibibytes) {
    // A sparse file: announced, never sent.
    const std::uintmax_t size = (std::uintmax_t{3} << 30) + 5;
    WriteBytes(cloud / "midisongsbook.pdf", "");
    std::filesystem::resize_file(cloud / "midisongsbook.pdf", size);
    EXPECT_EQ(Answer(client.RemoteFileSize("midisongsbook.pdf")), std::to_string(size));

    WriteBytes(local / "big", "");
    std::filesystem::resize_file(local / "big", size);
    EXPECT_EQ(LocalFileSize(local / "big"), static_cast<std::int64_t>(size));
}

TEST_F(ProbeTest, UnreachableServers) {
    const RefusedPort nobody;
    CloudClient refused(nobody.baseUrl(), progress);
    EXPECT_FALSE(refused.ProbeNetwork());
    EXPECT_EQ(Answer(refused.RemoteSongSize("900001")), "failed");

    SilentServer silent;
    CloudClient stalled(silent.baseUrl(), progress);
    stalled.SetTimeouts({std::chrono::milliseconds(2000), std::chrono::milliseconds(200)});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(stalled.ProbeNetwork());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << "the stall limit ends it";
}

TEST_F(ProbeTest, ProbesIgnoreALeftOverCancelRequest) {
    Serve("MgList.dat", Pattern(10));
    progress.RequestCancel();
    EXPECT_TRUE(client.ProbeNetwork());
}

TEST(LocalFileSizeTest, MissingEmptyAndFolders) {
    TempDir dir;
    EXPECT_EQ(LocalFileSize(dir / "missing"), 0);
    WriteBytes(dir / "empty", "");
    EXPECT_EQ(LocalFileSize(dir / "empty"), 0);
    WriteBytes(dir / "three", "abc");
    EXPECT_EQ(LocalFileSize(dir / "three"), 3);
    EXPECT_EQ(LocalFileSize(dir.path()), 0);
}

TEST(CloudClientTest, BaseUrlAlwaysEndsInSlash) {
    DownloadProgress progress;
    EXPECT_EQ(CloudClient("http://127.0.0.1:1/cloud", progress).CloudBaseUrl(), "http://127.0.0.1:1/cloud/");
    EXPECT_EQ(CloudClient("http://127.0.0.1:1/", progress).CloudBaseUrl(), "http://127.0.0.1:1/");
    const std::string builtIn = CloudClient().CloudBaseUrl();
    EXPECT_EQ(builtIn, kDefaultCloudBaseUrl);
}

}  // namespace
}  // namespace songloader::test
