// SPDX-License-Identifier: GPL-3.0-or-later
// One search keystroke of the window on a large device: the cloud catalogue searched, and each
// hit given its row texts and its "on device" mark, as the window's search does.
//   bench_search_keystroke DEVICE TEXT [WARM_RUNS]   (a device made by bench_make_devices: big/)
// Also prints the same keystroke with the marks found by walking the device list, the way they
// were found before the device songs had a number set.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_clock.h"
#include "core/catalogue/cloud_catalogue.h"
#include "core/catalogue/list_file_reader.h"
#include "core/catalogue/numbered_song_list.h"
#include "core/text/code_page.h"

using namespace songloader;

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_search_keystroke DEVICE TEXT [WARM_RUNS]\n");
        return 2;
    }
    const std::filesystem::path songFolder = std::filesystem::path(argv[1]) / "songs";
    const std::string text = argv[2];
    const int warm = argc > 3 ? std::atoi(argv[3]) : 9;
    NumberedSongList device;
    if (const Result<SongList> listed = ReadListFile(songFolder / "SgList.dat", ListKind::Device)) {
        for (const ROWELEMENT& song : *listed) device.Append(song);
    }
    CloudCatalogue cloud;
    if (!cloud.OpenCatalogueDatabase(songFolder)) {
        std::fprintf(stderr, "no catalogue in %s\n", songFolder.c_str());
        return 1;
    }
    std::size_t hits = 0, marked = 0;
    auto keystroke = [&](auto&& onDevice) {
        return [&, onDevice] {
            hits = marked = 0;
            (void)cloud.SearchCloudCatalogue(text, SearchFilter::All, [&](const ROWELEMENT& hit, std::size_t) {
                const std::string row = DeviceToUtf8(hit.numberText, "CP1252") + DeviceToUtf8(hit.title, "CP1252") +
                                        DeviceToUtf8(hit.artist, "CP1252");
                hits += row.empty() ? 0 : 1;
                marked += onDevice(hit.number) ? 1 : 0;
            });
        };
    };
    bench::Report("search keystroke, marks from the number set", warm,
                  keystroke([&](std::int32_t number) { return device.Contains(number); }));
    std::printf("  %zu hits, %zu marked on device, device of %zu songs\n", hits, marked, device.size());
    bench::Report("search keystroke, marks by walking the list", std::min(warm, 2), keystroke([&](std::int32_t number) {
                      return std::any_of(device.begin(), device.end(),
                                         [number](const ROWELEMENT& song) { return song.number == number; });
                  }));
    return 0;
}
