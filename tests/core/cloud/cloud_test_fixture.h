// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "core/cloud/cloud_client.h"
#include "support/list_file_bytes.h"
#include "support/temp_dir.h"
#include "support/test_cloud_server.h"

namespace songloader::test {

// What the tests read of a download, whether it completed or not.
inline std::string DescribeDownload(const DownloadResult& result) { return result ? "done" : result.message(); }
inline std::optional<DownloadStatus> FailureKind(const DownloadResult& result) {
    if (result) return std::nullopt;
    return result.failure().status;
}
inline long HttpStatusOf(const DownloadResult& result) {
    return result ? result->httpStatus : result.failure().httpStatus;
}
inline std::int64_t BytesOf(const DownloadResult& result) { return result ? result->bytes : result.failure().bytes; }
inline std::string DetailOf(const DownloadResult& result) { return result ? std::string() : result.failure().detail; }
// A size probe's answer: the length, "none" when no length came, "failed" when the transfer failed.
inline std::string Answer(const Result<std::optional<std::int64_t>>& size) {
    if (!size) return "failed";
    return *size ? std::to_string(**size) : "none";
}

// A loopback cloud serving `cloud` and a client of it with short limits, plus a local folder.
class CloudTest : public ::testing::Test {
protected:
    CloudTest() : server(cloud.path()), client(server.baseUrl(), progress) {
        client.SetTimeouts({std::chrono::milliseconds(2000), std::chrono::milliseconds(300)});
    }

    void Serve(const std::string& name, const std::string& bytes) { WriteBytes(cloud / name, bytes); }

    TempDir cloud;
    TempDir local;
    TestCloudServer server;
    DownloadProgress progress;
    CloudClient client;
};

// Bytes that differ at every position, so a shifted or cut copy is noticed.
inline std::string Pattern(std::size_t size, unsigned seed = 1) {
    std::string bytes(size, '\0');
    unsigned value = seed;
    for (char& c : bytes) {
        value = value * 1103515245u + 12345u;
        c = static_cast<char>(value >> 16);
    }
    return bytes;
}

// A list file of these songs, as a served body.
inline std::string ListBytes(const std::vector<ListEntry>& entries) {
    const std::vector<std::uint8_t> bytes = MakeListFileBytes(entries);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace songloader::test
