// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a full 65,535-entry list file, and searching a 100,000-song cloud catalogue.
#include <cstdio>
#include <string>
#include <random>
#include <vector>

#include "bench_clock.h"
#include "core/catalogue/cloud_catalogue.h"
#include "core/catalogue/list_file_reader.h"
#include "support/cloud_catalogue_fixture.h"
#include "support/list_file_bytes.h"
#include "support/temp_dir.h"

using namespace songloader;

namespace {

std::string Word(std::mt19937& random) {
    static const char* words[] = {"love",    "heart", "night", "dance", "rain", "sun", "Lonely", "Amor", "baby",
                                  "forever", "dream", "home",  "fire",  "blue", "sky", "road",   "time", "star"};
    return words[random() % 18];
}

}  // namespace

int main() {
    test::TempDir dir;
    std::mt19937 random(1);

    std::vector<test::ListEntry> entries;
    for (int i = 0; i < 65535; ++i) {
        entries.push_back({static_cast<std::uint32_t>(100000 + i), static_cast<std::uint8_t>(i % 16),
                           Word(random) + " " + Word(random) + " " + Word(random), "Artist " + Word(random), "Composer",
                           "Lyricist"});
    }
    test::WriteBytes(dir / "SgList.dat", test::MakeListFileBytes(entries));
    std::size_t read = 0;
    bench::Report("read 65,535-entry list file (target < 100 ms)", 4, [&] {
        Result<SongList> result = ReadListFile(dir / "SgList.dat", ListKind::Device);
        read = result ? result->size() : 0;
    });
    std::printf("  %zu songs\n", read);

    std::vector<test::CatalogueSong> songs;
    for (int i = 0; i < 100000; ++i) {
        songs.push_back(
            {100000 + i, static_cast<int>(random() % 28), Word(random) + " " + Word(random), Word(random) + " Band"});
    }
    test::WriteCloudCatalogue(dir / "Msong.db", songs);
    CloudCatalogue cloud;
    bench::Report("open the 100,000-song catalogue (once per sync)", 2,
                  [&] { (void)cloud.OpenCatalogueDatabase(dir.path()); });
    for (const char* text : {"lo", "Amor", "x", ""}) {
        for (SearchFilter filter : {SearchFilter::All, SearchFilter::Opm}) {
            // The search alone; bench_search_keystroke adds the row texts and the on-device marks.
            std::size_t hits = 0;
            const std::string what = std::string("search \"") + text + "\" (" +
                                     (filter == SearchFilter::All ? "all" : "OPM") +
                                     ") in 100,000 songs, without marks (target < 30 ms)";
            bench::Report(what.c_str(), 4, [&] {
                hits = 0;
                (void)cloud.SearchCloudCatalogue(text, filter, [&](const ROWELEMENT&, std::size_t) { ++hits; });
            });
            std::printf("  %zu hits\n", hits);
        }
    }
    return 0;
}
