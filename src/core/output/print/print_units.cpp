// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/output/print/print_units.h"

#include <limits>

#include "core/output/print/device_context.h"

namespace songloader::print {

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    std::int64_t product = static_cast<std::int64_t>(a) * b;
    bool negative = (product < 0) != (c < 0);
    std::int64_t num = product < 0 ? -product : product;
    std::int64_t den = c < 0 ? -static_cast<std::int64_t>(c) : c;
    std::int64_t result = (num + den / 2) / den;
    if (result > std::numeric_limits<int>::max()) return -1;
    return static_cast<int>(negative ? -result : result);
}

namespace {

// Decimal inches are not exact in binary: 4.35 * 100 comes out as 434.99999999999994. A margin far
// below one unit keeps such products on the whole number they stand for before truncating.
constexpr double kRepresentationMargin = 1e-6;

int TruncateToInt(double value) {
    if (!(value < static_cast<double>(std::numeric_limits<int>::max()))) return std::numeric_limits<int>::max();
    return static_cast<int>(value + kRepresentationMargin);
}

}  // namespace

int InchesToUnits(const PageGeometry& g, double inches, int axis) {
    if (!(inches > 0)) return 0;
    bool horizontal = axis == kAxisHorizontal;
    if (g.mapMode == kMapModeAnisotropic) {
        double span = horizontal ? g.widthIn / g.widthLimit : g.heightIn / g.heightLimit;
        if (!(span > 0)) return 0;
        return TruncateToInt(inches / span);
    }
    return TruncateToInt(inches * (horizontal ? g.ppiX : g.ppiY));
}

double UnitsToInches(const PageGeometry& g, int units, int axis) {
    if (units <= 0) return 0.0;
    bool horizontal = axis == kAxisHorizontal;
    if (g.mapMode == kMapModeAnisotropic) {
        double span = horizontal ? g.widthIn / g.widthLimit : g.heightIn / g.heightLimit;
        return units * span;
    }
    int ppi = horizontal ? g.ppiX : g.ppiY;
    return ppi > 0 ? static_cast<double>(units) / ppi : 0.0;
}

int HorizontalOffset(const PageGeometry& g, int orientation) {
    if (orientation == kOrientationLandscape) {
        if (g.widthIn > 10.9) return InchesToUnits(g, g.widthIn - 10.5, kAxisHorizontal) / 2;
        return 0;
    }
    if (g.widthIn > 8.0) return InchesToUnits(g, g.widthIn - 8.0, kAxisHorizontal) / 2;
    return 0;
}

int PointsToDeviceUnits(int points, int ppi, double factor) {
    // Multiplied out first so that whole results stay whole (12 points at 100 dpi * 1.5 = 25).
    return TruncateToInt(points * static_cast<double>(ppi) * factor / 72.0);
}

}  // namespace songloader::print
