// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

namespace songloader {

// Number of words of a title as the player counts them: separators for most languages,
// ASCII words and two-byte characters for languages 1 (CN) and 10 (KR).
std::uint32_t WordCount(std::string_view title, int language);

}  // namespace songloader
