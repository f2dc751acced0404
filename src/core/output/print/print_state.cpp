// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/output/print/print_state.h"

namespace songloader::print {

Brush BrushForFill(unsigned fill) {
    if (fill & kFillGray) return Brush::Gray;
    if (fill & kFillLightGray) return Brush::LightGray;
    if (fill & kFillDarkGray) return Brush::DarkGray;
    if (fill & kFillBlack) return Brush::Black;
    return Brush::Null;
}

PenStyle PenStyleForLine(unsigned lineStyle) {
    if (lineStyle & kLineDashed) return PenStyle::Dash;
    if (lineStyle & kLineDotted) return PenStyle::Dot;
    if (lineStyle & kLineDashDot) return PenStyle::DashDot;
    if (lineStyle & kLineDashDotDot) return PenStyle::DashDotDot;
    return PenStyle::Solid;
}

PenStyle PenStyleForBox(unsigned lineStyle) {
    if (lineStyle & kLineDashed) return PenStyle::Dash;
    if (lineStyle & kLineDotted) return PenStyle::Dot;
    return PenStyle::Solid;
}

unsigned TextFormatFor(unsigned flags) {
    unsigned format = kDtNoPrefix;
    if (flags & kTextCentred) format |= kDtCenter;
    else if (flags & kTextRight) format |= kDtRight;
    if (flags & kTextVCentred) format |= kDtVCenter;
    if (flags & kTextExpandTabs) format |= kDtExpandTabs;
    if (flags & kTextNoClip) format |= kDtNoClip;
    format |= (flags & kTextSingleLine) ? kDtSingleLine : kDtWordBreak;
    return format;
}

}  // namespace songloader::print
