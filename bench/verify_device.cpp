// SPDX-License-Identifier: GPL-3.0-or-later
// `songloader-cli verify` on a device of 20,000 songs, as a whole process.
// usage: bench_verify_device [SONGLOADER_CLI [RUNS]]   (target: median < 0.3 s)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/device/device_layout.h"
#include "core/entry/catalogue_rebuild.h"

namespace {

constexpr int kSongs = 20000;

struct Run {
    double wall = 0;
    double cpu = 0;
};

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

Run RunVerify(const std::string& cli, const std::filesystem::path& device) {
    rusage before{};
    ::getrusage(RUSAGE_CHILDREN, &before);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        ::execl(cli.c_str(), cli.c_str(), "verify", device.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "verify failed (status %d)\n", status);
        std::exit(1);
    }
    rusage after{};
    ::getrusage(RUSAGE_CHILDREN, &after);
    return {std::chrono::duration<double>(end - start).count(),
            Seconds(after.ru_utime) - Seconds(before.ru_utime) + Seconds(after.ru_stime) - Seconds(before.ru_stime)};
}

}  // namespace

int main(int argc, char** argv) {
    const std::string cli = argc > 1 ? argv[1] : "build/src/cli/songloader-cli";
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    char pattern[] = "/tmp/bench-verify-XXXXXX";
    if (!::mkdtemp(pattern)) return 1;
    const std::filesystem::path device = pattern;
    const auto songs = songloader::SongFolderOf(device);
    std::filesystem::create_directories(songs);

    songloader::SongList list;
    for (int i = 0; i < kSongs; ++i) {
        songloader::ROWELEMENT song;
        song.number = 100000 + i * 37;
        song.numberText = std::to_string(song.number);
        song.title = "Song " + song.numberText;
        song.artist = "Artist " + std::to_string(i % 500);
        const auto media = songloader::MediaTargetPath(songs, song.numberText, "clip.mp4");
        std::filesystem::create_directories(media.parent_path());
        std::ofstream(media) << 'v';
        list.push_back(std::move(song));
    }
    if (!songloader::RebuildDeviceCatalogue(list, songs, songloader::RebuildMode::Add).ok()) return 1;

    std::vector<Run> results;
    for (int i = 0; i < runs; ++i) results.push_back(RunVerify(cli, device));
    const Run first = results.front();
    std::sort(results.begin(), results.end(), [](const Run& a, const Run& b) { return a.wall < b.wall; });
    std::printf(
        "verify, %d songs: first %.3f s (cpu %.3f s); median %.3f s (cpu %.3f s), min %.3f s, max %.3f s, "
        "%d runs; target < 0.3 s\n",
        kSongs, first.wall, first.cpu, results[results.size() / 2].wall, results[results.size() / 2].cpu,
        results.front().wall, results.back().wall, runs);
    if (!std::getenv("BENCH_KEEP_DEVICE")) std::filesystem::remove_all(device);
    else std::printf("device kept at %s\n", device.c_str());
    return 0;
}
