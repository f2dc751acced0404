// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <functional>

#include "gui/controls/scroll_bar_arithmetic.h"
#include "gui/controls/skinned_list_view.h"
#include "gui/controls/skinned_scroll_bar.h"

namespace songloader::gui {
namespace {

using namespace scrollbar;

TEST(ScrollBarArithmetic, ThumbFollowsPositionWithinTheButtons) {
    struct Case {
        int length, limit, pos, thumb;
    };
    const Case cases[] = {
        {200, 100, 0, 26},    {200, 100, 50, 88},  // 1.25 px per unit
        {200, 100, 100, 148},                      // clamped against the end button
        {200, 0, 0, 26},                           // nothing to scroll
        {60, 10, 5, 26},                           // too short for any track
    };
    for (const Case& c : cases)
        EXPECT_EQ(ThumbPosition(c.length, c.limit, c.pos), c.thumb) << c.length << " " << c.limit << " " << c.pos;
}

TEST(ScrollBarArithmetic, DragTargets) {
    EXPECT_EQ(HorizontalDragTarget(88, 200, 100, 7), 50);  // (88 - 25) / 1.25
    EXPECT_EQ(VerticalDragTarget(88, 200, 100, 7), 50);    // (88 - 36) / 1.02
    EXPECT_EQ(HorizontalDragTarget(88, 200, 0, 7), 7) << "no limit, no movement";
    EXPECT_EQ(VerticalDragTarget(88, 90, 100, 7), 7) << "no track, no movement";
}

class ScrollBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.resize(300, 200);
        for (int row = 0; row < 100; ++row)
            list.songModel()->insertSongRow(row,
                                            {std::to_string(900000 + row), "EN", "A rather long title", "", "", ""});
        list.show();
        QCoreApplication::processEvents();
    }
    SkinnedScrollBar* vertical() { return static_cast<SkinnedScrollBar*>(list.verticalScrollBar()); }
    SkinnedScrollBar* horizontal() { return static_cast<SkinnedScrollBar*>(list.horizontalScrollBar()); }
    static void Click(QWidget* bar, QPoint point) {
        QTest::mousePress(bar, Qt::LeftButton, {}, point);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, point);
    }
    // Runs events until `done` or five seconds passed.
    static void WaitFor(const std::function<bool()>& done) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 5000) QTest::qWait(1);
    }

    SkinnedListView list;
};

TEST_F(ScrollBarTest, PaintedArrowsAndTrackClicksScroll) {
    SkinnedScrollBar* bar = vertical();
    const int h = bar->height();
    ASSERT_GT(h, 100);
    bar->setValue(10);
    Click(bar, {6, 3});  // painted up arrow, above the old hit band
    EXPECT_EQ(bar->value(), 9);
    Click(bar, {6, h - 3});  // painted down arrow, below the old hit band
    EXPECT_EQ(bar->value(), 10);
    EXPECT_EQ(bar->thumbPosition(), ThumbPosition(h, bar->maximum(), 10)) << "the thumb follows the list";

    SkinnedScrollBar* track = horizontal();
    ASSERT_GT(track->maximum(), 0);
    ASSERT_EQ(track->value(), 0);
    Click(track, {track->width() - 40, 6});  // right of the thumb
    EXPECT_EQ(track->value(), std::min(track->pageStep(), track->maximum()));
    Click(track, {track->thumbPosition() - 5, 6});
    EXPECT_EQ(track->value(), 0);
}

TEST_F(ScrollBarTest, HeldArrowRepeatsAfter250ThenEvery50Milliseconds) {
    SkinnedScrollBar* bar = vertical();
    const QPoint down(6, bar->height() - 10);
    // Times from the press, and only lower bounds: a busy machine may deliver timers late, never early.
    QElapsedTimer sincePress;
    sincePress.start();
    QTest::mousePress(bar, Qt::LeftButton, {}, down);
    WaitFor([&] { return bar->value() >= 1; });
    const qint64 first = sincePress.elapsed();
    WaitFor([&] { return bar->value() >= 4; });
    const qint64 fourth = sincePress.elapsed();
    ASSERT_GE(bar->value(), 4) << "the held arrow keeps scrolling";
    EXPECT_GE(first, 249);
    EXPECT_GE(fourth, 250 + 3 * 50 - 1);
    const int held = bar->value();
    QTest::mouseRelease(bar, Qt::LeftButton, {}, down);
    EXPECT_EQ(bar->value(), held + 1) << "one more line on release";
    QTest::qWait(120);
    EXPECT_EQ(bar->value(), held + 1) << "no repeat after release";
}

TEST_F(ScrollBarTest, NoThumbWithoutScrollRange) {
    SkinnedScrollBar* bar = vertical();
    list.songModel()->removeAllRows();
    QCoreApplication::processEvents();
    ASSERT_EQ(bar->maximum(), 0);
    const QImage image = bar->grab().toImage();
    const int middle = bar->height() / 2;
    EXPECT_EQ(image.pixelColor(6, middle), SkinnedScrollBar::kDarkGrey);
    EXPECT_EQ(image.pixelColor(2, 20), SkinnedScrollBar::kLightGrey) << "the up button is drawn";
}

}  // namespace
}  // namespace songloader::gui
