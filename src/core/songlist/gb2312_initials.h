#pragma once

#include <cstdint>

namespace songloader {

// Initial letter (1 = A ... 26 = Z) of the Mandarin reading of a GB2312 character, given its
// lead byte 0xB0..0xF7 and trail byte 0xA1..0xFE; 0 outside that range or where no character is.
std::uint8_t Gb2312Initial(std::uint8_t lead, std::uint8_t trail);

}  // namespace songloader
