// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "core/output/print/device_context.h"

namespace songloader::print {

// Text flags of the engine.
inline constexpr unsigned kTextBold = 0x1;
inline constexpr unsigned kTextItalic = 0x2;
inline constexpr unsigned kTextUnderline = 0x4;
inline constexpr unsigned kTextStrikeOut = 0x8;
inline constexpr unsigned kTextBoxed = 0x10;
inline constexpr unsigned kTextPlain = 0x20;  // no effect on drawing
inline constexpr unsigned kTextRight = 0x40;
inline constexpr unsigned kTextCentred = 0x80;
inline constexpr unsigned kTextExpandTabs = 0x100;
inline constexpr unsigned kTextSingleLine = 0x200;
inline constexpr unsigned kTextNoClip = 0x400;
inline constexpr unsigned kTextVCentred = 0x800;
inline constexpr unsigned kTextDefaultFlags = 0x420;

// Passed for flags or line style: keep the current one.
inline constexpr unsigned kKeepCurrent = 0xFFFF;

// Fill styles: the first bit set chooses the brush.
inline constexpr unsigned kFillGray = 0x1;
inline constexpr unsigned kFillLightGray = 0x2;
inline constexpr unsigned kFillDarkGray = 0x4;
inline constexpr unsigned kFillBlack = 0x8;

// Line styles.
inline constexpr unsigned kLineDotted = 0x1;
inline constexpr unsigned kLineDashed = 0x2;
inline constexpr unsigned kLineDashDot = 0x10;
inline constexpr unsigned kLineDashDotDot = 0x20;

inline constexpr const char* kDefaultFace = "Times New Roman";
inline constexpr int kDefaultFontSize = 10;

// The current print state of a page: where the next text goes and how it looks.
struct PrintState {
    DeviceContext* dc = nullptr;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int fontSize = kDefaultFontSize;
    std::string text;
    unsigned flags = kTextDefaultFlags;
    unsigned fill = 0;
    unsigned lineStyle = 0;
    std::string faceName = kDefaultFace;
    int widthLimit = 0;
    int heightLimit = 0;
    int lastRight = 0;
    int lastTextHeight = 10;
    Rect lastRect;
    int offset = 0;  // added to every x coordinate, device units
    TextMetrics* metrics = nullptr;
};

Brush BrushForFill(unsigned fill);
PenStyle PenStyleForLine(unsigned lineStyle);
PenStyle PenStyleForBox(unsigned lineStyle);
// Format bits of the device's text call for the engine's text flags.
unsigned TextFormatFor(unsigned flags);

}  // namespace songloader::print
