// The whole device catalogue rebuild (usbsong.db + SgList.dat) of 49,999 songs.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <random>

#include "core/entry/catalogue_rebuild.h"
#include "support/temp_dir.h"

using namespace songloader;

int main() {
    std::mt19937 random(3);
    const char* titles[] = {"Let It Be", "let it be", "LET IT BE", "Love Me", "Lonely", "Amor Mio", "Yesterday",
                            "Hey Jude", "hey jude", "Baby", "\xC4\xE3\xBA\xC3", "Tinh Y\xEAu"};
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
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        auto start = std::chrono::steady_clock::now();
        RebuildResult result = RebuildDeviceCatalogue(songs, dir.path(), RebuildMode::Add);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!result.ok) {
            std::printf("rebuild failed: %s\n", result.notices.empty() ? "?" : result.notices[0].text.c_str());
            return 1;
        }
        best = std::min(best, seconds);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("rebuild of 49,999 songs (usbsong.db + SgList.dat): %.0f ms (target < 1000 ms)\n", best * 1e3);
    std::printf("peak memory of the whole run: %.1f MB (target < 150 MB)\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}
