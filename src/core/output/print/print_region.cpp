// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/output/print/print_region.h"

#include "core/output/print/fill_colours.h"
#include "core/output/print/page.h"

namespace songloader::print {

bool CPrintRegion::Create(CPage& page, int top, int left, int right, int bottom, unsigned fill) {
    const PrintState& state = page.State();
    if (top < 0 || left < 0 || right > state.widthLimit || bottom > state.heightLimit) return false;
    if (bottom > state.bottom) bottom = state.bottom;
    if (right > state.right) right = state.right;
    page_ = &page;
    top_ = top;
    left_ = left;
    right_ = right;
    bottom_ = bottom;
    fill_ = fill;
    contentTop_ = top + 1;
    contentLeft_ = left + 1;

    CPage::StateScope scope(page);
    PrintState& s = page.state_;
    s.top = top_;
    s.left = left_;
    s.bottom = bottom_;
    s.right = right_;
    s.fill = fill_;
    page.printer_->FillRect(s);
    return true;
}

void CPrintRegion::Title(const std::string& text, int size, unsigned flags, unsigned fill) {
    if (!page_) return;
    CPage& page = *page_;
    CPage::StateScope scope(page);
    PrintState& s = page.state_;
    s.top = top_;
    s.left = left_;
    s.right = right_;
    s.bottom = top_ + page.Units(size / 72.0 * 2.0, kAxisVertical);
    s.text = text;
    s.flags = flags | kTextSingleLine | kTextVCentred;
    s.fill = fill;
    if (size > 0) s.fontSize = size;
    int bandBottom = s.bottom;
    if (flags & kTextBoxed) {
        // The box hugs the text: measure first, then box the band down to 10 units below it.
        page.printer_->MeasureText(s, page.LineSpacing());
        bandBottom = s.lastRect.bottom + 10;
        s.bottom = bandBottom;
    }
    {
        FillColours colours(*s.dc, fill_);
        page.printer_->DrawText(s, page.LineSpacing());
    }
    if (!text.empty()) page.NoteText(s);
    contentTop_ = bandBottom + 1;
}

void CPrintRegion::Border() {
    if (!page_) return;
    CPage::StateScope scope(*page_);
    PrintState& s = page_->state_;
    s.top = top_;
    s.left = left_;
    s.bottom = bottom_;
    s.right = right_;
    s.fill = 0;
    s.lineStyle = 0;
    page_->printer_->Box(s, 1);
}

int CPrintRegion::X(int column) const {
    int x = contentLeft_ + column;
    return x > right_ ? right_ : x;
}

int CPrintRegion::Y(int row) const {
    int y = contentTop_ + row;
    return y > bottom_ ? bottom_ : y;
}

}  // namespace songloader::print
