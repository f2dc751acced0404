// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>

#include "core/output/print/bmp_reader.h"
#include "core/output/print/page.h"
#include "support/recording_device_context.h"

namespace songloader::print {
namespace {

namespace fs = std::filesystem;

struct BmpShape {
    int width = 5;
    int height = 3;  // negative: top-down rows
    int bitCount = 8;
    bool fileHeader = true;
    bool coreHeader = false;
    bool writeImageSize = false;
    std::uint32_t colourCount = 0;  // written into the header; 0 leaves the default
    std::uint32_t gapBeforeBits = 0;
    std::uint32_t headerSize = 40;
};

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

int PaletteSize(const BmpShape& shape) {
    if (shape.colourCount) return static_cast<int>(shape.colourCount);
    return shape.bitCount <= 8 ? 1 << shape.bitCount : 0;
}

// Colour of the palette entry i: distinct, easy to predict.
RgbQuad PaletteEntry(int i) {
    return {static_cast<std::uint8_t>(i * 3), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i * 7), 0};
}

// Pixel value at (x, y) with y counted from the top: an index for palette images, else 0xRRGGBB.
std::uint32_t PixelValue(const BmpShape& shape, int x, int y) {
    if (shape.bitCount <= 8) return static_cast<std::uint32_t>((x + 2 * y) % PaletteSize(shape));
    return static_cast<std::uint32_t>(((x * 40) << 16) | ((y * 60) << 8) | (x + y * 10));
}

std::uint32_t ExpectedArgb(const BmpShape& shape, int x, int y) {
    std::uint32_t v = PixelValue(shape, x, y);
    if (shape.bitCount <= 8) {
        RgbQuad q = PaletteEntry(static_cast<int>(v));
        return 0xFF000000u | (std::uint32_t{q.red} << 16) | (std::uint32_t{q.green} << 8) | q.blue;
    }
    return 0xFF000000u | v;
}

std::vector<std::uint8_t> PixelRows(const BmpShape& shape) {
    int rows = shape.height < 0 ? -shape.height : shape.height;
    std::size_t stride = ((static_cast<std::size_t>(shape.bitCount) * shape.width + 31) / 32) * 4;
    std::vector<std::uint8_t> bits(stride * rows, 0);
    for (int r = 0; r < rows; ++r) {
        int y = shape.height > 0 ? rows - 1 - r : r;  // bottom-up files store the last row first
        std::uint8_t* row = bits.data() + r * stride;
        for (int x = 0; x < shape.width; ++x) {
            std::uint32_t v = PixelValue(shape, x, y);
            switch (shape.bitCount) {
                case 1: row[x / 8] |= static_cast<std::uint8_t>(v << (7 - x % 8)); break;
                case 4: row[x / 2] |= static_cast<std::uint8_t>(x % 2 ? v : v << 4); break;
                case 8: row[x] = static_cast<std::uint8_t>(v); break;
                default:
                    row[x * (shape.bitCount / 8)] = static_cast<std::uint8_t>(v);
                    row[x * (shape.bitCount / 8) + 1] = static_cast<std::uint8_t>(v >> 8);
                    row[x * (shape.bitCount / 8) + 2] = static_cast<std::uint8_t>(v >> 16);
            }
        }
    }
    return bits;
}

std::vector<std::uint8_t> MakeBmp(const BmpShape& shape) {
    std::vector<std::uint8_t> info;
    std::vector<std::uint8_t> bits = PixelRows(shape);
    if (shape.coreHeader) {
        Put32(info, 12);
        Put16(info, static_cast<unsigned>(shape.width));
        Put16(info, static_cast<unsigned>(shape.height));
        Put16(info, 1);
        Put16(info, static_cast<unsigned>(shape.bitCount));
    } else {
        Put32(info, shape.headerSize);
        Put32(info, static_cast<std::uint32_t>(shape.width));
        Put32(info, static_cast<std::uint32_t>(shape.height));
        Put16(info, 1);
        Put16(info, static_cast<unsigned>(shape.bitCount));
        Put32(info, 0);
        Put32(info, shape.writeImageSize ? static_cast<std::uint32_t>(bits.size()) : 0);
        Put32(info, 2835);
        Put32(info, 2835);
        Put32(info, shape.colourCount);
        Put32(info, 0);
        while (info.size() < shape.headerSize) info.push_back(0);
    }
    for (int i = 0; i < PaletteSize(shape); ++i) {
        RgbQuad q = PaletteEntry(i);
        info.push_back(q.blue);
        info.push_back(q.green);
        info.push_back(q.red);
        if (!shape.coreHeader) info.push_back(0);
    }
    info.insert(info.end(), shape.gapBeforeBits, 0xEE);

    std::vector<std::uint8_t> file;
    if (shape.fileHeader) {
        Put16(file, 0x4D42);
        Put32(file, static_cast<std::uint32_t>(14 + info.size() + bits.size()));
        Put32(file, 0);
        Put32(file, static_cast<std::uint32_t>(14 + info.size()));
    }
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), bits.begin(), bits.end());
    return file;
}

std::optional<Dib> Load(const std::vector<std::uint8_t>& bytes) {
    std::istringstream in(std::string(bytes.begin(), bytes.end()), std::ios::binary);
    return LoadBmp(in);
}

void ExpectPixels(const BmpShape& shape, const Dib& dib) {
    std::optional<ArgbImage> image = DecodeDib(dib);
    ASSERT_TRUE(image);
    int rows = shape.height < 0 ? -shape.height : shape.height;
    ASSERT_EQ(image->width, shape.width);
    ASSERT_EQ(image->height, rows);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < shape.width; ++x)
            ASSERT_EQ(image->pixels[static_cast<std::size_t>(y * shape.width + x)], ExpectedArgb(shape, x, y))
                << "at " << x << "," << y;
}

class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = fs::temp_directory_path() / ("songloader-bmp-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

TEST(BmpReader, ReadsEveryPaletteAndTrueColourDepth) {
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(bits);
        BmpShape shape;
        shape.bitCount = bits;
        std::optional<Dib> dib = Load(MakeBmp(shape));
        ASSERT_TRUE(dib);
        EXPECT_EQ(dib->header.size, 40u);
        EXPECT_EQ(dib->header.width, 5);
        EXPECT_EQ(dib->header.height, 3);
        EXPECT_EQ(dib->header.bitCount, bits);
        EXPECT_EQ(dib->palette.size(), static_cast<std::size_t>(PaletteSize(shape)));
        if (bits != 16) ExpectPixels(shape, *dib);
    }
}

TEST(BmpReader, SixteenBitPixelsAreFiveFiveFive) {
    Dib dib;
    dib.header.width = 2;
    dib.header.height = 1;
    dib.header.bitCount = 16;
    dib.bits = {0x00, 0x7C, 0x1F, 0x00};  // pure red, pure blue
    std::optional<ArgbImage> image = DecodeDib(dib);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, (std::vector<std::uint32_t>{0xFFFF0000u, 0xFF0000FFu}));
}

TEST(BmpReader, TopDownRowsKeepTheirOrder) {
    BmpShape shape;
    shape.bitCount = 24;
    shape.height = -4;
    std::optional<Dib> dib = Load(MakeBmp(shape));
    ASSERT_TRUE(dib);
    ExpectPixels(shape, *dib);
}

TEST(BmpReader, DataWithoutFileHeaderStartsAtTheInfoHeader) {
    BmpShape shape;
    shape.fileHeader = false;
    shape.bitCount = 8;
    std::optional<Dib> dib = Load(MakeBmp(shape));
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib->palette.size(), 256u);
    ExpectPixels(shape, *dib);
}

TEST(BmpReader, CoreHeaderIsWidenedWithItsPalette) {
    for (int bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        BmpShape shape;
        shape.coreHeader = true;
        shape.bitCount = bits;
        shape.width = 7;
        for (bool fileHeader : {true, false}) {
            shape.fileHeader = fileHeader;
            std::optional<Dib> dib = Load(MakeBmp(shape));
            ASSERT_TRUE(dib);
            EXPECT_EQ(dib->header.size, 40u);
            EXPECT_EQ(dib->header.width, 7);
            EXPECT_EQ(dib->header.height, 3);
            EXPECT_EQ(dib->header.planes, 1);
            EXPECT_EQ(dib->header.compression, 0u);
            ASSERT_EQ(dib->palette.size(), static_cast<std::size_t>(PaletteSize(shape)));
            if (bits <= 8) {
                EXPECT_EQ(dib->palette[1], PaletteEntry(1));
            }
            ExpectPixels(shape, *dib);
        }
    }
}

TEST(BmpReader, ImageSizeAndColourCountDefaults) {
    BitmapInfoHeader h;
    h.width = 5;
    h.height = 3;
    h.bitCount = 24;
    EXPECT_EQ(DefaultImageSize(h), 16 * 3);  // 15 bytes padded to 16
    h.bitCount = 1;
    EXPECT_EQ(DefaultImageSize(h), 4 * 3);
    h.height = -3;
    EXPECT_EQ(DefaultImageSize(h), 4 * 3);
    EXPECT_EQ(DefaultColourCount(1), 2u);
    EXPECT_EQ(DefaultColourCount(4), 16u);
    EXPECT_EQ(DefaultColourCount(8), 256u);
    EXPECT_EQ(DefaultColourCount(24), 0u);

    BmpShape shape;
    shape.bitCount = 4;
    std::optional<Dib> dib = Load(MakeBmp(shape));
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib->header.sizeImage, 12u);
    EXPECT_EQ(dib->header.clrUsed, 16u);
    EXPECT_EQ(dib->bits.size(), 12u);
}

TEST(BmpReader, ShortPaletteAndBitsOffsetAreHonoured) {
    BmpShape shape;
    shape.bitCount = 8;
    shape.colourCount = 10;
    shape.writeImageSize = true;
    shape.gapBeforeBits = 37;  // the bits offset of the file header skips this
    std::optional<Dib> dib = Load(MakeBmp(shape));
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib->palette.size(), 10u);
    ExpectPixels(shape, *dib);
}

TEST(BmpReader, LargeImagesAreReadWhole) {
    BmpShape shape;
    shape.bitCount = 24;
    shape.width = 301;
    shape.height = 97;  // 904 bytes a row: several 32 KiB pieces
    std::vector<std::uint8_t> bytes = MakeBmp(shape);
    std::optional<Dib> dib = Load(bytes);
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib->bits.size(), 904u * 97u);
    ExpectPixels(shape, *dib);
}

TEST(BmpReader, OtherHeaderSizesFail) {
    for (std::uint32_t size : {0u, 16u, 64u, 108u, 124u}) {
        BmpShape shape;
        shape.headerSize = size < 40 ? 40 : size;
        std::vector<std::uint8_t> bytes = MakeBmp(shape);
        bytes[14] = static_cast<std::uint8_t>(size);
        EXPECT_FALSE(Load(bytes)) << size;
    }
}

TEST(BmpReader, EveryTruncationFails) {
    for (bool core : {false, true}) {
        BmpShape shape;
        shape.bitCount = 4;
        shape.coreHeader = core;
        std::vector<std::uint8_t> bytes = MakeBmp(shape);
        ASSERT_TRUE(Load(bytes));
        for (std::size_t length = 0; length < bytes.size(); ++length)
            EXPECT_FALSE(Load({bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length)})) << length;
    }
}

TEST(BmpReader, SizesBeyondTheFileFailWithoutAllocating) {
    BmpShape shape;
    shape.bitCount = 8;
    std::vector<std::uint8_t> bytes = MakeBmp(shape);
    std::vector<std::uint8_t> hugePalette = bytes;
    hugePalette[14 + 32] = 0xFF;  // colour count 0xFFFFFFxx
    hugePalette[14 + 33] = 0xFF;
    hugePalette[14 + 34] = 0xFF;
    hugePalette[14 + 35] = 0xFF;
    EXPECT_FALSE(Load(hugePalette));
    std::vector<std::uint8_t> hugeImage = bytes;
    hugeImage[14 + 20] = 0xFF;  // image size
    hugeImage[14 + 23] = 0x7F;
    EXPECT_FALSE(Load(hugeImage));
    std::vector<std::uint8_t> farBits = bytes;
    farBits[13] = 0x7F;  // bits offset far beyond the end
    EXPECT_FALSE(Load(farBits));
    std::vector<std::uint8_t> noWidth = bytes;
    noWidth[14 + 4] = 0;
    EXPECT_FALSE(Load(noWidth));
}

TEST(BmpReader, DecodeRefusesWhatItCannotDraw) {
    BmpShape shape;
    shape.bitCount = 24;
    std::optional<Dib> dib = Load(MakeBmp(shape));
    ASSERT_TRUE(dib);
    Dib compressed = *dib;
    compressed.header.compression = 1;
    EXPECT_FALSE(DecodeDib(compressed));
    Dib shortBits = *dib;
    shortBits.bits.pop_back();
    EXPECT_FALSE(DecodeDib(shortBits));
    Dib odd = *dib;
    odd.header.bitCount = 2;
    EXPECT_FALSE(DecodeDib(odd));
    Dib huge = *dib;
    huge.header.width = 1 << 20;
    huge.header.height = 1 << 20;
    EXPECT_FALSE(DecodeDib(huge));
}

TEST(PrintBitmap, StretchesTheWholeImageWithoutTheOffset) {
    TempDir dir;
    BmpShape shape;
    shape.bitCount = 1;
    shape.width = 9;
    shape.height = 2;
    fs::path file = dir.path() / "logo.bmp";
    std::vector<std::uint8_t> bytes = MakeBmp(shape);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));

    testing::RecordingDeviceContext dc(600, 600);
    CPage page(0, 0, 5100, 6600, dc);  // offset 150 for text, none for bitmaps
    ASSERT_EQ(page.State().offset, 150);
    page.PrintBitmap(100, 200, 700, 1400, file);
    page.PrintBitmap(1.0, 1.0, 2.0, 3.0, file);
    page.PrintBitmap(0, 0, 10, 10, dir.path() / "missing.bmp");
    auto calls = dc.Calls("StretchDIBits");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].rect, (Rect{200, 100, 1400, 700}));
    EXPECT_EQ(calls[0].args, (std::vector<int>{0, 0, 9, 2}));
    EXPECT_EQ(calls[0].dibBitCount, 1);
    EXPECT_EQ(calls[1].rect, (Rect{600, 600, 1800, 1200}));
}

}  // namespace
}  // namespace songloader::print
