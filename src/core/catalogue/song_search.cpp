// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/catalogue/song_search.h"

namespace songloader {

namespace {

unsigned char FoldAscii(unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c; }

}  // namespace

bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (FoldAscii(static_cast<unsigned char>(text[i])) != FoldAscii(static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

bool SongMatchesSearch(const ROWELEMENT& song, std::string_view text) {
    return StartsWithIgnoringAsciiCase(song.title, text) || StartsWithIgnoringAsciiCase(song.artist, text);
}

}  // namespace songloader
