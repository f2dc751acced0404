// SPDX-License-Identifier: GPL-3.0-or-later
// `songloader-cli import --convert` of one file the player plays only after conversion, as a whole
// process, against the plain ffmpeg command line with the same settings on the same file, in
// alternated pairs. Target: the import's throughput at least 90 % of ffmpeg's.
// usage: bench_convert_files [SONGLOADER_CLI [PAIRS [WORK_FOLDER [SECONDS]]]]
//   the source: SECONDS (default 20) of a 1280x720 test picture and a tone, as VP8/Vorbis WebM.
//        bench_convert_files --command SOURCE TARGET
//   prints the ffmpeg command line a conversion of SOURCE into TARGET runs, one word a line (bench/run's
//   peer).
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

#include "core/convert/conversion_recipe.h"
#include "core/media/media_probe.h"
#include "core/media/player_profile.h"

#include "bench_runs.h"

namespace {

namespace fs = std::filesystem;

using songloader::bench::Median;
using songloader::bench::RunQuiet;
using songloader::bench::Seconds;

void Require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "%s failed\n", what);
    std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--command") {
        const auto facts = songloader::ProbeMedia(argv[2], argv[2]);
        Require(facts.ok(), "probing the source");
        std::printf("ffmpeg\n");
        for (const std::string& word : songloader::ConversionArguments(
                 argv[2], *facts, songloader::BuiltInPlayerProfile(), argv[3], std::nullopt)) {
            std::printf("%s\n", word.c_str());
        }
        return 0;
    }
    const std::string cli = fs::absolute(argc > 1 ? argv[1] : "build/src/cli/songloader-cli").string();
    const int pairs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    std::string pattern =
        (argc > 3 ? std::string(argv[3]) : fs::temp_directory_path().string()) + "/bench-convert-XXXXXX";
    const std::string seconds = argc > 4 ? argv[4] : "20";
    if (!::mkdtemp(pattern.data())) return 1;
    const fs::path work = pattern;
    const fs::path source = work / "source" / "Artist - Title.webm";
    fs::create_directories(source.parent_path());
    Require(RunQuiet({"ffmpeg",       "-y",
                      "-f",           "lavfi",
                      "-i",           "testsrc2=s=1280x720:r=25:d=" + seconds,
                      "-f",           "lavfi",
                      "-i",           "sine=frequency=440:duration=" + seconds,
                      "-c:v",         "libvpx",
                      "-deadline",    "realtime",
                      "-cpu-used",    "8",
                      "-b:v",         "2M",
                      "-c:a",         "libvorbis",
                      source.string()}) == 0,
            "making the source");
    const auto facts = songloader::ProbeMedia(source, source.string());
    Require(facts.ok(), "probing the source");
    // The same command line the import runs.
    std::vector<std::string> plain{"ffmpeg"};
    const auto args = songloader::ConversionArguments(source, *facts, songloader::BuiltInPlayerProfile(),
                                                      work / "plain.mp4", std::nullopt);
    plain.insert(plain.end(), args.begin(), args.end());

    std::vector<double> imports, plains;
    for (int pair = 0; pair < pairs; ++pair) {
        const fs::path device = work / "device";
        fs::remove_all(device);
        fs::create_directories(device / "songs");
        imports.push_back(Seconds([&] {
            Require(RunQuiet({cli, "import", device.string(), source.parent_path().string(), "--language", "EG",
                              "--convert", "--quiet"}) == 0,
                    "import");
        }));
        plains.push_back(Seconds([&] { Require(RunQuiet(plain) == 0, "ffmpeg"); }));
        fs::remove(work / "plain.mp4");
    }
    std::printf(
        "convert %ss 1280x720 VP8: import --convert %.2f s   ffmpeg %.2f s   throughput %.0f %% of ffmpeg"
        "   (median of %d pairs)\n",
        seconds.c_str(), Median(imports), Median(plains), 100.0 * Median(plains) / Median(imports), pairs);
    fs::remove_all(work);
    return 0;
}
