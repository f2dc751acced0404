#include "core/entry/number_rules.h"

#include <algorithm>
#include <vector>

namespace songloader {

std::int32_t NextFreeUserNumber(const SongList& deviceSongs, const SongList& workSongs) {
    std::vector<std::int32_t> used;
    used.reserve(deviceSongs.size() + workSongs.size());
    for (const ROWELEMENT& song : deviceSongs) {
        if (song.number >= kFirstUserNumber) used.push_back(song.number);
    }
    for (const ROWELEMENT& song : workSongs) used.push_back(song.number);
    std::sort(used.begin(), used.end());

    if (used.empty() || used.front() != kFirstUserNumber) return kFirstUserNumber;
    for (std::size_t i = 0; i + 1 < used.size(); ++i) {
        if (used[i + 1] - used[i] > 1) return used[i] + 1;
    }
    return used.back() + 1;
}

}  // namespace songloader
