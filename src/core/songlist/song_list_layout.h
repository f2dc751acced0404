// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

namespace songloader {

// Where the sections of SgList.dat lie, from the row count n and the record data size S.
// Each section is followed by 1 to 4 zero bytes that bring it to a multiple of 4.
struct SongListLayout {
    std::uint32_t recordOffsets = 20;
    std::uint32_t recordData = 0;   // D
    std::uint32_t numberIndex = 0;  // X
    std::uint32_t nameIndex = 0;    // A
};

inline constexpr std::uint8_t kSongListMarker = 0xEC;
inline constexpr std::uint32_t kSongListHeaderSize = 20;
inline constexpr int kNameIndexLanguages = 28;
// The language directory: one entry per language and the name index's size.
inline constexpr std::uint32_t kLanguageDirectorySize = 4 * (kNameIndexLanguages + 1);
// Title and artist initial tables of 28 entries and the word-class table of 11.
inline constexpr std::uint32_t kLanguageBlockHead = 28 * 4 * 2 + 11 * 4;
inline constexpr int kWordClassLists = 10;

constexpr SongListLayout SongListLayoutOf(std::uint32_t n, std::uint32_t dataSize) {
    SongListLayout layout;
    layout.recordData = kSongListHeaderSize + 4 * (3 * n / 4) + 4;
    layout.numberIndex = layout.recordData + 4 * (dataSize / 4) + 4;
    layout.nameIndex = layout.numberIndex + 4 * (5 * n / 4) + 4;
    return layout;
}

// Size of the name index block of a language with m songs (0 when it has none).
constexpr std::uint32_t LanguageBlockSize(std::uint32_t m) {
    return m == 0 ? 0 : kLanguageBlockHead + 14 * m + (m % 2 == 1 ? 2 : 0);
}

}  // namespace songloader
