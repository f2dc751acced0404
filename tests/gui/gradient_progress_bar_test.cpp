// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "gui/controls/gradient_progress_bar.h"

namespace songloader::gui {
namespace {

// The main window's bar: range 1..500 on a near-black background, 500 pixels wide.
TEST(GradientProgressBar, PixelsAndText) {
    GradientProgressBar bar;
    bar.resize(500, 20);
    bar.setBackgroundColour(QColor(5, 5, 5));
    bar.setRange(1, 500);
    const QColor background(5, 5, 5);

    bar.setPosition(1);
    QImage image = bar.grab().toImage();
    EXPECT_EQ(bar.percentText(), QString());
    for (int x = 0; x < 500; x += 7)
        for (int y = 0; y < 20; y += 3) ASSERT_EQ(image.pixelColor(x, y), background) << x << "," << y;

    bar.setPosition(250);  // fill 250 px, which ends inside band 125 (250..251)
    image = bar.grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 0), QColor(5, 5, 5));
    EXPECT_EQ(image.pixelColor(251, 0), QColor(130, 130, 130));
    EXPECT_EQ(image.pixelColor(252, 0), background);
    EXPECT_EQ(bar.percentText(), QStringLiteral(" 50 %"));

    bar.setPosition(500);
    image = bar.grab().toImage();
    EXPECT_EQ(image.pixelColor(251, 0), QColor(130, 130, 130)) << "the gradient does not depend on the position";
    EXPECT_EQ(image.pixelColor(499, 0), QColor(254, 254, 254));
    EXPECT_EQ(bar.percentText(), QStringLiteral("100 %"));
}

}  // namespace
}  // namespace songloader::gui
