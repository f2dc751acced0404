// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace songloader::gui::scrollbar {

// Pixel sizes shared by both skinned bars.
inline constexpr int kButtonLength = 26;  // each arrow button, and the thumb
inline constexpr int kThickness = 12;
inline constexpr int kFirstRepeatMs = 250;
inline constexpr int kRepeatMs = 50;

// Keeps the thumb's start between the two arrow buttons of a bar `length` pixels long.
int ClampThumb(int thumbPos, int length);

// The thumb's start for scroll position `pos` of `limit` (the largest position); 26 when the list
// cannot scroll.
int ThumbPosition(int length, int limit, int pos);

// The scroll position a thumb dragged to `thumbPos` asks for (before clamping to 0..limit). The
// two bars map differently; with nothing to scroll (or no room) the answer is `pos`, no movement.
int HorizontalDragTarget(int thumbPos, int width, int limit, int pos);
int VerticalDragTarget(int thumbPos, int height, int limit, int pos);

}  // namespace songloader::gui::scrollbar
