// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/output/print/print_state.h"

namespace songloader::print {

// Turns the print state into device-context calls. Holds no state of its own.
class CPrinter {
public:
    virtual ~CPrinter() = default;

    // Measures the state's text in its rectangle without drawing; stores the results like DrawText.
    virtual int MeasureText(PrintState& state, double spacing);
    // Draws the state's text in its rectangle. Empty text draws nothing and returns twice the
    // font size; otherwise returns truncate(font size * spacing) and stores the measured
    // rectangle (in page units, offset taken out) as the state's last text.
    virtual int DrawText(PrintState& state, double spacing);
    // A line from (left, top) to (right, bottom) in the state's line style.
    virtual void Line(PrintState& state, int penWidth);
    // The state's rectangle outlined in the box line style and filled with its fill style.
    virtual void Box(PrintState& state, int penWidth);
    // The state's rectangle filled with its fill style, no outline.
    virtual void FillRect(PrintState& state);

protected:
    virtual int Render(PrintState& state, double spacing, bool draw);
};

// The font the renderer creates for a state on a device with `ppiY` pixels per inch.
LogFont FontForState(const PrintState& state, int ppiY);

}  // namespace songloader::print
