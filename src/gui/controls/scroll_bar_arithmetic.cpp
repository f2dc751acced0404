// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/controls/scroll_bar_arithmetic.h"

namespace songloader::gui::scrollbar {

namespace {

// Pixels of track per scroll unit, or nothing usable.
double Ratio(int track, int limit) { return limit > 0 ? static_cast<double>(track) / limit : 0.0; }

int DragTarget(int thumbPos, double ratio, int offset, int pos) {
    if (ratio <= 0.0) return pos;
    return static_cast<int>((thumbPos - offset) / ratio);
}

}  // namespace

int ClampThumb(int thumbPos, int length) {
    if (length - kButtonLength < thumbPos + kButtonLength) thumbPos = length - 2 * kButtonLength;
    if (thumbPos < kButtonLength) thumbPos = kButtonLength;
    return thumbPos;
}

int ThumbPosition(int length, int limit, int pos) {
    const double ratio = Ratio(length - 75, limit);
    return ClampThumb(static_cast<int>(ratio * pos) + kButtonLength, length);
}

int HorizontalDragTarget(int thumbPos, int width, int limit, int pos) {
    return DragTarget(thumbPos, Ratio(width - 75, limit), 25, pos);
}

int VerticalDragTarget(int thumbPos, int height, int limit, int pos) {
    return DragTarget(thumbPos, Ratio(height - 98, limit), 36, pos);
}

}  // namespace songloader::gui::scrollbar
