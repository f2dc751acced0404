// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace songloader {

// Writes big-endian numbers and TAB-terminated texts into memory already sized for them.
class BigEndianWriter {
public:
    explicit BigEndianWriter(std::uint8_t* at) : p_(at) {}

    void U8(std::uint32_t v) { *p_++ = static_cast<std::uint8_t>(v); }
    void U16(std::uint32_t v) {
        U8(v >> 8);
        U8(v);
    }
    void U24(std::uint32_t v) {
        U8(v >> 16);
        U16(v);
    }
    void U32(std::uint32_t v) {
        U16(v >> 16);
        U16(v);
    }
    void Text(std::string_view text) {
        p_ = std::copy(text.begin(), text.end(), p_);
        U8('\t');
    }

private:
    std::uint8_t* p_;
};

}  // namespace songloader
