// SPDX-License-Identifier: GPL-3.0-or-later
// The whole device catalogue rebuild (usbsong.db + SgList.dat) of 49,999 songs.
#include <sys/resource.h>

#include <cstdio>
#include <random>
#include <string>

#include "bench_clock.h"
#include "core/entry/catalogue_rebuild.h"
#include "support/temp_dir.h"

using namespace songloader;

int main() {
    std::mt19937 random(3);
    const char* titles[] = {"Let It Be", "let it be", "LET IT BE", "Love Me", "Lonely",           "Amor Mio",
                            "Yesterday", "Hey Jude",  "hey jude",  "Baby",    "\xC4\xE3\xBA\xC3", "Tinh Y\xEAu"};
    const char* artists[] = {"Ann", "ann", "Band", "Beatles", "Carla", "Dino"};
    SongList songs;
    for (int i = 0; i < 49999; ++i) {
        ROWELEMENT song;
        song.number = 900000 + static_cast<int>(random() % 60000);
        song.numberText = std::to_string(song.number);
        song.language = static_cast<int>(random() % 4 == 0 ? 1 : random() % 16);
        song.languageText = "EG";
        song.title = std::string(titles[random() % 12]) + (random() % 3 ? "" : " " + std::to_string(i % 50));
        song.artist = artists[random() % 6];
        song.composer = "Composer";
        song.lyricist = "Lyricist";
        songs.push_back(song);
    }
    test::TempDir dir;
    bool ok = true;
    std::string failure;
    bench::Report("rebuild of 49,999 songs (usbsong.db + SgList.dat; target < 1000 ms)", 2, [&] {
        const Result<CatalogueWritten> result = RebuildDeviceCatalogue(songs, dir.path(), RebuildMode::Add);
        if (!result && ok) failure = result.message().empty() ? "?" : result.message();
        ok = ok && result.ok();
    });
    if (!ok) {
        std::printf("rebuild failed: %s\n", failure.c_str());
        return 1;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory of the whole run: %.1f MB (target < 150 MB)\n",
                static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}
