// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/entry/number_rules.h"

#include <cstdlib>
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

bool NumberFirstDigitAccepted(std::string_view text) { return text.empty() || text[0] == '9'; }

bool NumberBelowUserRange(std::string_view text) {
    return !text.empty() && std::atoi(std::string(text).c_str()) < kFirstUserNumber;
}

Result<> CheckNumberBox(std::string_view text) {
    if (!NumberFirstDigitAccepted(text)) return Fail(kFirstDigitMessage);
    // A shorter number is the length check's to refuse.
    if (text.size() == 6 && NumberBelowUserRange(text)) return Fail(kNumberRangeMessage);
    return {};
}

}  // namespace songloader
