// SPDX-License-Identifier: GPL-3.0-or-later
// `songloader-cli import` of a folder as a whole process, against `cp` of the same files followed
// by `sync`, in alternated pairs on fresh device folders; and the probe alone per file.
// usage: bench_import_files [SONGLOADER_CLI [PAIRS [WORK_FOLDER]]]
//   cases: 500 files of 64 KiB; 5 files of 200 MiB. Target: probing < 20 ms per local file.
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

namespace {

namespace fs = std::filesystem;

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int RunQuiet(const std::vector<std::string>& args) {
    // The child must not write out what this process has buffered.
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        std::vector<char*> argv;
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Case(const std::string& cli, const fs::path& work, const char* name, int files, std::uint64_t bytes, int pairs) {
    const fs::path source = work / (std::string(name) + "-source");
    fs::create_directories(source);
    for (int i = 0; i < files; ++i) {
        char file[64];
        std::snprintf(file, sizeof file, "Artist %03d - Title %03d.mp4", i, i);
        songloader::test::WriteMediaFile(source / file, bytes, static_cast<std::uint32_t>(i + 1));
    }
    RunQuiet({"sync"});

    std::vector<double> probe;
    for (int round = 0; round < 3; ++round) {
        probe.push_back(Seconds([&] {
                            for (const auto& entry : fs::directory_iterator(source)) {
                                if (!songloader::ProbeMedia(entry.path(), entry.path().string())) std::exit(1);
                            }
                        }) * 1000.0 / files);
    }

    std::vector<double> imports, copies;
    for (int pair = 0; pair < pairs; ++pair) {
        const fs::path device = work / "device";
        fs::remove_all(device);
        fs::create_directories(device / "songs");
        const double import = Seconds([&] {
            if (RunQuiet({cli, "import", device.string(), source.string(), "--language", "EG", "--quiet"}) != 0) {
                std::fprintf(stderr, "import failed\n");
                std::exit(1);
            }
        });
        fs::remove_all(device);
        fs::create_directories(device);
        const double copy = Seconds([&] {
            RunQuiet({"cp", "-r", source.string(), (device / "songs").string()});
            RunQuiet({"sync"});
        });
        fs::remove_all(device);
        imports.push_back(import);
        copies.push_back(copy);
    }
    std::printf("%-22s import %.3f s   cp+sync %.3f s   ratio %.2f   probe %.2f ms/file   (median of %d pairs)\n", name,
                Median(imports), Median(copies), Median(imports) / Median(copies), Median(probe), pairs);
    fs::remove_all(source);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string cli = fs::absolute(argc > 1 ? argv[1] : "build/src/cli/songloader-cli").string();
    const int pairs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    std::string pattern = (argc > 3 ? std::string(argv[3]) : fs::temp_directory_path().string()) + "/bench-import-XXXXXX";
    if (!::mkdtemp(pattern.data())) return 1;
    const fs::path work = pattern;
    Case(cli, work, "500 files of 64 KiB", 500, 64 * 1024, pairs);
    Case(cli, work, "5 files of 200 MiB", 5, 200ull * 1024 * 1024, pairs);
    fs::remove_all(work);
    return 0;
}
