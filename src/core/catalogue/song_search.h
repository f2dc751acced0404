// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "core/catalogue/row_element.h"

namespace songloader {

// `prefix` starts `text`, byte for byte, ASCII letters in any case (what LIKE 'prefix%' matches
// in SQLite's default mode; device texts are code-page bytes, so bytes are the right unit).
bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix);

// The search's rule for one song: its title or its artist starts with `text` (device bytes).
bool SongMatchesSearch(const ROWELEMENT& song, std::string_view text);

}  // namespace songloader
