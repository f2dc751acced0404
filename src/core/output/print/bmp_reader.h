// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <istream>
#include <optional>
#include <vector>

#include "core/output/print/device_context.h"

namespace songloader::print {

// Pixel data is read in pieces of at most this many bytes.
inline constexpr std::size_t kBmpReadPiece = 32768;
// Largest image DecodeDib turns into pixels.
inline constexpr std::int64_t kMaxDecodedPixels = std::int64_t{1} << 25;

// Reads a .bmp file: the 14-byte file header is optional, the info header is the 40-byte form or
// the 12-byte core form (widened, with its 3-byte palette entries widened to 4 bytes). Any other
// header size, a short file or sizes that do not fit the file give nothing.
std::optional<Dib> LoadBmp(const std::filesystem::path& path);
std::optional<Dib> LoadBmp(std::istream& in);

// Bytes of pixel data the header describes when its own image size is 0.
std::int64_t DefaultImageSize(const BitmapInfoHeader& header);
// Palette entries the header implies when its colour count is 0.
std::uint32_t DefaultColourCount(std::uint16_t bitCount);

// An image as rows of 0xAARRGGBB pixels, top row first.
struct ArgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// Uncompressed 1-, 4-, 8-, 16- (5-5-5), 24- and 32-bit bitmaps; anything else gives nothing.
std::optional<ArgbImage> DecodeDib(const Dib& dib);

}  // namespace songloader::print
