// Builds SgList.dat from 49,999 tie-heavy songs with the production builder and with the literal
// reference, and checks that both give the same bytes.
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "core/songlist/song_list_writer.h"
#include "support/song_list_reference.h"
#include "support/song_samples.h"

namespace {

template <typename F>
double Seconds(F&& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
    using namespace songloader;
    const SongText text = WriteSongText(TieHeavySongs(2024, 49999));
    std::printf("songs: %zu, song text: %zu bytes\n", text.rowCount, text.bytes.size());

    SongListBuild build;
    double best = 1e9;
    for (int run = 0; run < 5; ++run) best = std::min(best, Seconds([&] { build = BuildSongList(&text); }));
    if (!build.ok) {
        std::printf("build failed: %s\n", build.notices.empty() ? "" : build.notices[0].text.c_str());
        return 1;
    }
    std::printf("BuildSongList: %.4f s (best of 5), %zu bytes\n", best, build.bytes.size());

    std::vector<std::uint8_t> reference;
    const double literal = Seconds([&] { reference = ReferenceSongList(text); });
    std::printf("literal reference: %.3f s\n", literal);
    std::printf("speed-up: %.0fx\n", literal / best);
    const bool same = reference == build.bytes;
    std::printf("identical bytes: %s\n", same ? "yes" : "NO");
    std::printf("targets: under 0.1 s %s, at least 100x %s\n", best < 0.1 ? "met" : "MISSED",
                literal / best >= 100 ? "met" : "MISSED");
    return same ? 0 : 1;
}
