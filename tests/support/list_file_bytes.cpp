// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/list_file_bytes.h"

namespace songloader::test {

std::vector<std::uint8_t> MakeListFileBytes(const std::vector<ListEntry>& entries) {
    std::vector<std::uint8_t> bytes(20, 0);
    bytes[0] = 0xEC;
    bytes[2] = static_cast<std::uint8_t>(entries.size() >> 8);
    bytes[3] = static_cast<std::uint8_t>(entries.size());
    bytes[11] = 20;
    for (const ListEntry& e : entries) {
        bytes.push_back(static_cast<std::uint8_t>(e.number >> 16));
        bytes.push_back(static_cast<std::uint8_t>(e.number >> 8));
        bytes.push_back(static_cast<std::uint8_t>(e.number));
        bytes.push_back(e.language);
        for (const std::string* text : {&e.title, &e.artist, &e.composer, &e.lyricist}) {
            bytes.insert(bytes.end(), text->begin(), text->end());
            bytes.push_back('\t');
        }
    }
    return bytes;
}

}  // namespace songloader::test
