// SPDX-License-Identifier: GPL-3.0-or-later
// Builds SgList.dat from 49,999 tie-heavy songs with the production builder and with the literal
// reference, and checks that both give the same bytes.
#include <cstdio>

#include "bench_clock.h"

#include "core/songlist/song_list_writer.h"
#include "support/song_list_reference.h"
#include "support/song_samples.h"

int main() {
    using namespace songloader;
    const SongText text = WriteSongText(TieHeavySongs(2024, 49999));
    std::printf("songs: %zu, song text: %zu bytes\n", text.rowCount, text.bytes.size());

    // The first build of this process, then warm ones; the comparison is of processor time.
    Result<std::vector<std::uint8_t>> build = Fail("not built");
    bench::Report("BuildSongList", 4, [&] { build = BuildSongList(&text); });
    const bench::Spent builder = bench::Measure([&] { build = BuildSongList(&text); });
    if (!build) {
        std::printf("build failed: %s\n", build.message().c_str());
        return 1;
    }
    std::printf("BuildSongList: %.1f ms (cpu %.1f), %zu bytes\n", builder.wallMs, builder.cpuMs, build->size());

    std::vector<std::uint8_t> reference;
    const bench::Spent literal = bench::Measure([&] { reference = ReferenceSongList(text); });
    std::printf("literal reference: %.1f ms (cpu %.1f)\n", literal.wallMs, literal.cpuMs);
    std::printf("speed-up in processor time: %.0fx\n", literal.cpuMs / builder.cpuMs);
    const bool same = reference == *build;
    std::printf("identical bytes: %s\n", same ? "yes" : "NO");
    std::printf("targets: under 0.1 s %s, at least 100x %s\n", builder.wallMs < 100 ? "met" : "MISSED",
                literal.cpuMs / builder.cpuMs >= 100 ? "met" : "MISSED");
    return same ? 0 : 1;
}
