// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/output/print/printer.h"

#include <algorithm>

#include "core/output/print/print_units.h"

namespace songloader::print {

LogFont FontForState(const PrintState& state, int ppiY) {
    LogFont font;
    font.height = -MulDiv(state.fontSize, ppiY, 72);
    font.weight = (state.flags & kTextBold) ? 700 : 400;
    font.italic = (state.flags & kTextItalic) != 0;
    font.underline = (state.flags & kTextUnderline) != 0;
    font.strikeOut = (state.flags & kTextStrikeOut) != 0;
    font.charSet = 1;            // default character set
    font.outPrecision = 3;       // stroke precision
    font.clipPrecision = 2;      // stroke clipping
    font.quality = 2;            // proof quality
    font.pitchAndFamily = 0x22;  // variable pitch, swiss
    font.faceName = state.faceName;
    return font;
}

int CPrinter::MeasureText(PrintState& state, double spacing) { return Render(state, spacing, false); }

int CPrinter::DrawText(PrintState& state, double spacing) { return Render(state, spacing, true); }

int CPrinter::Render(PrintState& state, double spacing, bool draw) {
    if (state.text.empty()) return 2 * state.fontSize;
    DeviceContext& dc = *state.dc;

    Point corners[2] = {{state.left + state.offset, state.top},
                        {std::min(state.right + state.offset, state.widthLimit - state.offset), state.bottom}};
    dc.LPtoDP(corners);
    Rect rect{corners[0].x, corners[0].y, corners[1].x, corners[1].y};

    int saved = dc.SaveDC();
    dc.SetMapMode(kMapModeText);
    // Device mode draws in plain pixels, whatever origins the page mapping had.
    dc.SetWindowOrg({0, 0});
    dc.SetViewportOrg({0, 0});
    dc.SelectFont(FontForState(state, dc.GetDeviceCaps(kCapLogPixelsY)));
    unsigned format = TextFormatFor(state.flags);

    Rect measured = rect;
    if (draw) {
        if (state.right == 0 && state.bottom == 0) dc.DrawText(state.text, rect, format | kDtCalcRect);
        measured = rect;
        int oldBk = dc.GetBkMode();
        Colour oldColour = dc.GetTextColor();
        if (state.flags & kTextBoxed) {
            if (state.fill & 0xE) dc.SetBkMode(kBkTransparent);
            if (state.fill & 0xC) dc.SetTextColor(kWhite);
            dc.SelectBrush(BrushForFill(state.fill));
            dc.Rectangle(rect);
        }
        dc.DrawText(state.text, rect, format);
        dc.SetBkMode(oldBk);
        dc.SetTextColor(oldColour);
    }
    dc.DrawText(state.text, measured, format | kDtCalcRect);
    // Read while the text's own font is still selected.
    if (state.metrics) *state.metrics = dc.GetTextMetrics();
    dc.RestoreDC(saved);

    Point back[2] = {{measured.left, measured.top}, {measured.right, measured.bottom}};
    dc.DPtoLP(back);
    state.lastRect = {back[0].x - state.offset, back[0].y, back[1].x - state.offset, back[1].y};
    state.lastTextHeight = state.lastRect.bottom - state.lastRect.top;
    state.lastRight = state.lastRect.right;
    return static_cast<int>(state.fontSize * spacing);
}

void CPrinter::Line(PrintState& state, int penWidth) {
    DeviceContext& dc = *state.dc;
    Pen old = dc.SelectPen({PenStyleForLine(state.lineStyle), penWidth, dc.GetTextColor()});
    const Point points[2] = {{state.left + state.offset, state.top}, {state.right + state.offset, state.bottom}};
    dc.Polyline(points);
    dc.SelectPen(old);
}

void CPrinter::Box(PrintState& state, int penWidth) {
    DeviceContext& dc = *state.dc;
    Pen oldPen = dc.SelectPen({PenStyleForBox(state.lineStyle), penWidth, dc.GetTextColor()});
    Brush oldBrush = dc.SelectBrush(BrushForFill(state.fill));
    int left = state.left + state.offset;
    int right = state.right + state.offset;
    const Point points[4] = {{left, state.top}, {right, state.top}, {right, state.bottom}, {left, state.bottom}};
    dc.Polygon(points);
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
}

void CPrinter::FillRect(PrintState& state) {
    state.dc->FillRect({state.left + state.offset, state.top, state.right + state.offset, state.bottom},
                       BrushForFill(state.fill));
}

}  // namespace songloader::print
