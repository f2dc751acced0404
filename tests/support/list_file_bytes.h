// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace songloader::test {

// One entry of a hand-made list file.
struct ListEntry {
    std::uint32_t number = 0;
    std::uint8_t language = 0;
    std::string title, artist, composer, lyricist;
};

// A list file laid out the way the reader expects it, made without the production writer:
// marker, count, first-entry offset at 20, then the entries back to back.
std::vector<std::uint8_t> MakeListFileBytes(const std::vector<ListEntry>& entries);

}  // namespace songloader::test
