// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace songloader::print {

// Axis codes of the unit conversions (the device-capability numbers of width and height).
inline constexpr int kAxisHorizontal = 8;
inline constexpr int kAxisVertical = 10;

// a * b / c in 64 bits, rounded half away from zero; -1 when c is 0 or the result overflows.
int MulDiv(int a, int b, int c);

// What the unit conversions of a page depend on.
struct PageGeometry {
    int mapMode = 1;  // device mode (1) or scaled mode (8)
    int ppiX = 0;
    int ppiY = 0;
    double widthIn = 0;   // given right / ppiX
    double heightIn = 0;  // given bottom / ppiY
    int widthLimit = 0;   // given right in device mode, 1000 in scaled mode
    int heightLimit = 0;
};

// Page width and height of the scaled mode.
inline constexpr int kScaledExtent = 1000;

// Inches -> page units, truncated toward zero; values <= 0 give 0.
int InchesToUnits(const PageGeometry& geometry, double inches, int axis);
// Page units -> inches; values <= 0 give 0.
double UnitsToInches(const PageGeometry& geometry, int units, int axis);

// The horizontal offset that centres an 8-inch portrait (10.5-inch landscape) layout on wider paper.
int HorizontalOffset(const PageGeometry& geometry, int orientation);

// truncate(points / 72 * ppi * factor): heights of text lines in device units.
int PointsToDeviceUnits(int points, int ppi, double factor);

}  // namespace songloader::print
