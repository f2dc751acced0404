// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/output/print/device_context.h"

namespace songloader::print {

// Text in a region or table cell takes the fill style as a number: not 0 gives a transparent
// background, 3 or more white text. The previous mode and colour come back at the end of scope.
class FillColours {
public:
    FillColours(DeviceContext& dc, unsigned fill) : dc_(dc), bkMode_(dc.GetBkMode()), colour_(dc.GetTextColor()) {
        if (fill != 0) dc.SetBkMode(kBkTransparent);
        if (fill >= 3) dc.SetTextColor(kWhite);
    }
    ~FillColours() {
        dc_.SetBkMode(bkMode_);
        dc_.SetTextColor(colour_);
    }
    FillColours(const FillColours&) = delete;
    FillColours& operator=(const FillColours&) = delete;

private:
    DeviceContext& dc_;
    int bkMode_;
    Colour colour_;
};

}  // namespace songloader::print
