// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/catalogue/row_element.h"
#include "core/common/result.h"
#include "core/common/translatable.h"

namespace songloader {

// The lowest number from 900000 upward that neither a device song nor a work-list song uses.
// No cap on how many numbers are looked at.
std::int32_t NextFreeUserNumber(const SongList& deviceSongs, const SongList& workSongs);

// The number box's own rules: its first digit is 9 (checked as it is typed), and a number of
// 900000 or more (checked when the box is left).
inline constexpr const char* kFirstDigitMessage = SL_TRANSLATE_NOOP("Core", "The first digit of song number must be 9");
inline constexpr const char* kNumberRangeMessage = SL_TRANSLATE_NOOP("Core", "Song number must be 900000 to 999999!");
bool NumberFirstDigitAccepted(std::string_view text);  // empty, or starting with 9
bool NumberBelowUserRange(std::string_view text);      // a typed number below 900000
// Both rules on a number given whole (six digits or fewer): the first refusal.
Result<> CheckNumberBox(std::string_view text);

}  // namespace songloader
