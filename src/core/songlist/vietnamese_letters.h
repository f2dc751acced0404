// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace songloader {

// A letter with a separate tone mark, as two bytes, and the single code it stands for.
struct VietnamesePair {
    std::uint8_t first;
    std::uint8_t second;
    std::uint8_t code;
};

struct VietnameseReplacement {
    std::uint8_t source;
    std::uint8_t target;
};

std::span<const VietnamesePair> VietnamesePairs();
std::span<const VietnameseReplacement> VietnameseReplacements();

// The base letter of each code 0x80..0xFF, in code order.
std::string_view VietnameseBaseLetters();

// The code a pair of bytes stands for, or 0 when they form no pair.
std::uint8_t VietnamesePairCode(std::uint8_t first, std::uint8_t second);

// One byte or pair code brought to the letter the key takes from it: the replacements, then the
// base letters (codes below 0x80 other than a few marks stay as they are).
std::uint8_t VietnameseFold(std::uint8_t code);

}  // namespace songloader
