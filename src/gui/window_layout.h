// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "core/app/control_id.h"

namespace songloader::gui {

// A rectangle in window client pixels.
struct LayoutRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int right() const { return x + width; }
    int bottom() const { return y + height; }
};

struct ControlPlace {
    ControlId id;
    LayoutRect rect;
};

// A field label painted into the background, beside the box it names.
struct FieldLabel {
    const char* text;
    ControlId box;
    LayoutRect rect;
};

// The main window's one layout: the window size, every control's rectangle (in tab order), and the
// labels the background picture paints under the controls. The window places its controls from
// it and the artwork generator paints the background from it, so labels and boxes stay aligned.
struct WindowLayout {
    int width = 0;
    int height = 0;
    std::vector<ControlPlace> controls;
    std::vector<FieldLabel> labels;
};

const WindowLayout& MainWindowLayout();

// The rectangle of `id` in the layout; an empty rectangle for a control the layout lacks.
LayoutRect PlaceOf(const WindowLayout& layout, ControlId id);

// The layout with every rectangle and the window size multiplied by numerator/denominator,
// truncating (13/16 on a Thai system).
WindowLayout ScaledLayout(const WindowLayout& layout, int numerator, int denominator);

}  // namespace songloader::gui
