// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/controls/skinned_vertical_scroll_bar.h"

#include <QPainter>

#include "gui/controls/scroll_bar_arithmetic.h"

namespace songloader::gui {

namespace {

// A stack of horizontal lines, each one pixel shorter at both ends than the one before, from the
// longest at `y` stepping by `step`, starting from [left, right).
void DrawArrow(QPainter& painter, int y, int step, int left, int right) {
    for (; left < right; ++left, --right, y += step) painter.drawLine(left, y, right - 1, y);
}

// A button or the thumb: dark frame, light face inside the given edges.
void DrawFace(QPainter& painter, const QRect& outer, const QRect& face) {
    painter.fillRect(outer, SkinnedScrollBar::kDarkGrey);
    painter.fillRect(face, SkinnedScrollBar::kLightGrey);
}

}  // namespace

SkinnedVerticalScrollBar::SkinnedVerticalScrollBar(QWidget* parent) : SkinnedScrollBar(Qt::Vertical, parent) {}

int SkinnedVerticalScrollBar::dragTarget(int thumbPos) const {
    return scrollbar::VerticalDragTarget(thumbPos, height(), limit(), scrollPos());
}

void SkinnedVerticalScrollBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kDarkGrey);
    painter.setPen(QPen(kDarkGrey, 1));

    const QRect up = startButtonRect();
    DrawFace(painter, up, up.adjusted(1, 0, 0, 0));
    DrawArrow(painter, up.bottom() + 1 - 10, -1, up.left() + 1, up.right());

    const QRect down = endButtonRect();
    DrawFace(painter, down, down.adjusted(1, 0, 0, 0));
    DrawArrow(painter, down.top() + 10, +1, down.left() + 1, down.right());

    if (limit() != 0) {
        const QRect thumb = thumbRect();
        DrawFace(painter, thumb, thumb.adjusted(1, 1, 0, -1));
    }
}

}  // namespace songloader::gui
