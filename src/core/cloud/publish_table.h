// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/row_element.h"
#include "core/common/result.h"

namespace songloader {

// One song of a publish table, its texts already in the device code page.
struct PublishSong {
    std::size_t line = 0;
    ROWELEMENT song;
    std::filesystem::path media;
};

// Reads a UTF-8 table with one song per line and seven TAB-separated fields: number, language text
// (a language table text such as "EG", "OPM" or "Other"), title, artist, composer, lyricist, media
// path (relative paths start at `tableFolder`). Blank lines and a first line starting with the
// field name "number" are skipped; CR LF line ends are accepted. Every bad line is reported: the
// failure holds one "line N: why" per bad line, in line order, each on a line of its own.
Result<std::vector<PublishSong>> ParsePublishTable(std::string_view utf8, const std::filesystem::path& tableFolder,
                                                   const std::string& codePage);

}  // namespace songloader
