// SPDX-License-Identifier: GPL-3.0-or-later
// Download speed and memory of the HTTP layer against the loopback cloud server, compared with the
// curl command line tool on the same file in the same run; probe times against a refused port and
// a silent server; a download over 2 GiB.
//   bench_cloud_download [--stall-seconds N] [--skip-big]
// The stall limit defaults to the program's own (30 s).
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "core/cloud/cloud_client.h"
#include "core/cloud/curl_library.h"
#include "support/temp_dir.h"
#include "support/test_cloud_server.h"

extern char** environ;

using namespace songloader;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::size_t kMiB = 1 << 20;
constexpr std::size_t kDownloadBytes = 256 * kMiB;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

long PeakRssKiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void WritePatternFile(const std::filesystem::path& file, std::size_t size) {
    std::ofstream out(file, std::ios::binary);
    std::vector<char> block(kMiB);
    unsigned value = 7;
    for (char& c : block) {
        value = value * 1103515245u + 12345u;
        c = static_cast<char>(value >> 16);
    }
    for (std::size_t done = 0; done < size; done += block.size()) {
        block[0] = static_cast<char>(done / kMiB);  // every MiB differs
        out.write(block.data(), static_cast<std::streamsize>(std::min(block.size(), size - done)));
    }
}

bool SameBytes(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::ifstream x(a, std::ios::binary), y(b, std::ios::binary);
    std::vector<char> bx(kMiB), by(kMiB);
    while (x && y) {
        x.read(bx.data(), static_cast<std::streamsize>(bx.size()));
        y.read(by.data(), static_cast<std::streamsize>(by.size()));
        if (x.gcount() != y.gcount() || std::memcmp(bx.data(), by.data(), static_cast<std::size_t>(x.gcount())) != 0) {
            return false;
        }
    }
    return x.eof() && y.eof();
}

// Time of `curl -s -o FILE URL`, or a negative value when curl failed.
double TimeCurlTool(const std::string& url, const std::filesystem::path& file) {
    std::vector<std::string> args = {"curl", "-s", "-o", file.string(), url};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const auto start = Clock::now();
    pid_t pid = 0;
    if (::posix_spawnp(&pid, "curl", nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    ::waitpid(pid, &status, 0);
    const double seconds = Seconds(Clock::now() - start);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int ThroughputAndMemory(test::TestCloudServer& server, const test::TempDir& cloud, const test::TempDir& local) {
    WritePatternFile(cloud / "900001.mp4", kDownloadBytes);
    const long rssBefore = PeakRssKiB();
    DownloadProgress progress;
    CloudClient client(server.baseUrl(), progress);
    std::vector<double> ours, tool;
    for (int round = 0; round < 5; ++round) {
        ::sync();  // neither run pays for the other's write-out
        const double curlSeconds = TimeCurlTool(server.baseUrl() + "900001.mp4", local / "by-curl.mp4");
        ::sync();
        const auto start = Clock::now();
        const DownloadResult outcome = client.DownloadFile("900001.mp4", local / "ours.mp4");
        const double ourSeconds = Seconds(Clock::now() - start);
        if (!outcome.ok() || curlSeconds < 0) {
            std::cerr << "download failed: " << (outcome ? "done" : outcome.message()) << " / curl " << curlSeconds
                      << "\n";
            return 1;
        }
        ours.push_back(ourSeconds);
        tool.push_back(curlSeconds);
    }
    if (!SameBytes(cloud / "900001.mp4", local / "ours.mp4")) {
        std::cerr << "the downloaded file differs from the served one\n";
        return 1;
    }
    const double mib = static_cast<double>(kDownloadBytes) / kMiB;
    const double ourRate = mib / Median(ours), toolRate = mib / Median(tool);
    std::printf(
        "256 MiB download (median of 5): ours %.0f MiB/s (%.3f s, incl. fsync), curl -s -o %.0f MiB/s "
        "(%.3f s) -> %.0f%% of curl (target >= 80%%)\n",
        ourRate, Median(ours), toolRate, Median(tool), 100.0 * ourRate / toolRate);
    std::printf("peak RSS of the whole process (server + client): %.1f MB before, %.1f MB after (target < 50 MB)\n",
                rssBefore / 1024.0, PeakRssKiB() / 1024.0);
    std::filesystem::remove(local / "ours.mp4");
    std::filesystem::remove(local / "by-curl.mp4");
    std::filesystem::remove(cloud / "900001.mp4");
    return 0;
}

void RefusedProbe() {
    DownloadProgress progress;
    const test::RefusedPort nobody;
    CloudClient client(nobody.baseUrl(), progress);
    std::vector<double> times;
    for (int i = 0; i < 20; ++i) {
        const auto start = Clock::now();
        const Result<> result = client.ProbeNetwork();
        times.push_back(Seconds(Clock::now() - start) * 1000);
        if (result) std::printf("unexpected probe result: reached\n");
    }
    std::printf("probe against a refused port: median %.2f ms, worst %.2f ms (target < 50 ms)\n", Median(times),
                *std::max_element(times.begin(), times.end()));
}

void StalledServers(test::TestCloudServer& server, const test::TempDir& cloud, const test::TempDir& local,
                    std::chrono::milliseconds stall) {
    DownloadProgress progress;
    test::SilentServer silent;
    CloudClient silentClient(silent.baseUrl(), progress);
    silentClient.SetTimeouts({std::chrono::milliseconds(10000), stall});
    auto start = Clock::now();
    const Result<> probe = silentClient.ProbeNetwork();
    std::printf("probe against a server that never answers: %s after %.2f s (stall limit %.1f s)\n",
                probe ? "reached" : probe.message().c_str(), Seconds(Clock::now() - start), stall.count() / 1000.0);

    test::WriteBytes(cloud / "stall.mp4", std::string(4 * kMiB, 's'));
    server.SetBehaviour("stall.mp4", {.stallAfter = kMiB});
    CloudClient client(server.baseUrl(), progress);
    client.SetTimeouts({std::chrono::milliseconds(10000), stall});
    start = Clock::now();
    const DownloadResult outcome = client.DownloadFile("stall.mp4", local / "stall.mp4");
    std::printf("download stalling after 1 MiB: %s after %.2f s, target file %s\n",
                outcome ? "done" : outcome.message().c_str(), Seconds(Clock::now() - start),
                std::filesystem::exists(local / "stall.mp4") ? "present" : "absent");
}

int BigDownload(test::TestCloudServer& server, const test::TempDir& cloud, const test::TempDir& local) {
    // A sparse file on the server side; the download really transfers and writes every byte.
    const std::uintmax_t size = (std::uintmax_t{1} << 31) + 3 * kMiB + 5;
    test::WriteBytes(cloud / "big.mp4", "");
    std::filesystem::resize_file(cloud / "big.mp4", size);
    DownloadProgress progress;
    CloudClient client(server.baseUrl(), progress);
    const std::int64_t announced = AnnouncedSizeOrNone(client.RemoteFileSize("big.mp4"));
    progress.progressSteps = ProgressStepsFor(announced);
    const auto start = Clock::now();
    const DownloadResult outcome = client.DownloadFile("big.mp4", local / "big.mp4");
    const auto local_size =
        std::filesystem::exists(local / "big.mp4") ? std::filesystem::file_size(local / "big.mp4") : 0;
    const bool ok = outcome.ok() && announced == static_cast<std::int64_t>(size) && local_size == size &&
                    outcome->bytes == static_cast<std::int64_t>(size) &&
                    progress.StepPosition() == progress.progressSteps;
    std::printf("download over 2 GiB (%ju bytes): %s in %.1f s, announced %lld, written %ju, steps %d of %d -> %s\n",
                size, outcome ? "done" : outcome.message().c_str(), Seconds(Clock::now() - start),
                static_cast<long long>(announced), local_size, progress.StepPosition(), progress.progressSteps.load(),
                ok ? "correct" : "WRONG");
    std::filesystem::remove(local / "big.mp4");
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const CurlLibrary curl;
    std::chrono::milliseconds stall = CloudTimeouts{}.stall;
    bool big = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--stall-seconds" && i + 1 < argc) {
            stall = std::chrono::milliseconds(static_cast<long>(std::stod(argv[++i]) * 1000));
        } else if (arg == "--skip-big") {
            big = false;
        } else {
            std::cerr << "usage: bench_cloud_download [--stall-seconds N] [--skip-big]\n";
            return 2;
        }
    }
    test::TempDir cloud, local;
    test::TestCloudServer server(cloud.path());
    int failures = ThroughputAndMemory(server, cloud, local);
    RefusedProbe();
    StalledServers(server, cloud, local, stall);
    if (big) failures += BigDownload(server, cloud, local);
    server.Stop();
    return failures == 0 ? 0 : 1;
}
