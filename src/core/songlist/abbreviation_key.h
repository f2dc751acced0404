// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

namespace songloader {

// 27^5: the weight of the first initial; a key divided by it gives the first initial (0 = none).
inline constexpr std::uint32_t kFirstInitialWeight = 14348907;
inline constexpr int kMaxInitials = 6;

// The initials of the words of a text read as a base-27 number of up to `limit` (at most 6)
// digits, 1 = A ... 26 = Z, first initial most significant. The text ends at its end, a NUL or
// a TAB. Language 1 reads GB2312 characters by their pinyin initial, languages 2-4 fold accented
// Latin-9 letters, language 11 folds Vietnamese letters, languages 1 and 10 take digits too.
std::uint32_t AbbreviationKey(std::string_view text, int language, int limit);

}  // namespace songloader
