// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/output/print/page.h"
#include "core/output/print/print_table.h"
#include "support/recording_device_context.h"

namespace songloader::print {
namespace {

using testing::RecordedCall;
using testing::RecordingDeviceContext;

struct TableTest : ::testing::Test {
    RecordingDeviceContext dc{600, 600};
    CPage page{0, 0, 4800, 6600, dc};
    // Only what the test itself does is of interest, not the page's set-up calls.
    void SetUp() override { dc.Clear(); }

    // Three columns of 480, 3000 and 1200 units between 0 and 4740, 12 points, 4 rows.
    static TableDefinition ThreeColumns() {
        TableDefinition t;
        t.fontSize = 12;
        t.columnCount = 3;
        t.rowCount = 4;
        t.equalWidths = 0;
        t.top = 1000;
        t.left = 0;
        t.right = 4740;
        t.columns[0] = {480, "Number", 0};
        t.columns[1] = {3000, "", 0};
        t.columns[2] = {1200, "Artist", 0};
        return t;
    }
};

TEST_F(TableTest, HeightsAtSixHundredDpi) {
    TableDefinition t = ThreeColumns();
    page.PrintTable(t);
    ASSERT_TRUE(t.drawer);
    EXPECT_EQ(t.drawer->RowHeight(false), 150);
    EXPECT_EQ(t.drawer->RowHeight(true), 150);
    EXPECT_EQ(t.drawer->HeaderBand(), 150);
    EXPECT_DOUBLE_EQ(t.bottom, 1000 + 150 + 4 * 150);

    TableDefinition tall = ThreeColumns();
    tall.headerRows = 2;
    tall.linesPerRow = 3;
    page.PrintTable(tall);
    EXPECT_EQ(tall.drawer->RowHeight(true), 100);  // a header row of several is one font size high
    EXPECT_EQ(tall.drawer->HeaderBand(), 200);
    EXPECT_EQ(tall.drawer->RowHeight(false), 450);

    TableDefinition none = ThreeColumns();
    none.noHeader = 1;
    page.PrintTable(none);
    EXPECT_EQ(none.headerRows, 0);
    EXPECT_EQ(none.drawer->HeaderBand(), 0);
    EXPECT_DOUBLE_EQ(none.bottom, 1000 + 4 * 150);
}

TEST_F(TableTest, ScaledModeHeightsUseThePointSize) {
    RecordingDeviceContext scaledDc(600, 600);
    CPage scaled(0, 0, 4800, 6600, scaledDc, kMapModeAnisotropic);
    TableDefinition t;
    t.fontSize = 12;
    t.right = 900;
    scaled.PrintTable(t);
    ASSERT_TRUE(t.drawer);
    EXPECT_EQ(t.drawer->RowHeight(false), 18);
    EXPECT_EQ(t.drawer->RowHeight(true), 18);
    t.headerRows = 3;
    EXPECT_EQ(t.drawer->RowHeight(true), 12);
}

TEST_F(TableTest, LastColumnWidensToTheRightEdgeAndHeaderCellsFollow) {
    TableDefinition t = ThreeColumns();
    t.headerFill = kFillLightGray;
    page.PrintTable(t);
    EXPECT_DOUBLE_EQ(t.columns[2].width, 1260);
    auto header = dc.Calls("DrawText");
    ASSERT_EQ(header.size(), 3u);
    EXPECT_EQ(header[0].text, "Number");
    EXPECT_EQ(header[1].text, "Col 2");
    EXPECT_EQ(header[2].text, "Artist");
    EXPECT_EQ(header[0].rect, (Rect{0, 1000, 480, 1150}));
    EXPECT_EQ(header[1].rect, (Rect{480, 1000, 3480, 1150}));
    EXPECT_EQ(header[2].rect, (Rect{3480, 1000, 4740, 1150}));
    for (const RecordedCall& cell : header) {
        EXPECT_EQ(cell.font.weight, 700);
        EXPECT_EQ(cell.font.height, -100);
        EXPECT_EQ(cell.format & (kDtCenter | kDtVCenter), kDtCenter | kDtVCenter);
        EXPECT_EQ(cell.textColour, kBlack);
    }
    auto boxes = dc.Calls("Rectangle");
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].brush, Brush::LightGray);

    // Too wide: the last column shrinks.
    TableDefinition wide = ThreeColumns();
    wide.columns[1].width = 3100;
    page.PrintTable(wide);
    EXPECT_DOUBLE_EQ(wide.columns[2].width, 1160);
}

TEST_F(TableTest, FirstColumnTitleIsColOne) {
    TableDefinition t = ThreeColumns();
    t.columns[0].title.clear();
    page.PrintTable(t);
    EXPECT_EQ(dc.DrawnTexts().at(0), "Col 1");
}

TEST_F(TableTest, DarkHeaderFillDrawsWhiteText) {
    TableDefinition t = ThreeColumns();
    t.headerFill = kFillDarkGray;
    page.PrintTable(t);
    for (const RecordedCall& cell : dc.Calls("DrawText")) EXPECT_EQ(cell.textColour, kWhite);
    EXPECT_EQ(dc.GetTextColor(), kBlack);
}

TEST_F(TableTest, GridOffWithIntervalZeroStillBoxesEveryCell) {
    TableDefinition t = ThreeColumns();
    t.gridOff = 1;
    t.rowLineInterval = 0;
    page.PrintTable(t);
    EXPECT_TRUE(dc.Calls("Polyline").empty());
    auto polygons = dc.Calls("Polygon");
    // The header band outline, then 3 x 4 cell boxes, column by column.
    ASSERT_EQ(polygons.size(), 1u + 12u);
    EXPECT_EQ(polygons[0].rect, (Rect{0, 1000, 4740, 1150}));
    EXPECT_EQ(polygons[1].rect, (Rect{0, 1150, 480, 1300}));
    EXPECT_EQ(polygons[4].rect, (Rect{0, 1600, 480, 1750}));
    EXPECT_EQ(polygons[5].rect, (Rect{480, 1150, 3480, 1300}));
    EXPECT_EQ(polygons[12].rect, (Rect{3480, 1600, 4740, 1750}));
    EXPECT_EQ(polygons[12].pen.width, 1);
}

TEST_F(TableTest, GridOnDrawsBorderRowAndColumnLines) {
    TableDefinition t = ThreeColumns();
    t.lineWidth = 4;
    page.PrintTable(t);
    auto polygons = dc.Calls("Polygon");
    ASSERT_EQ(polygons.size(), 1u + 1u + 12u);
    EXPECT_EQ(polygons[1].rect, (Rect{0, 1000, 4740, 1750}));  // border
    EXPECT_EQ(polygons[1].pen.width, 4);
    auto lines = dc.Calls("Polyline");
    ASSERT_EQ(lines.size(), 4u + 2u);
    // Row lines from the bottom of the header, one per row.
    EXPECT_EQ(lines[0].points, (std::vector<Point>{{0, 1150}, {4740, 1150}}));
    EXPECT_EQ(lines[3].points, (std::vector<Point>{{0, 1600}, {4740, 1600}}));
    // Column lines between the columns, over the body.
    EXPECT_EQ(lines[4].points, (std::vector<Point>{{480, 1150}, {480, 1750}}));
    EXPECT_EQ(lines[5].points, (std::vector<Point>{{3480, 1150}, {3480, 1750}}));
    EXPECT_EQ(lines[4].pen.width, 4);
}

TEST_F(TableTest, RowLineIntervalDrawsEveryNthLineAndNoCellBoxes) {
    TableDefinition t = ThreeColumns();
    t.rowCount = 6;
    t.rowLineInterval = 2;
    t.columnLines = 0;
    page.PrintTable(t);
    auto lines = dc.Calls("Polyline");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].points.at(0).y, 1150 + 150);
    EXPECT_EQ(lines[1].points.at(0).y, 1150 + 3 * 150);
    EXPECT_EQ(lines[2].points.at(0).y, 1150 + 5 * 150);
    EXPECT_EQ(dc.Calls("Polygon").size(), 2u);  // header band and border only

    dc.Clear();
    TableDefinition noHeader = ThreeColumns();
    noHeader.noHeader = 1;
    noHeader.columnLines = 0;
    page.PrintTable(noHeader);
    auto headless = dc.Calls("Polyline");
    ASSERT_EQ(headless.size(), 4u);
    EXPECT_EQ(headless[0].points.at(0).y, 1150);
    EXPECT_EQ(headless[3].points.at(0).y, 1600);
}

TEST_F(TableTest, EqualWidthsSplitTheTruncatedWidth) {
    TableDefinition t;
    t.columnCount = 3;
    t.right = 1000.7;
    t.left = 0;
    page.PrintTable(t);
    EXPECT_DOUBLE_EQ(t.columns[0].width, 333);
    EXPECT_DOUBLE_EQ(t.columns[1].width, 333);
    EXPECT_DOUBLE_EQ(t.columns[2].width, 334);  // widened to the right edge by the header
}

TEST_F(TableTest, CellTextGridOn) {
    TableDefinition t = ThreeColumns();
    t.columns[1].fill = 3;
    page.PrintTable(t);
    dc.Clear();
    page.PrintCell(t, 2, 1, 20, 0x20u, "%s-%d", "cell", 7);
    auto text = dc.Calls("DrawText");
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(text[0].text, "cell-7");
    EXPECT_EQ(text[0].rect, (Rect{482, 1452, 3478, 1598}));  // inset by 2
    EXPECT_EQ(text[0].font.height, -100);                    // capped at the table's 12 points
    EXPECT_EQ(text[0].format & (kDtSingleLine | kDtVCenter), kDtSingleLine | kDtVCenter);
    EXPECT_EQ(text[0].bkMode, kBkTransparent);
    EXPECT_EQ(text[0].textColour, kWhite);
    EXPECT_EQ(page.GetNextColumn(), 482 + 6 * 50);

    // Rows past the row count are ignored, so are columns outside the table.
    dc.Clear();
    page.PrintCell(t, 4, 0, 12, 0x20u, "%s", "past");
    page.PrintCell(t, -1, 0, 12, 0x20u, "%s", "before");
    page.PrintCell(t, 0, 3, 12, 0x20u, "%s", "outside");
    EXPECT_TRUE(dc.DrawnTexts().empty());

    // Size below 1 takes the table's size; several lines per row keep the flags as given.
    TableDefinition multi = ThreeColumns();
    multi.linesPerRow = 2;
    multi.rowLines = 0;
    page.PrintTable(multi);
    dc.Clear();
    page.PrintCell(multi, 0, 0, 0, 0x20u, "%s", "x");
    page.PrintCell(multi, 0, 0, 20, 0x20u, "%s", "y");
    auto cells = dc.Calls("DrawText");
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].font.height, -100);
    EXPECT_EQ(cells[0].format & kDtSingleLine, 0u);
    EXPECT_EQ(cells[1].font.height, -167);  // no row lines: no cap
}

TEST_F(TableTest, CellTextGridOffUsesFlagsAsGivenAndMayRunBelowTheTable) {
    TableDefinition t = ThreeColumns();
    t.gridOff = 1;
    page.PrintTable(t);
    dc.Clear();
    page.PrintCell(t, 0, 0, 12, 0xAA0u, "%d", 900001);
    page.PrintCell(t, 5, 2, 12, 0x20u, "%s", "below");
    auto cells = dc.Calls("DrawText");
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].rect, (Rect{1, 1151, 479, 1299}));  // inset by 1
    EXPECT_EQ(cells[0].format, kDtNoPrefix | kDtCenter | kDtVCenter | kDtSingleLine);
    EXPECT_EQ(cells[1].rect.top, 1150 + 5 * 150 + 1);
    EXPECT_EQ(cells[1].format, kDtNoPrefix | kDtWordBreak);
}

TEST_F(TableTest, TableWiderThanThePageIsNotDrawnAndItsCellsNotPrinted) {
    TableDefinition t = ThreeColumns();
    t.right = 4801;
    page.PrintTable(t);
    EXPECT_FALSE(t.drawer);
    EXPECT_TRUE(dc.calls.empty());
    page.PrintCell(t, 0, 0, 12, 0x20u, "%s", "never");
    EXPECT_TRUE(dc.calls.empty());

    // A cell before the table is drawn does nothing either.
    TableDefinition fresh = ThreeColumns();
    page.PrintCell(fresh, 0, 0, 12, 0x20u, "%s", "never");
    EXPECT_TRUE(dc.calls.empty());

    // A narrower page right edge counts, not the paper.
    page.SetRight(4000);
    TableDefinition narrow = ThreeColumns();
    page.PrintTable(narrow);
    EXPECT_FALSE(narrow.drawer);
}

TEST_F(TableTest, InchTablesAreConvertedAndGiveTheirBottomInInches) {
    TableDefinition t;
    t.inInches = 1;
    t.fontSize = 12;
    t.columnCount = 2;
    t.equalWidths = 0;
    t.rowCount = 10;
    t.top = 1.0;
    t.left = 0.5;
    t.right = 4.5;
    t.columns[0].width = 1.0;
    t.columns[1].width = 2.0;
    page.PrintTable(t);
    EXPECT_DOUBLE_EQ(t.top, 600);
    EXPECT_DOUBLE_EQ(t.left, 300);
    EXPECT_DOUBLE_EQ(t.right, 2700);
    EXPECT_DOUBLE_EQ(t.columns[0].width, 600);
    EXPECT_DOUBLE_EQ(t.columns[1].width, 1800);  // 1200 widened to the right edge
    // 600 + 150 + 10 * 150 units.
    EXPECT_DOUBLE_EQ(t.bottom, 2250 / 600.0);
}

TEST_F(TableTest, DrawingLeavesThePageStateAlone) {
    page.State().lineStyle = kLineDashed;
    page.State().fontSize = 18;
    TableDefinition t = ThreeColumns();
    page.PrintTable(t);
    EXPECT_EQ(page.State().lineStyle, static_cast<unsigned>(kLineDashed));
    EXPECT_EQ(page.State().fontSize, 18);
    EXPECT_EQ(page.StackDepth(), 0);
    // Cell boxes take the page's line style.
    EXPECT_EQ(dc.Calls("Polygon").back().pen.style, PenStyle::Dash);
}

}  // namespace
}  // namespace songloader::print
