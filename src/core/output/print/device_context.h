// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace songloader::print {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// 0x00BBGGRR, the printer colour reference layout.
using Colour = std::uint32_t;
inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kWhite = 0xFFFFFF;

// Mapping modes.
inline constexpr int kMapModeText = 1;         // page units are device pixels
inline constexpr int kMapModeAnisotropic = 8;  // window/viewport scaling

// Device capability indexes.
inline constexpr int kCapHorzRes = 8;
inline constexpr int kCapVertRes = 10;
inline constexpr int kCapLogPixelsX = 88;
inline constexpr int kCapLogPixelsY = 90;

// Background modes.
inline constexpr int kBkTransparent = 1;
inline constexpr int kBkOpaque = 2;

// Text format bits of DrawText.
inline constexpr unsigned kDtTop = 0x0;
inline constexpr unsigned kDtCenter = 0x1;
inline constexpr unsigned kDtRight = 0x2;
inline constexpr unsigned kDtVCenter = 0x4;
inline constexpr unsigned kDtBottom = 0x8;
inline constexpr unsigned kDtWordBreak = 0x10;
inline constexpr unsigned kDtSingleLine = 0x20;
inline constexpr unsigned kDtExpandTabs = 0x40;
inline constexpr unsigned kDtNoClip = 0x100;
inline constexpr unsigned kDtCalcRect = 0x400;
inline constexpr unsigned kDtNoPrefix = 0x800;

// Raster operation: copy the source.
inline constexpr std::uint32_t kRopSourceCopy = 0x00CC0020;

// Paper orientation as the printer settings report it; 0 when the context is not printing.
inline constexpr int kOrientationNone = 0;
inline constexpr int kOrientationPortrait = 1;
inline constexpr int kOrientationLandscape = 2;

// A font as the engine asks for it. height < 0: character height in logical units;
// height > 0: cell height; 0: the device's default size.
struct LogFont {
    int height = 0;
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint8_t charSet = 1;  // default character set
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::string faceName;
    friend bool operator==(const LogFont&, const LogFont&) = default;
};

inline constexpr std::uint8_t kFamilyRoman = 0x10;
inline constexpr std::uint8_t kFamilySwiss = 0x20;
inline constexpr std::uint8_t kFamilyModern = 0x30;

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Null };

// Width in logical units; 0 draws one device pixel wide.
struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 0;
    Colour colour = kBlack;
    friend bool operator==(const Pen&, const Pen&) = default;
};

// The stock brushes the engine fills with.
enum class Brush { White, LightGray, Gray, DarkGray, Black, Null };

// Fill colour of a stock brush (the null brush reports white but fills nothing).
Colour BrushColour(Brush brush);

struct TextMetrics {
    int height = 0;
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
    int weight = 0;
    friend bool operator==(const TextMetrics&, const TextMetrics&) = default;
};

// A device-independent bitmap in memory: the 40-byte info header, the palette and the pixel rows.
struct BitmapInfoHeader {
    std::uint32_t size = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;  // > 0: rows bottom-up; < 0: top-down
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
    friend bool operator==(const BitmapInfoHeader&, const BitmapInfoHeader&) = default;
};

struct RgbQuad {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;
    friend bool operator==(const RgbQuad&, const RgbQuad&) = default;
};

struct Dib {
    BitmapInfoHeader header;
    std::vector<RgbQuad> palette;
    std::vector<std::uint8_t> bits;
};

// The drawing surface of one page. Coordinates are logical units of the current mapping mode.
// Texts are UTF-8; callers convert device code-page bytes before they reach a context.
// Fonts, pens and brushes are values: selecting one returns the one it replaces, and
// SaveDC/RestoreDC bring back the whole selection.
class DeviceContext {
public:
    virtual ~DeviceContext() = default;

    virtual int SetMapMode(int mode) = 0;  // -> previous mode
    virtual int GetMapMode() const = 0;
    virtual Point SetWindowOrg(Point origin) = 0;  // -> previous
    virtual Point SetWindowExt(Point extent) = 0;
    virtual Point SetViewportOrg(Point origin) = 0;
    virtual Point SetViewportExt(Point extent) = 0;
    virtual int GetDeviceCaps(int index) const = 0;
    virtual void LPtoDP(std::span<Point> points) const = 0;
    virtual void DPtoLP(std::span<Point> points) const = 0;

    virtual int SaveDC() = 0;  // -> level to restore, 0 on failure
    virtual bool RestoreDC(int level) = 0;

    virtual LogFont SelectFont(const LogFont& font) = 0;
    virtual Pen SelectPen(const Pen& pen) = 0;
    virtual Brush SelectBrush(Brush brush) = 0;

    virtual int SetBkMode(int mode) = 0;  // -> previous
    virtual int GetBkMode() const = 0;
    virtual Colour SetTextColor(Colour colour) = 0;  // -> previous
    virtual Colour GetTextColor() const = 0;

    // Draws or (with kDtCalcRect) measures text; measuring widens/heightens `rect` to fit the text
    // and draws nothing. Returns the height of the text.
    virtual int DrawText(std::string_view text, Rect& rect, unsigned format) = 0;
    // Metrics of the selected font, in device pixels.
    virtual TextMetrics GetTextMetrics() const = 0;

    // Outline with the current pen, inside filled with the current brush.
    virtual void Rectangle(const Rect& rect) = 0;
    virtual void Polygon(std::span<const Point> points) = 0;
    // Line segments with the current pen, no fill.
    virtual void Polyline(std::span<const Point> points) = 0;
    // Fill only, no outline.
    virtual void FillRect(const Rect& rect, Brush brush) = 0;

    // Stretches the source rectangle of the bitmap onto the destination. Returns the number of
    // scan lines copied, 0 when nothing could be drawn.
    virtual int StretchDIBits(const Rect& destination, const Rect& source, const Dib& dib,
                              std::uint32_t rasterOperation) = 0;

    // The orientation of the printer settings this page is printed with; kOrientationNone when the
    // context does not print.
    virtual int PrinterOrientation() const = 0;
};

}  // namespace songloader::print
