// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/output/print/page.h"
#include "core/output/print/print_units.h"
#include "support/recording_device_context.h"

namespace songloader::print {
namespace {

using testing::RecordingDeviceContext;

TEST(PrintUnits, InchesToUnitsInDeviceModeUseEachAxisResolution) {
    RecordingDeviceContext dc(600, 300);
    CPage page(0, 0, 4800, 3300, dc, kMapModeText);
    EXPECT_EQ(page.Units(1.5, kAxisHorizontal), 900);
    EXPECT_EQ(page.Units(1.5, kAxisVertical), 450);
    EXPECT_EQ(page.Units(7.9, kAxisHorizontal), 4740);
    EXPECT_EQ(page.Units(0.6, kAxisVertical), 180);
    // Truncated toward zero, not rounded.
    EXPECT_EQ(page.Units(0.0099, kAxisHorizontal), 5);
    EXPECT_EQ(page.Units(0.0, kAxisHorizontal), 0);
    EXPECT_EQ(page.Units(-2.0, kAxisVertical), 0);
    EXPECT_DOUBLE_EQ(page.Inches(900, kAxisHorizontal), 1.5);
    EXPECT_DOUBLE_EQ(page.Inches(450, kAxisVertical), 1.5);
    EXPECT_DOUBLE_EQ(page.Inches(-10, kAxisVertical), 0.0);
}

TEST(PrintUnits, ScaledModeMapsTheWholePageToOneThousandUnits) {
    RecordingDeviceContext dc(600, 600);
    // 8 x 10 inches on the device.
    CPage page(0, 0, 4800, 6000, dc, kMapModeAnisotropic);
    EXPECT_EQ(page.State().right, 1000);
    EXPECT_EQ(page.State().bottom, 1000);
    EXPECT_EQ(page.Units(4.0, kAxisHorizontal), 500);
    EXPECT_EQ(page.Units(1.0, kAxisVertical), 100);
    EXPECT_EQ(page.Units(8.0, kAxisHorizontal), 1000);
    EXPECT_DOUBLE_EQ(page.Inches(500, kAxisHorizontal), 4.0);
    EXPECT_DOUBLE_EQ(page.Inches(250, kAxisVertical), 2.5);
    EXPECT_EQ(page.Units(-1.0, kAxisVertical), 0);

    // The context maps the 1000 x 1000 window onto the given rectangle.
    Point corner[1] = {{1000, 1000}};
    dc.LPtoDP(corner);
    EXPECT_EQ(corner[0], (Point{4800, 6000}));
}

TEST(PrintUnits, AnyOtherMappingModeIsDeviceMode) {
    RecordingDeviceContext dc(600, 600);
    CPage page(0, 0, 4800, 6000, dc, 3);
    EXPECT_EQ(dc.GetMapMode(), kMapModeText);
    EXPECT_EQ(page.State().right, 4800);
    EXPECT_EQ(page.Geometry().widthLimit, 4800);
}

TEST(PrintUnits, PortraitOffsetCentresAnEightInchLayout) {
    RecordingDeviceContext portrait(600, 600, kOrientationPortrait);
    EXPECT_EQ(CPage(0, 0, 5100, 6600, portrait).State().offset, 150);  // 8.5 inches
    EXPECT_EQ(CPage(0, 0, 4800, 6600, portrait).State().offset, 0);    // 8.0 inches
    EXPECT_EQ(CPage(0, 0, 4000, 6600, portrait).State().offset, 0);
    RecordingDeviceContext notPrinting(600, 600, kOrientationNone);
    EXPECT_EQ(CPage(0, 0, 5100, 6600, notPrinting).State().offset, 150);
}

TEST(PrintUnits, LandscapeOffsetStartsAboveTenPointNineInches) {
    RecordingDeviceContext landscape(600, 600, kOrientationLandscape);
    EXPECT_EQ(CPage(0, 0, 6540, 5100, landscape).State().offset, 0);    // 10.9 inches
    EXPECT_EQ(CPage(0, 0, 5100, 4000, landscape).State().offset, 0);    // 8.5 inches: no portrait rule
    EXPECT_EQ(CPage(0, 0, 6600, 5100, landscape).State().offset, 150);  // 11 inches
}

TEST(PrintUnits, OffsetMovesTextAndLinesButNotTheStoredLastText) {
    RecordingDeviceContext dc(600, 600);
    CPage page(0, 0, 5100, 6600, dc);
    page.Line(100, 0, 100, 4800, 1, 0);
    auto line = dc.Calls("Polyline").at(0);
    EXPECT_EQ(line.points.at(0), (Point{150, 100}));
    EXPECT_EQ(line.points.at(1), (Point{4950, 100}));

    int next = page.Print(200, 300, "abc");
    auto text = dc.Calls("DrawText").at(0);
    EXPECT_EQ(text.rect.left, 450);
    // The right edge stops at the page width less the offset.
    EXPECT_EQ(text.rect.right, 4950);
    EXPECT_EQ(next, 283);
    // Continuing after the text starts right where it ended, not one offset further.
    EXPECT_EQ(page.GetNextColumn(), 300 + 3 * 41);
}

TEST(PrintUnits, DecimalInchesAndPointHeightsLandOnTheirWholeUnits) {
    RecordingDeviceContext dc(100, 100);
    CPage page(0, 0, 800, 1100, dc);
    // Plain double arithmetic gives 434.99999999999994 and 24.999999999999996 here.
    EXPECT_EQ(page.Units(4.35, kAxisHorizontal), 435);
    EXPECT_EQ(PointsToDeviceUnits(12, 100, 1.5), 25);
    EXPECT_EQ(PointsToDeviceUnits(12, 600, 1.5), 150);
    EXPECT_EQ(PointsToDeviceUnits(10, 600, 1.0), 83);
    EXPECT_EQ(PointsToDeviceUnits(12, 300, 1.5), 75);
}

TEST(PrintUnits, MulDivRoundsHalfAwayFromZero) {
    EXPECT_EQ(MulDiv(12, 600, 72), 100);
    EXPECT_EQ(MulDiv(10, 600, 72), 83);
    EXPECT_EQ(MulDiv(3, 1, 2), 2);
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(5, 5, 0), -1);
    EXPECT_EQ(MulDiv(1 << 30, 8, 1), -1);
}

}  // namespace
}  // namespace songloader::print
