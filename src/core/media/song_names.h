// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/media/media_probe.h"

namespace songloader {

// A song's texts as found for the user (UTF-8); empty where nothing was found.
struct SongNames {
    std::string title;
    std::string artist;
    std::string composer;
    std::string lyricist;
    friend bool operator==(const SongNames&, const SongNames&) = default;
};

// Title and artist from a file name without its extension, by these rules in this order:
// underscores become spaces, runs of spaces collapse (and outer spaces go), a leading track number
// ("01 ", "01. ", "01 - ") is dropped, then "Artist - Title" splits at the first " - "; otherwise
// the whole name is the title and the artist stays empty.
SongNames NamesFromFileName(std::string_view stem);

// Field by field, a tag wins where the file has one; the file name fills the rest.
SongNames FindSongNames(const MediaFacts& facts, const std::filesystem::path& file);

}  // namespace songloader
