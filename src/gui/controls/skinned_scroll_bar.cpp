// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/controls/skinned_scroll_bar.h"

#include <QMouseEvent>

#include "gui/controls/scroll_bar_arithmetic.h"

namespace songloader::gui {

using namespace scrollbar;

SkinnedScrollBar::SkinnedScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    firstRepeat_.setSingleShot(true);
    firstRepeat_.setTimerType(Qt::PreciseTimer);
    firstRepeat_.setInterval(kFirstRepeatMs);
    repeat_.setTimerType(Qt::PreciseTimer);
    repeat_.setInterval(kRepeatMs);
    connect(&firstRepeat_, &QTimer::timeout, this, &SkinnedScrollBar::firstRepeat);
    connect(&repeat_, &QTimer::timeout, this, &SkinnedScrollBar::repeat);
}

QSize SkinnedScrollBar::sizeHint() const {
    return orientation() == Qt::Horizontal ? QSize(4 * kButtonLength, kThickness)
                                           : QSize(kThickness, 4 * kButtonLength);
}

int SkinnedScrollBar::length() const { return orientation() == Qt::Horizontal ? width() : height(); }
int SkinnedScrollBar::limit() const { return maximum() - minimum(); }
int SkinnedScrollBar::scrollPos() const { return value() - minimum(); }
int SkinnedScrollBar::along(const QPoint& point) const {
    return orientation() == Qt::Horizontal ? point.x() : point.y();
}

QRect SkinnedScrollBar::thumbRect() const {
    return orientation() == Qt::Horizontal ? QRect(thumbPos_, 0, kButtonLength, height())
                                           : QRect(0, thumbPos_, width(), kButtonLength);
}

// The hit bands of the arrows are the painted buttons.
QRect SkinnedScrollBar::startButtonRect() const {
    return orientation() == Qt::Horizontal ? QRect(0, 0, kButtonLength, height()) : QRect(0, 0, width(), kButtonLength);
}

QRect SkinnedScrollBar::endButtonRect() const {
    return orientation() == Qt::Horizontal ? QRect(width() - kButtonLength, 0, kButtonLength, height())
                                           : QRect(0, height() - kButtonLength, width(), kButtonLength);
}

void SkinnedScrollBar::updateThumb() {
    thumbPos_ = ThumbPosition(length(), limit(), scrollPos());
    update();
}

void SkinnedScrollBar::resizeEvent(QResizeEvent* event) {
    QScrollBar::resizeEvent(event);
    updateThumb();
}

void SkinnedScrollBar::sliderChange(SliderChange change) {
    QScrollBar::sliderChange(change);
    // While dragged the thumb follows the pointer; it settles on release.
    if (!dragging_) updateThumb();
}

void SkinnedScrollBar::lineTowardsStart() { triggerAction(SliderSingleStepSub); }
void SkinnedScrollBar::lineTowardsEnd() { triggerAction(SliderSingleStepAdd); }

void SkinnedScrollBar::firstRepeat() {
    if (!startPressed_ && !endPressed_) return;
    repeat();
    repeat_.start();
}

void SkinnedScrollBar::repeat() {
    if (endPressed_) lineTowardsEnd();
    if (startPressed_) lineTowardsStart();
}

void SkinnedScrollBar::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton) return;
    const QPoint point = event->position().toPoint();
    if (limit() > 0 && thumbRect().contains(point)) dragging_ = true;
    if (endButtonRect().contains(point)) {
        endPressed_ = true;
        firstRepeat_.start();
    }
    if (startButtonRect().contains(point)) {
        startPressed_ = true;
        firstRepeat_.start();
    }
}

void SkinnedScrollBar::mouseDoubleClickEvent(QMouseEvent* event) {
    // A quick second click is a second press.
    mousePressEvent(event);
}

void SkinnedScrollBar::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!dragging_) return;
    const int dragged = along(event->position().toPoint()) - kButtonLength / 2;
    const int target = dragTarget(dragged);
    thumbPos_ = ClampThumb(dragged, length());
    setValue(minimum() + target);
    update();
}

void SkinnedScrollBar::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton) return;
    const QPoint point = event->position().toPoint();
    const bool wasDragging = dragging_;
    dragging_ = false;
    updateThumb();
    firstRepeat_.stop();
    repeat_.stop();

    bool elsewhere = true;
    const bool strict = releaseNeedsPressedArrow();
    if (startButtonRect().contains(point)) {
        if (!strict || startPressed_) lineTowardsStart();
        elsewhere = false;
    }
    if (endButtonRect().contains(point)) {
        if (!strict || endPressed_) lineTowardsEnd();
        elsewhere = false;
    }
    if (!thumbRect().contains(point) && elsewhere && !wasDragging) {
        triggerAction(thumbPos_ < along(point) ? SliderPageStepAdd : SliderPageStepSub);
    }
    startPressed_ = false;
    endPressed_ = false;
}

}  // namespace songloader::gui
