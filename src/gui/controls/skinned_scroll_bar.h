// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QScrollBar>
#include <QTimer>

namespace songloader::gui {

// What the two skinned scroll bars share: a grey bar 12 pixels thick with an arrow button of 26
// pixels at each end and a thumb of 26 pixels between them. It stands in for the scroll bar of a
// list view, so the list's ordinary scroll range and position are the bar's. An arrow held down
// scrolls one line after 250 ms and then every 50 ms, and one more line when released over it; a
// click on the track pages towards the click when the button is released; the thumb can be
// dragged. The thumb follows the list whenever it scrolls.
class SkinnedScrollBar : public QScrollBar {
    Q_OBJECT
public:
    static inline const QColor kDarkGrey{90, 90, 90};
    static inline const QColor kLightGrey{150, 150, 150};

    // Start of the thumb along the bar, in pixels.
    int thumbPosition() const { return thumbPos_; }
    // Recomputes the thumb from the scroll position and repaints.
    void updateThumb();

    QSize sizeHint() const override;

protected:
    explicit SkinnedScrollBar(Qt::Orientation orientation, QWidget* parent);

    // The scroll position a thumb dragged to `thumbPos` asks for.
    virtual int dragTarget(int thumbPos) const = 0;
    // Whether a release over an arrow scrolls only when that arrow was the one pressed.
    virtual bool releaseNeedsPressedArrow() const = 0;

    int length() const;     // along the bar
    int limit() const;      // the largest scroll position, 0 when the list cannot scroll
    int scrollPos() const;  // from 0
    QRect thumbRect() const;
    QRect startButtonRect() const;
    QRect endButtonRect() const;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void sliderChange(SliderChange change) override;

private:
    int along(const QPoint& point) const;
    void lineTowardsStart();
    void lineTowardsEnd();
    void firstRepeat();
    void repeat();

    int thumbPos_ = 26;
    bool dragging_ = false;
    bool startPressed_ = false;
    bool endPressed_ = false;
    QTimer firstRepeat_;
    QTimer repeat_;
};

}  // namespace songloader::gui
