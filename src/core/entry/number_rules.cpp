// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/entry/number_rules.h"

#include <set>

namespace songloader {

std::int32_t NextFreeUserNumber(const SongList& deviceSongs, const SongList& workSongs) {
    std::set<std::int32_t> used;
    for (const SongList* songs : {&deviceSongs, &workSongs}) {
        for (const ROWELEMENT& song : *songs) {
            if (song.number >= kFirstUserNumber) used.insert(song.number);
        }
    }
    std::int32_t next = kFirstUserNumber;
    for (std::int32_t number : used) {
        if (number != next) break;
        ++next;
    }
    return next;
}

}  // namespace songloader
