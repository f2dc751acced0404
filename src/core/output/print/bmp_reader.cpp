// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/output/print/bmp_reader.h"

#include <array>
#include <fstream>

namespace songloader::print {

namespace {

constexpr std::uint16_t kBmpType = 0x4D42;  // "BM"
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kCoreHeaderSize = 12;

std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool ReadExact(std::istream& in, std::uint8_t* out, std::size_t count) {
    in.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(count));
    return static_cast<std::size_t>(in.gcount()) == count;
}

}  // namespace

std::int64_t DefaultImageSize(const BitmapInfoHeader& h) {
    std::int64_t rowBytes = ((static_cast<std::int64_t>(h.bitCount) * h.width + 31) / 32) * 4;
    std::int64_t rows = h.height < 0 ? -static_cast<std::int64_t>(h.height) : h.height;
    return rowBytes * rows;
}

std::uint32_t DefaultColourCount(std::uint16_t bitCount) {
    switch (bitCount) {
        case 1: return 2;
        case 4: return 16;
        case 8: return 256;
        default: return 0;
    }
}

std::optional<Dib> LoadBmp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return LoadBmp(in);
}

std::optional<Dib> LoadBmp(std::istream& in) {
    in.seekg(0, std::ios::end);
    std::streamoff end = in.tellg();
    in.seekg(0, std::ios::beg);
    if (end < 0 || !in) return std::nullopt;
    auto fileSize = static_cast<std::int64_t>(end);

    std::array<std::uint8_t, kFileHeaderSize> fileHeader{};
    std::int64_t infoStart = 0;
    std::uint32_t bitsOffset = 0;
    if (fileSize >= static_cast<std::int64_t>(kFileHeaderSize) && ReadExact(in, fileHeader.data(), fileHeader.size()) &&
        Le16(fileHeader.data()) == kBmpType) {
        infoStart = kFileHeaderSize;
        bitsOffset = Le32(fileHeader.data() + 10);
    }
    // Without a file header the info header starts at the beginning of the data.
    in.clear();
    in.seekg(infoStart, std::ios::beg);

    std::array<std::uint8_t, kInfoHeaderSize> raw{};
    if (!ReadExact(in, raw.data(), 4)) return std::nullopt;
    std::uint32_t headerSize = Le32(raw.data());
    Dib dib;
    BitmapInfoHeader& h = dib.header;
    bool core = headerSize == kCoreHeaderSize;
    if (core) {
        if (!ReadExact(in, raw.data() + 4, kCoreHeaderSize - 4)) return std::nullopt;
        h.width = Le16(raw.data() + 4);
        h.height = Le16(raw.data() + 6);
        h.planes = Le16(raw.data() + 8);
        h.bitCount = Le16(raw.data() + 10);
    } else if (headerSize == kInfoHeaderSize) {
        if (!ReadExact(in, raw.data() + 4, kInfoHeaderSize - 4)) return std::nullopt;
        h.width = static_cast<std::int32_t>(Le32(raw.data() + 4));
        h.height = static_cast<std::int32_t>(Le32(raw.data() + 8));
        h.planes = Le16(raw.data() + 12);
        h.bitCount = Le16(raw.data() + 14);
        h.compression = Le32(raw.data() + 16);
        h.sizeImage = Le32(raw.data() + 20);
        h.xPelsPerMeter = static_cast<std::int32_t>(Le32(raw.data() + 24));
        h.yPelsPerMeter = static_cast<std::int32_t>(Le32(raw.data() + 28));
        h.clrUsed = Le32(raw.data() + 32);
        h.clrImportant = Le32(raw.data() + 36);
    } else {
        return std::nullopt;
    }
    h.size = kInfoHeaderSize;
    if (h.width <= 0 || h.height == 0 || h.bitCount == 0) return std::nullopt;

    std::int64_t imageSize = h.sizeImage != 0 ? h.sizeImage : DefaultImageSize(h);
    if (h.sizeImage == 0 && imageSize <= 0xFFFFFFFFLL) h.sizeImage = static_cast<std::uint32_t>(imageSize);
    if (h.clrUsed == 0) h.clrUsed = DefaultColourCount(h.bitCount);

    // Everything read must be in the file; this also bounds what is allocated.
    std::int64_t position = in.tellg();
    std::int64_t entrySize = core ? 3 : 4;
    std::int64_t paletteBytes = static_cast<std::int64_t>(h.clrUsed) * entrySize;
    if (position < 0 || paletteBytes > fileSize - position) return std::nullopt;
    std::vector<std::uint8_t> palette(static_cast<std::size_t>(paletteBytes));
    if (!ReadExact(in, palette.data(), palette.size())) return std::nullopt;
    dib.palette.resize(h.clrUsed);
    for (std::size_t i = 0; i < dib.palette.size(); ++i) {
        const std::uint8_t* e = palette.data() + i * static_cast<std::size_t>(entrySize);
        dib.palette[i] = {e[0], e[1], e[2], core ? std::uint8_t{0} : e[3]};
    }

    if (bitsOffset != 0) {
        if (bitsOffset > fileSize) return std::nullopt;
        in.seekg(bitsOffset, std::ios::beg);
        position = bitsOffset;
    }
    if (imageSize > fileSize - position) return std::nullopt;
    dib.bits.resize(static_cast<std::size_t>(imageSize));
    for (std::size_t done = 0; done < dib.bits.size();) {
        std::size_t piece = std::min(kBmpReadPiece, dib.bits.size() - done);
        if (!ReadExact(in, dib.bits.data() + done, piece)) return std::nullopt;
        done += piece;
    }
    return dib;
}

std::optional<ArgbImage> DecodeDib(const Dib& dib) {
    const BitmapInfoHeader& h = dib.header;
    if (h.compression != 0 || h.width <= 0 || h.height == 0) return std::nullopt;
    std::int64_t width = h.width;
    std::int64_t height = h.height < 0 ? -static_cast<std::int64_t>(h.height) : h.height;
    if (width * height > kMaxDecodedPixels) return std::nullopt;
    int bits = h.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return std::nullopt;
    std::int64_t stride = ((bits * width + 31) / 32) * 4;
    if (stride * height > static_cast<std::int64_t>(dib.bits.size())) return std::nullopt;

    ArgbImage image;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.pixels.resize(static_cast<std::size_t>(width * height));
    auto fromPalette = [&](std::size_t index) -> std::uint32_t {
        if (index >= dib.palette.size()) return 0xFF000000;
        const RgbQuad& q = dib.palette[index];
        return 0xFF000000u | (std::uint32_t{q.red} << 16) | (std::uint32_t{q.green} << 8) | q.blue;
    };
    for (std::int64_t y = 0; y < height; ++y) {
        // Positive heights store the bottom row first.
        std::int64_t sourceRow = h.height > 0 ? height - 1 - y : y;
        const std::uint8_t* row = dib.bits.data() + sourceRow * stride;
        std::uint32_t* out = image.pixels.data() + y * width;
        for (std::int64_t x = 0; x < width; ++x) {
            switch (bits) {
                case 1: out[x] = fromPalette((row[x / 8] >> (7 - x % 8)) & 1); break;
                case 4: out[x] = fromPalette((row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF); break;
                case 8: out[x] = fromPalette(row[x]); break;
                case 16: {
                    unsigned v = row[x * 2] | (row[x * 2 + 1] << 8);
                    auto expand = [](unsigned c) { return (c << 3) | (c >> 2); };
                    out[x] = 0xFF000000u | (expand((v >> 10) & 0x1F) << 16) | (expand((v >> 5) & 0x1F) << 8) |
                             expand(v & 0x1F);
                    break;
                }
                default: {
                    const std::uint8_t* p = row + x * (bits / 8);
                    out[x] = 0xFF000000u | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
                    break;
                }
            }
        }
    }
    return image;
}

}  // namespace songloader::print
