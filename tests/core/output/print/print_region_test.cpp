// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/output/print/page.h"
#include "core/output/print/print_region.h"
#include "support/recording_device_context.h"

namespace songloader::print {
namespace {

using testing::RecordingDeviceContext;

struct RegionTest : ::testing::Test {
    RecordingDeviceContext dc{600, 600};
    CPage page{0, 0, 4800, 6600, dc};
    // Only what the test itself does is of interest, not the page's set-up calls.
    void SetUp() override { dc.Clear(); }
};

TEST_F(RegionTest, RegionsOutsideThePageAreNotCreated) {
    EXPECT_EQ(page.CreateRegion(-1, 0, 100, 100, 0u), nullptr);
    EXPECT_EQ(page.CreateRegion(0, -1, 100, 100, 0u), nullptr);
    EXPECT_EQ(page.CreateRegion(0, 0, 100, 4801, 0u), nullptr);
    EXPECT_EQ(page.CreateRegion(0, 0, 6601, 100, 0u), nullptr);
    EXPECT_TRUE(dc.calls.empty());
    CPrintRegion* whole = page.CreateRegion(0, 0, 6600, 4800, 0u);
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->Right(), 4800);
    EXPECT_EQ(whole->Bottom(), 6600);
}

TEST_F(RegionTest, CreationClampsToTheStateEdgesAndFillsTheRectangle) {
    page.SetRight(3000);
    page.SetBottom(4000);
    CPrintRegion* region = page.CreateRegion(1000, 500, 4500, 4000, kFillGray);
    ASSERT_NE(region, nullptr);
    EXPECT_EQ(region->Top(), 1000);
    EXPECT_EQ(region->Left(), 500);
    EXPECT_EQ(region->Right(), 3000);
    EXPECT_EQ(region->Bottom(), 4000);
    EXPECT_EQ(region->ContentTop(), 1001);
    EXPECT_EQ(region->ContentLeft(), 501);
    auto fills = dc.Calls("FillRect");
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].rect, (Rect{500, 1000, 3000, 4000}));
    EXPECT_EQ(fills[0].brush, Brush::Gray);

    // Inch form: 1 inch down, 0.5 inch across.
    CPrintRegion* inches = page.CreateRegion(1.0, 0.5, 2.0, 4.0, 0u);
    ASSERT_NE(inches, nullptr);
    EXPECT_EQ(inches->Top(), 600);
    EXPECT_EQ(inches->Left(), 300);
    EXPECT_EQ(inches->Bottom(), 1200);
    EXPECT_EQ(inches->Right(), 2400);
}

TEST_F(RegionTest, TitleBandWithoutBoxIsTwiceTheSize) {
    CPrintRegion* region = page.CreateRegion(1000, 500, 4000, 3000, 0u);
    ASSERT_NE(region, nullptr);
    region->Title("Heading", 18, 0x20u, 0u);
    // 18 points twice over: half an inch.
    EXPECT_EQ(region->ContentTop(), 1000 + 300 + 1);
    auto text = dc.Calls("DrawText").at(0);
    EXPECT_EQ(text.rect, (Rect{500, 1000, 3000, 1300}));
    EXPECT_EQ(text.format & (kDtSingleLine | kDtVCenter), kDtSingleLine | kDtVCenter);
    EXPECT_TRUE(dc.Calls("Rectangle").empty());
}

TEST_F(RegionTest, BoxedTitleBandEndsTenUnitsBelowTheText) {
    CPrintRegion* region = page.CreateRegion(1000, 500, 4000, 3000, 0u);
    ASSERT_NE(region, nullptr);
    region->Title("Heading", 18, 0x10u, kFillLightGray);
    // 18 points are 150 pixels of text.
    EXPECT_EQ(region->ContentTop(), 1000 + 150 + 10 + 1);
    auto box = dc.Calls("Rectangle");
    ASSERT_EQ(box.size(), 1u);
    EXPECT_EQ(box[0].rect, (Rect{500, 1000, 3000, 1160}));
    EXPECT_EQ(box[0].brush, Brush::LightGray);

    // Content placed at row 0 now starts under the band.
    dc.Clear();
    page.PrintInRegion(region, 0, 0, 0x20u, 10, "%s", "first");
    EXPECT_EQ(dc.Calls("DrawText").at(0).rect.top, 1161);
}

TEST_F(RegionTest, TextPositionsAreRelativeAndRunToTheRegionEdges) {
    CPrintRegion* region = page.CreateRegion(1000, 500, 4000, 3000, 0u);
    ASSERT_NE(region, nullptr);
    int next = page.PrintInRegion(region, 10, 20, 0x20u, 12, "%s", "in region");
    EXPECT_EQ(next, 10 + 100);
    auto text = dc.Calls("DrawText").at(0);
    EXPECT_EQ(text.rect, (Rect{521, 1011, 3000, 4000}));
    double nextInches = page.PrintInRegion(region, 1.0, 0.5, 0x20u, 12, "%s", "x");
    EXPECT_DOUBLE_EQ(nextInches, 700 / 600.0);

    // A column past the region's right edge draws nothing.
    dc.Clear();
    EXPECT_EQ(page.PrintInRegion(region, 10, 2600, 0x20u, 12, "%s", "beyond"), 10);
    EXPECT_TRUE(dc.DrawnTexts().empty());
}

TEST_F(RegionTest, ShapeCoordinatesAreClampedToTheRegion) {
    CPrintRegion* region = page.CreateRegion(1000, 500, 4000, 3000, 0u);
    ASSERT_NE(region, nullptr);
    page.LineInRegion(region, 100, 100, 9000, 9000, 1, 0);
    auto line = dc.Calls("Polyline").at(0);
    EXPECT_EQ(line.points, (std::vector<Point>{{601, 1101}, {3000, 4000}}));
    page.BoxInRegion(region, 0, 0, 5000, 5000, 1, kFillBlack, 0);
    EXPECT_EQ(dc.Calls("Polygon").at(0).rect, (Rect{501, 1001, 3000, 4000}));
    page.PrintBox(region, 0, 0, 5000, 5000, 0x10u, 10, std::string("box"));
    EXPECT_EQ(dc.Calls("Rectangle").at(0).rect, (Rect{501, 1001, 3000, 4000}));
    page.CheckBoxInRegion(region, "c", false, 2980, 2480, 12, false, 1, 0, 0x20u);
    EXPECT_EQ(dc.Calls("Polygon").back().rect, (Rect{2981, 3981, 3000, 4000}));
}

TEST_F(RegionTest, FillStyleDecidesTextBackgroundAndColour) {
    CPrintRegion* light = page.CreateRegion(0, 0, 1000, 1000, 1u);
    CPrintRegion* dark = page.CreateRegion(1000, 0, 2000, 1000, 3u);
    CPrintRegion* plain = page.CreateRegion(2000, 0, 3000, 1000, 0u);
    page.PrintInRegion(light, 0, 0, 0x20u, 10, "%s", "light");
    page.PrintInRegion(dark, 0, 0, 0x20u, 10, "%s", "dark");
    page.PrintInRegion(plain, 0, 0, 0x20u, 10, "%s", "plain");
    auto texts = dc.Calls("DrawText");
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].bkMode, kBkTransparent);
    EXPECT_EQ(texts[0].textColour, kBlack);
    EXPECT_EQ(texts[1].bkMode, kBkTransparent);
    EXPECT_EQ(texts[1].textColour, kWhite);
    EXPECT_EQ(texts[2].bkMode, kBkOpaque);
    EXPECT_EQ(dc.GetBkMode(), kBkOpaque);
    EXPECT_EQ(dc.GetTextColor(), kBlack);
}

TEST_F(RegionTest, BorderOutlinesTheRegion) {
    CPrintRegion* region = page.CreateRegion(100, 200, 300, 400, 0u);
    ASSERT_NE(region, nullptr);
    region->Border();
    auto box = dc.Calls("Polygon");
    ASSERT_EQ(box.size(), 1u);
    EXPECT_EQ(box[0].rect, (Rect{200, 100, 400, 300}));
    EXPECT_EQ(box[0].pen.width, 1);
    EXPECT_EQ(box[0].brush, Brush::Null);
}

}  // namespace
}  // namespace songloader::print
