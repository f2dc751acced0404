// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/songlist/song_text_parser.h"

namespace songloader {

// Size of the name index of these rows: the language directory and one block per language.
std::size_t NameIndexSize(std::span<const SongRow> rows);

// Writes the name index into `out` (NameIndexSize bytes, zeroed). Throws std::bad_alloc when its
// work space cannot be had.
void WriteNameIndex(std::span<std::uint8_t> out, std::span<const SongRow> rows);

}  // namespace songloader
