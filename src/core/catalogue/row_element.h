// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace songloader {

// One song in memory. Texts hold the device's code-page bytes unchanged.
struct ROWELEMENT {
    std::int32_t number = 0;
    std::string numberText;
    std::int32_t language = 0;
    std::string languageText;
    std::string title;
    std::string artist;
    std::string composer;
    std::string lyricist;
    std::string mediaPath;

    friend bool operator==(const ROWELEMENT&, const ROWELEMENT&) = default;
};

using SongList = std::vector<ROWELEMENT>;

// Lowest and highest number a user song may carry.
inline constexpr std::int32_t kFirstUserNumber = 900000;
inline constexpr std::int32_t kLastUserNumber = 999999;

}  // namespace songloader
