// SPDX-License-Identifier: GPL-3.0-or-later
#include <atomic>
#include <thread>

#include "cloud_test_fixture.h"

namespace songloader::test {
namespace {

class DownloadTest : public CloudTest {
protected:
    // The target holds `old`; a failed download must leave exactly that and no other file.
    void ExpectOldFileKept(const std::filesystem::path& target, const std::string& old) {
        EXPECT_EQ(ReadBytes(target), old);
        EXPECT_EQ(ListFiles(target.parent_path()), std::vector<std::string>{target.filename().string()});
    }
};

TEST_F(DownloadTest, FileArrivesWhole) {
    const std::string body = Pattern(20 * 1024 * 1024 + 17);  // several write-out windows
    Serve("Msong.db", body);
    WriteBytes(local / "Msong.db", "old catalogue");
    const DownloadResult outcome = client.DownloadFile("Msong.db", local / "Msong.db");
    EXPECT_TRUE(outcome.ok()) << DescribeDownload(outcome);
    EXPECT_EQ(HttpStatusOf(outcome), 200);
    EXPECT_EQ(BytesOf(outcome), static_cast<std::int64_t>(body.size()));
    EXPECT_EQ(ReadBytes(local / "Msong.db"), body);
    EXPECT_EQ(ListFiles(local.path()), std::vector<std::string>{"Msong.db"}) << "no temporary file left";
}

TEST_F(DownloadTest, SongUrlCarriesAttnameAndGetsItsExtension) {
    Serve("900001.mp4", Pattern(4000));
    std::filesystem::create_directory(local / "900");
    const DownloadResult outcome = client.DownloadSong("900001", local / "900" / "900001");
    ASSERT_TRUE(outcome.ok()) << DescribeDownload(outcome);
    EXPECT_EQ(ReadBytes(local / "900" / "900001.mp4"), Pattern(4000));
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].method, "GET");
    EXPECT_EQ(server.Requests()[0].path, "/900001.mp4");
    EXPECT_EQ(server.Requests()[0].query, "attname=");
}

TEST_F(DownloadTest, RedirectsKeepTheQueryAndStopAfterFive) {
    Serve("900002.mp4", Pattern(10));
    server.SetBehaviour("900002.mp4", {.redirects = 5});
    ASSERT_TRUE(client.DownloadSong("900002", local / "900002").ok());
    EXPECT_EQ(server.Requests().back().path, "/__hop/0/900002.mp4");
    EXPECT_EQ(server.Requests().back().query, "attname=");

    WriteBytes(local / "900003.mp4", "old");
    Serve("900003.mp4", Pattern(10));
    server.SetBehaviour("900003.mp4", {.redirects = 6});
    const DownloadResult outcome = client.DownloadSong("900003", local / "900003");
    EXPECT_EQ(FailureKind(outcome), DownloadStatus::NetworkFailure);
    EXPECT_EQ(ReadBytes(local / "900003.mp4"), "old");
}

TEST_F(DownloadTest, ErrorStatusKeepsTheOldFile) {
    WriteBytes(local / "MgList.dat", "old list");
    const DownloadResult missing = client.DownloadFile("MgList.dat", local / "MgList.dat");
    EXPECT_EQ(FailureKind(missing), DownloadStatus::ErrorStatus);
    EXPECT_EQ(HttpStatusOf(missing), 404);
    EXPECT_EQ(DescribeDownload(missing), "error status 404");
    ExpectOldFileKept(local / "MgList.dat", "old list");

    Serve("MgList.dat", Pattern(10));
    server.SetBehaviour("MgList.dat", {.errorStatus = 503});
    const DownloadResult failing = client.DownloadFile("MgList.dat", local / "MgList.dat");
    EXPECT_EQ(FailureKind(failing), DownloadStatus::ErrorStatus);
    EXPECT_EQ(HttpStatusOf(failing), 503);
    ExpectOldFileKept(local / "MgList.dat", "old list");
}

TEST_F(DownloadTest, SlowButSteadyTransferIsNotAStall) {
    // Each window of 300 ms brings far more than the minimum rate, the whole transfer takes longer.
    Serve("slow", Pattern(8000));  // four pauses of 100 ms
    server.SetBehaviour("slow", {.slowChunkBytes = 2000, .slowChunkDelay = std::chrono::milliseconds(100)});
    const DownloadResult outcome = client.DownloadFile("slow", local / "slow");
    ASSERT_TRUE(outcome.ok()) << DescribeDownload(outcome);
    EXPECT_EQ(ReadBytes(local / "slow"), Pattern(8000));
}

TEST_F(DownloadTest, RefusedConnectionKeepsTheOldFile) {
    const RefusedPort nobody;
    CloudClient refused(nobody.baseUrl(), progress);
    WriteBytes(local / "Msong.db", "old");
    const DownloadResult outcome = refused.DownloadFile("Msong.db", local / "Msong.db");
    EXPECT_EQ(FailureKind(outcome), DownloadStatus::NetworkFailure);
    EXPECT_EQ(HttpStatusOf(outcome), 0);
    ExpectOldFileKept(local / "Msong.db", "old");
}

TEST_F(DownloadTest, MissingFolderIsAWriteFailureWithoutARequest) {
    Serve("900005.mp4", Pattern(10));
    const DownloadResult outcome = client.DownloadSong("900005", local / "900" / "900005");
    EXPECT_EQ(FailureKind(outcome), DownloadStatus::WriteFailure);
    EXPECT_TRUE(server.Requests().empty());
    EXPECT_FALSE(std::filesystem::exists(local / "900"));
}

TEST_F(DownloadTest, WriteFailurePartWayKeepsTheOldFile) {
    Serve("Msong.db", Pattern(300000));
    WriteBytes(local / "Msong.db", "old");
    DownloadResult outcome = FailDownload(DownloadStatus::NetworkFailure);
    {
        FileSizeLimit full(100000);
        outcome = client.DownloadFile("Msong.db", local / "Msong.db");
    }
    EXPECT_EQ(FailureKind(outcome), DownloadStatus::WriteFailure) << DescribeDownload(outcome);
    ExpectOldFileKept(local / "Msong.db", "old");
}

TEST_F(DownloadTest, CancelMidTransfer) {
    Serve("900006.mp4", Pattern(400000));
    server.SetBehaviour("900006.mp4", {.slowChunkBytes = 10000, .slowChunkDelay = std::chrono::milliseconds(20)});
    WriteBytes(local / "900006.mp4", "old");
    std::atomic<bool> done{false};
    std::thread canceller([&] {
        while (!done && progress.receivedBytes.load() < 30000)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        progress.RequestCancel();
    });
    const DownloadResult outcome = client.DownloadSong("900006", local / "900006");
    done = true;
    canceller.join();
    EXPECT_EQ(FailureKind(outcome), DownloadStatus::Cancelled);
    EXPECT_GE(BytesOf(outcome), 30000);
    EXPECT_LT(BytesOf(outcome), 400000);
    ExpectOldFileKept(local / "900006.mp4", "old");
}

TEST_F(DownloadTest, EveryByteFeedsTheProgressState) {
    Serve("900007.mp4", Pattern(14600 * 7 + 5));
    progress.progressSteps = ProgressStepsFor(14600 * 7 + 5);
    ASSERT_TRUE(client.DownloadSong("900007", local / "900007").ok());
    EXPECT_EQ(progress.receivedBytes.load(), 14600 * 7 + 5);
    EXPECT_EQ(progress.StepPosition(), 70) << "a finished download shows its full range";
    EXPECT_EQ(progress.chunkReady.load(), 1);
    EXPECT_GT(progress.lastChunkBytes.load(), 0);

    // The next download starts counting from zero.
    Serve("small", "x");
    ASSERT_TRUE(client.DownloadFile("small", local / "small").ok());
    EXPECT_EQ(progress.receivedBytes.load(), 1);
    EXPECT_EQ(progress.lastChunkBytes.load(), 1);
}

}  // namespace
}  // namespace songloader::test

namespace songloader::test {
namespace {

TEST_F(DownloadTest, NothingReachesTheConsole) {
    // libcurl would echo the probe's headers on standard output and draw its meter on standard error.
    Serve("MgList.dat", Pattern(300000));
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const Result<> probe = client.ProbeNetwork();
    const std::string size = Answer(client.RemoteFileSize("MgList.dat"));
    const DownloadResult outcome = client.DownloadFile("MgList.dat", local / "MgList.dat");
    const std::string out = ::testing::internal::GetCapturedStdout();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(probe);
    EXPECT_EQ(size, "300000");
    EXPECT_TRUE(outcome.ok());
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "");
}

}  // namespace
}  // namespace songloader::test
