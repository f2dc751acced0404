// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "core/songlist/song_text.h"
#include "core/songlist/song_text_parser.h"

namespace songloader {

// The exchange sort exactly as the player's builder runs it: for each position p from the first
// to the last but one, compare p with each later q and swap when q is strictly smaller.
template <typename T, typename Less>
void LiteralExchangeSort(std::vector<T>& items, Less less) {
    for (std::size_t p = 0; p + 1 < items.size(); ++p) {
        for (std::size_t q = p + 1; q < items.size(); ++q) {
            if (less(items[q], items[p])) std::swap(items[p], items[q]);
        }
    }
}

// Input positions in the order LiteralExchangeSort leaves them.
std::vector<std::uint32_t> LiteralExchangeOrder(std::span<const std::uint32_t> keys);

// SgList.dat built the slow, literal way from parsed rows: every ordering by LiteralExchangeSort,
// the file assembled section by section. The oracle of the production builder.
std::vector<std::uint8_t> ReferenceSongListBytes(const std::vector<SongRow>& rows, std::uint32_t dataSize);

// Parses the text and builds as above; empty when the text does not parse.
std::vector<std::uint8_t> ReferenceSongList(const SongText& text);

}  // namespace songloader
