// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/controls/skinned_horizontal_scroll_bar.h"

#include <QPainter>

#include "gui/controls/scroll_bar_arithmetic.h"

namespace songloader::gui {

namespace {

// A stack of vertical lines, each one pixel shorter at both ends than the one before, from the
// longest at `x` stepping by `step`, within [left, right).
void DrawArrow(QPainter& painter, int x, int step, int left, int right, int height) {
    const int middle = height / 2;
    for (int shrink = 0; x >= left && x < right; ++shrink, x += step) {
        const int top = middle - 5 + shrink;
        const int bottom = middle + 5 - shrink;  // excluded
        if (top >= bottom) break;
        painter.drawLine(x, top, x, bottom - 1);
    }
}

}  // namespace

SkinnedHorizontalScrollBar::SkinnedHorizontalScrollBar(QWidget* parent) : SkinnedScrollBar(Qt::Horizontal, parent) {}

int SkinnedHorizontalScrollBar::dragTarget(int thumbPos) const {
    return scrollbar::HorizontalDragTarget(thumbPos, width(), limit(), scrollPos());
}

void SkinnedHorizontalScrollBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int w = width(), h = height();
    painter.fillRect(rect(), kDarkGrey);
    painter.setPen(QPen(kDarkGrey, 1));

    const QRect left = startButtonRect();
    painter.fillRect(left, kLightGrey);
    DrawArrow(painter, left.right() + 1 - 12, -1, left.left(), left.right() + 1, h);

    // The right button stops one pixel short of the edge.
    const QRect right(w - scrollbar::kButtonLength, 0, scrollbar::kButtonLength - 1, h);
    painter.fillRect(right, kLightGrey);
    DrawArrow(painter, right.left() + 12, +1, right.left(), right.right() + 1, h);

    if (limit() != 0) {
        const QRect thumb = thumbRect();
        painter.fillRect(thumb, kDarkGrey);
        painter.fillRect(thumb.adjusted(1, 0, -1, 0), kLightGrey);
    }
}

}  // namespace songloader::gui
