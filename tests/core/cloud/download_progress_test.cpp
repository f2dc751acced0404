// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

#include "core/cloud/download_protocol.h"

namespace songloader {
namespace {

TEST(DownloadProgressTest, StepsAreWholeUnitsOf1460Bytes) {
    EXPECT_EQ(ProgressStepsFor(1459), 0) << "a file under one step shows the range 0..0";
    EXPECT_EQ(ProgressStepsFor(1460), 1);
    EXPECT_EQ(ProgressStepsFor(14600), 10);
    EXPECT_EQ(ProgressStepsFor(-1), 0) << "an unknown size gives no range";
    EXPECT_EQ(ProgressStepsFor(std::int64_t{3} << 30), 2206318);
    EXPECT_EQ(ProgressStepsFor(std::numeric_limits<std::int64_t>::max()), std::numeric_limits<std::int32_t>::max());
}

TEST(DownloadProgressTest, PositionFollowsEveryByteWithinTheRange) {
    DownloadProgress progress;
    progress.progressSteps = 10;
    progress.receivedBytes = 14599;
    EXPECT_EQ(progress.StepPosition(), 9);
    progress.receivedBytes = 14600;
    EXPECT_EQ(progress.StepPosition(), 10);
    progress.receivedBytes = 20000;
    EXPECT_EQ(progress.StepPosition(), 10) << "more than announced stays at the end";
    progress.progressSteps = 0;
    EXPECT_EQ(progress.StepPosition(), 0);
    progress.progressSteps = -5;
    EXPECT_EQ(progress.StepPosition(), 0);
}

TEST(DownloadProtocolTest, FieldsSetFlagRaisedDuringTheTransferAndClearedAfter) {
    DownloadProgress progress;
    progress.cancelRequested = true;  // left over from an earlier window
    progress.receivedBytes = 999;
    progress.chunkReady = 1;
    int runs = 0;
    const DownloadResult outcome = RunDownloadProtocol(progress, 42, "Let It Be", [&]() -> DownloadResult {
        ++runs;
        EXPECT_EQ(progress.downloadActive.load(), 1);
        EXPECT_EQ(progress.progressSteps.load(), 42);
        EXPECT_EQ(progress.DownloadName(), "Let It Be");
        EXPECT_FALSE(progress.cancelRequested.load());
        EXPECT_EQ(progress.receivedBytes.load(), 0);
        EXPECT_EQ(progress.chunkReady.load(), 0);
        return Downloaded{200, 5};
    });
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(outcome.ok());
    EXPECT_EQ(progress.downloadActive.load(), 0);
}

TEST(DownloadProtocolTest, RunnerRunsTheTransferAndItsOutcomeComesBack) {
    DownloadProgress progress;
    bool windowShown = false;
    const DownloadResult outcome = RunDownloadProtocol(
        progress, 1, "x", []() -> DownloadResult { return FailDownload(DownloadStatus::Cancelled, {}, 200, 10); },
        [&](const Transfer& transfer) {
            windowShown = progress.downloadActive.load() == 1;
            return transfer();
        });
    EXPECT_TRUE(windowShown);
    ASSERT_FALSE(outcome);
    EXPECT_EQ(outcome.failure().status, DownloadStatus::Cancelled);
    EXPECT_EQ(progress.downloadActive.load(), 0);
}

TEST(DownloadProtocolTest, FlagIsClearedEvenWhenTheRunnerThrows) {
    DownloadProgress progress;
    EXPECT_THROW((void)RunDownloadProtocol(
                     progress, 1, "x", []() -> DownloadResult { return Downloaded{}; },
                     [](const Transfer&) -> DownloadResult { throw std::runtime_error("no thread"); }),
                 std::runtime_error);
    EXPECT_EQ(progress.downloadActive.load(), 0);
}

TEST(DownloadFailureTest, Messages) {
    EXPECT_EQ(FailDownload(DownloadStatus::ErrorStatus, {}, 404, 1).message, "error status 404");
    EXPECT_EQ(FailDownload(DownloadStatus::NetworkFailure, "Couldn't connect to server").message,
              "network failure: Couldn't connect to server");
    EXPECT_EQ(FailDownload(DownloadStatus::Rejected, "no length announced").message, "rejected: no length announced");
    EXPECT_EQ(FailDownload(DownloadStatus::WriteFailure, "cannot write x: No space left on device").message,
              "write failure: cannot write x: No space left on device");
    EXPECT_EQ(FailDownload(DownloadStatus::Cancelled, {}, 200, 1).message, "cancelled");
}

}  // namespace
}  // namespace songloader
