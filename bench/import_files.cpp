// SPDX-License-Identifier: GPL-3.0-or-later
// `songloader-cli import` of a folder as a whole process, against `cp -r` of the same files
// followed by `sync` (and against the import of another build), alternated round by round on
// fresh device folders; and the probe alone per file.
// usage: bench_import_files [--before OLD_CLI] [--cases 500,10000,big] [SONGLOADER_CLI [ROUNDS [WORK_FOLDER]]]
//   cases: 500 files of 64 KiB and 10,000 files of 16 KiB (each <= 1.5x cp -r + sync); 5 files of
//   200 MiB (>= 95 % of the speed of cp -r + sync). Target: probing < 20 ms per local file.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/media/media_probe.h"
#include "support/media_samples.h"

#include "bench_runs.h"

namespace {

namespace fs = std::filesystem;

using songloader::bench::Median;
using songloader::bench::RunQuiet;
using songloader::bench::Seconds;

struct Contestant {
    std::string name;
    std::string cli;  // empty: the peer, cp -r + sync
    std::vector<double> seconds;
};

// One case: every round runs the contestants in turn, each on a fresh device folder with the disk
// synced before it, so that no run pays for another's writes.
void Case(std::vector<Contestant> contestants, const fs::path& work, const char* name, int files, std::uint64_t bytes,
          int rounds) {
    const fs::path source = work / (std::string(name) + "-source");
    fs::create_directories(source);
    for (int i = 0; i < files; ++i) {
        char file[64];
        std::snprintf(file, sizeof file, "Artist %05d - Title %05d.mp4", i, i);
        songloader::test::WriteMediaFile(source / file, bytes, static_cast<std::uint32_t>(i + 1));
    }
    RunQuiet({"sync"});

    std::vector<double> probe;
    for (int round = 0; round < 3; ++round) {
        probe.push_back(Seconds([&] {
                            for (const auto& entry : fs::directory_iterator(source)) {
                                if (!songloader::ProbeMedia(entry.path(), entry.path().string())) std::exit(1);
                            }
                        }) *
                        1000.0 / files);
    }

    // Every run gets a device folder of its own, kept until the case ends: ext4 walks past inodes
    // freed in the last few seconds when it makes new ones, a cost that would fall on whichever
    // contestant starts a second after the previous run's files were removed. A case of few big
    // files frees too few inodes to matter, and its runs would fill the disk if they were kept.
    const bool keepDevices = files > 10;
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t index = 0; index < contestants.size(); ++index) {
            Contestant& contestant = contestants[index];
            const fs::path device = work / ("device-" + std::to_string(round) + "-" + std::to_string(index));
            fs::create_directories(device / "songs");
            RunQuiet({"sync"});
            contestant.seconds.push_back(Seconds([&] {
                if (contestant.cli.empty()) {
                    RunQuiet({"cp", "-r", source.string(), (device / "songs" / "copy").string()});
                    RunQuiet({"sync"});
                } else if (RunQuiet({contestant.cli, "import", device.string(), source.string(), "--language", "EG",
                                     "--quiet"}) != 0) {
                    std::fprintf(stderr, "%s: import failed\n", contestant.name.c_str());
                    std::exit(1);
                }
            }));
            if (!keepDevices) fs::remove_all(device);
        }
    }
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t index = 0; index < contestants.size(); ++index) {
            fs::remove_all(work / ("device-" + std::to_string(round) + "-" + std::to_string(index)));
        }
    }
    std::printf("%s (%d rounds, contestants alternated; probe %.2f ms/file)\n", name, rounds, Median(probe));
    const double peer = Median(contestants.front().seconds);
    for (const Contestant& contestant : contestants) {
        const auto [low, high] = std::minmax_element(contestant.seconds.begin(), contestant.seconds.end());
        const double median = Median(contestant.seconds);
        std::printf("  %-12s median %8.3f s  [%.3f .. %.3f]  = %.2fx cp -r + sync  (%.0f %% of its speed)\n",
                    contestant.name.c_str(), median, *low, *high, median / peer, peer / median * 100.0);
        // Round by round: a round far off the others shows a disturbed machine, not the contestant.
        std::printf("  %-12s rounds", "");
        for (double seconds : contestant.seconds) std::printf(" %.3f", seconds);
        std::printf("\n");
    }
    std::fflush(stdout);
    fs::remove_all(source);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string before;
    std::string cases = "500,10000,big";
    for (std::size_t i = 0; i + 1 < args.size();) {
        if (args[i] == "--before") {
            before = fs::absolute(args[i + 1]).string();
        } else if (args[i] == "--cases") {
            cases = args[i + 1];
        } else {
            ++i;
            continue;
        }
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    }
    const std::string cli = fs::absolute(!args.empty() ? args[0] : "build/src/cli/songloader-cli").string();
    const int rounds = args.size() > 1 ? std::max(1, std::atoi(args[1].c_str())) : 5;
    std::string pattern = (args.size() > 2 ? args[2] : fs::temp_directory_path().string()) + "/bench-import-XXXXXX";
    if (!::mkdtemp(pattern.data())) return 1;
    const fs::path work = pattern;
    std::vector<Contestant> contestants = {{"cp -r + sync", "", {}}};
    if (!before.empty()) contestants.push_back({"before", before, {}});
    contestants.push_back({before.empty() ? "import" : "after", cli, {}});
    const auto wanted = [&](const std::string& name) {
        return ("," + cases + ",").find("," + name + ",") != std::string::npos;
    };
    if (wanted("500")) Case(contestants, work, "500 files of 64 KiB (<= 1.5x)", 500, 64 * 1024, rounds);
    if (wanted("10000")) Case(contestants, work, "10,000 files of 16 KiB (<= 1.5x)", 10000, 16 * 1024, rounds);
    if (wanted("big")) Case(contestants, work, "5 files of 200 MiB (>= 95 %)", 5, 200ull * 1024 * 1024, rounds);
    fs::remove_all(work);
    return 0;
}
