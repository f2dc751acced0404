// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/songlist/word_count.h"

namespace songloader {

std::uint32_t WordCount(std::string_view title, int language) {
    std::uint32_t count = 0;
    if (language != 1 && language != 10) {
        count = 1;
        for (char c : title) {
            if (c == ' ' || c == '/' || c == '\\') ++count;
        }
        return count;
    }
    // An ASCII word counts only when a space closes it; each byte above 0x80 counts while a word
    // is open, and every second such byte completes one two-byte character.
    bool wordOpen = false;
    std::uint32_t highBytes = 0;
    for (char ch : title) {
        const auto b = static_cast<std::uint8_t>(ch);
        if (b == ' ') {
            if (wordOpen) {
                ++count;
                wordOpen = false;
            }
        } else if (b <= 0x80) {
            wordOpen = true;
        } else {
            if (wordOpen) ++count;
            ++highBytes;
            if (highBytes % 2 == 0) ++count;
        }
    }
    return count;
}

}  // namespace songloader
