// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>

#include "core/output/print/page.h"
#include "core/output/print/print_region.h"
#include "core/output/print/print_table.h"
#include "support/recording_device_context.h"

namespace songloader::print {
namespace {

using testing::RecordingDeviceContext;

void ExpectSameState(const PrintState& a, const PrintState& b) {
    EXPECT_EQ(a.dc, b.dc);
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.top, b.top);
    EXPECT_EQ(a.right, b.right);
    EXPECT_EQ(a.bottom, b.bottom);
    EXPECT_EQ(a.fontSize, b.fontSize);
    EXPECT_EQ(a.text, b.text);
    EXPECT_EQ(a.flags, b.flags);
    EXPECT_EQ(a.fill, b.fill);
    EXPECT_EQ(a.lineStyle, b.lineStyle);
    EXPECT_EQ(a.faceName, b.faceName);
    EXPECT_EQ(a.widthLimit, b.widthLimit);
    EXPECT_EQ(a.heightLimit, b.heightLimit);
    EXPECT_EQ(a.lastRight, b.lastRight);
    EXPECT_EQ(a.lastTextHeight, b.lastTextHeight);
    EXPECT_EQ(a.lastRect, b.lastRect);
    EXPECT_EQ(a.offset, b.offset);
    EXPECT_EQ(a.metrics, b.metrics);
}

// An 8 x 11 inch page at 600 dpi: no horizontal offset, font size 10 is 83 pixels high and each
// recorded character 41 pixels wide.
struct PageTest : ::testing::Test {
    RecordingDeviceContext dc{600, 600};
    CPage page{0, 0, 4800, 6600, dc};
    // Only what the test itself does is of interest, not the page's set-up calls.
    void SetUp() override { dc.Clear(); }
};

TEST_F(PageTest, ConstructionSetsTheDefaults) {
    const PrintState& s = page.State();
    EXPECT_EQ(s.fontSize, 10);
    EXPECT_EQ(s.flags, 0x420u);
    EXPECT_EQ(s.fill, 0u);
    EXPECT_EQ(s.lineStyle, 0u);
    EXPECT_EQ(s.faceName, "Times New Roman");
    EXPECT_EQ(s.lastTextHeight, 10);
    EXPECT_EQ((Rect{s.left, s.top, s.right, s.bottom}), (Rect{0, 0, 4800, 6600}));
    EXPECT_EQ(s.widthLimit, 4800);
    EXPECT_EQ(s.heightLimit, 6600);
    EXPECT_DOUBLE_EQ(page.LineSpacing(), 1.0);
    EXPECT_DOUBLE_EQ(page.Geometry().widthIn, 8.0);
    EXPECT_DOUBLE_EQ(page.Geometry().heightIn, 11.0);
    EXPECT_EQ(page.Orientation(), kOrientationPortrait);
    EXPECT_EQ(page.StackDepth(), 0);
}

TEST_F(PageTest, EveryPlacingOperationLeavesTheStateAsItFoundIt) {
    page.SetTextSource([](int v) { return "item " + std::to_string(v); });
    CPrintRegion* region = page.CreateRegion(1000, 1000, 3000, 4000, kFillLightGray);
    ASSERT_NE(region, nullptr);
    TableDefinition table;
    table.rowCount = 3;
    table.right = 4000;
    table.top = 4000;
    page.State().top = 500;
    page.State().fill = 4;
    page.State().lineStyle = kLineDotted;
    const PrintState before = page.State();
    int column = 100;
    double inchColumn = 0.5;

    const std::vector<std::pair<const char*, std::function<void()>>> operations = {
        {"Print text", [&] { page.Print("text", 100, 0x20u, 12); }},
        {"Print source units", [&] { page.Print(100, 100, 3); }},
        {"Print source inches", [&] { page.Print(0.5, 0.5, 3); }},
        {"Print format units", [&] { page.Print(100, 100, "%d", 7); }},
        {"Print format inches", [&] { page.Print(0.5, 0.5, "%d", 7); }},
        {"Print source flags units", [&] { page.Print(100, 100, 0x1u, 14, 3); }},
        {"Print source flags inches", [&] { page.Print(0.5, 0.5, 0x1u, 14, 3); }},
        {"Print column out units", [&] { page.Print(100, &column, 0x1u, 14, "%s", "x"); }},
        {"Print column out inches", [&] { page.Print(0.5, &inchColumn, 0x1u, 14, "%s", "x"); }},
        {"Print format flags units", [&] { page.Print(100, 100, 0x1u, 14, "%s", "x"); }},
        {"Print format flags inches", [&] { page.Print(0.5, 0.5, 0x1u, 14, "%s", "x"); }},
        {"PrintInRegion source", [&] { page.PrintInRegion(region, 10, 10, 0x20u, 12, 5); }},
        {"PrintInRegion format", [&] { page.PrintInRegion(region, 10, 10, 0x20u, 12, "%s", "r"); }},
        {"PrintInRegion inches", [&] { page.PrintInRegion(region, 0.1, 0.1, 0x20u, 12, "%s", "r"); }},
        {"PrintBox region", [&] { page.PrintBox(region, 0, 0, 200, 900, 0x10u, 12, std::string("b")); }},
        {"PrintBox region source", [&] { page.PrintBox(region, 0, 0, 200, 900, 0x10u, 12, 4); }},
        {"PrintBox", [&] { page.PrintBox(100, 100, 300, 900, 0x10u, 12, std::string("b")); }},
        {"PrintBox inches", [&] { page.PrintBox(0.1, 0.1, 0.5, 1.5, 0x10u, 12, std::string("b")); }},
        {"PrintBox source", [&] { page.PrintBox(100, 100, 300, 900, 0x10u, 12, 4); }},
        {"Line", [&] { page.Line(10, 10, 10, 900, 3, kLineDashed); }},
        {"Line inches", [&] { page.Line(0.1, 0.1, 0.1, 1.0, 3, kLineDashed); }},
        {"LineInRegion", [&] { page.LineInRegion(region, 10, 10, 10, 900, 3, 0); }},
        {"Box", [&] { page.Box(10, 10, 100, 900, 2, kFillBlack, kLineDashed); }},
        {"Box inches", [&] { page.Box(0.1, 0.1, 0.2, 1.0, 2, kFillBlack, kLineDashed); }},
        {"BoxInRegion", [&] { page.BoxInRegion(region, 10, 10, 100, 900, 2, kFillBlack, 0); }},
        {"CheckBox", [&] { page.CheckBox("c", true, 100, 100, 12, false, 1, 0, 0x20u); }},
        {"CheckBox after", [&] { page.CheckBox("c", true, 100, 100, 12, true, 1, kFillGray, 0x20u); }},
        {"CheckBox inches", [&] { page.CheckBox("c", false, 0.2, 0.2, 12, false, 1, 0, 0x20u); }},
        {"CheckBoxInRegion", [&] { page.CheckBoxInRegion(region, "c", true, 5, 5, 12, true, 1, 0, 0x20u); }},
        {"PrintTable", [&] { page.PrintTable(table); }},
        {"PrintCell", [&] { page.PrintCell(table, 1, 1, 12, 0x20u, "%s", "cell"); }},
        {"PrintBitmap", [&] { page.PrintBitmap(0, 0, 100, 100, "/nonexistent/picture.bmp"); }},
        {"CreateRegion", [&] { page.CreateRegion(0, 0, 100, 100, kFillGray); }},
        {"Region title", [&] { region->Title("title", 12, 0x10u, kFillGray); }},
        {"Region border", [&] { region->Border(); }},
    };
    for (const auto& [name, operation] : operations) {
        SCOPED_TRACE(name);
        std::size_t callsBefore = dc.calls.size();
        operation();
        ExpectSameState(page.State(), before);
        EXPECT_EQ(page.StackDepth(), 0);
        if (std::string(name) != "PrintBitmap") {
            EXPECT_GT(dc.calls.size(), callsBefore);
        }
    }
}

TEST_F(PageTest, SetRightAndSetBottomResetQueryAndSet) {
    EXPECT_EQ(page.SetRight(2000), 4800);
    EXPECT_EQ(page.SetRight(0), 2000);
    EXPECT_EQ(page.State().right, 2000);
    EXPECT_EQ(page.SetRight(-1), 2000);
    EXPECT_EQ(page.State().right, 4800);
    EXPECT_EQ(page.SetRight(-7), 4800);  // other negatives only query
    EXPECT_EQ(page.State().right, 4800);

    EXPECT_EQ(page.SetBottom(3000), 6600);
    EXPECT_EQ(page.SetBottom(0), 3000);
    EXPECT_EQ(page.SetBottom(-1), 3000);
    EXPECT_EQ(page.State().bottom, 6600);

    EXPECT_DOUBLE_EQ(page.SetRight(5.0), 8.0);
    EXPECT_EQ(page.State().right, 3000);
    EXPECT_DOUBLE_EQ(page.SetRight(-1.0), 5.0);
    EXPECT_EQ(page.State().right, 4800);
    EXPECT_DOUBLE_EQ(page.SetBottom(0.0), 11.0);
    EXPECT_DOUBLE_EQ(page.SetBottom(2.0), 11.0);
    EXPECT_EQ(page.State().bottom, 1200);
}

TEST_F(PageTest, PrintDrawsAtTheStateRowAndReturnsTheMeasuredBottom) {
    page.State().top = 1000;
    int next = page.Print("Hello", 200, 0x20u, 12);
    // 12 points at 600 dpi: 100 pixels.
    EXPECT_EQ(next, 1100);
    auto drawn = dc.Calls("DrawText");
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].rect, (Rect{200, 1000, 4800, 6600}));
    EXPECT_EQ(drawn[0].font.height, -100);
    EXPECT_EQ(drawn[0].font.faceName, "Times New Roman");
    EXPECT_EQ(page.GetNextColumn(), 200 + 5 * 50);
    EXPECT_EQ(page.GetNextColumn(true), 200 + 5 * 50 + 100);
    EXPECT_DOUBLE_EQ(page.GetNextColumnInches(), 450 / 600.0);
}

TEST_F(PageTest, ColumnMinusOneContinuesAfterTheLastText) {
    page.Print(300, 100, "abc");
    page.Print(300, -1, "def");
    auto drawn = dc.Calls("DrawText");
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[1].rect.left, 100 + 3 * 41);
    EXPECT_EQ(drawn[1].rect.top, 300);
    EXPECT_EQ(page.GetNextColumn(), 100 + 6 * 41);

    double column = 0.5;
    page.Print(1.0, &column, 0x20u, 10, "%s", "xy");
    EXPECT_DOUBLE_EQ(column, (300 + 2 * 41) / 600.0);
    page.Print(1.0, -1.0, "%s", "z");
    EXPECT_EQ(dc.Calls("DrawText").back().rect.left, 300 + 2 * 41);
}

TEST_F(PageTest, NothingIsDrawnRightOfOrBelowTheEdges) {
    page.SetRight(2000);
    page.SetBottom(3000);
    EXPECT_EQ(page.Print(500, 2001, "right"), 500);
    EXPECT_EQ(page.Print(3001, 100, "below"), 3001);
    page.PrintBox(100, 2001, 200, 2500, 0x10u, 10, std::string("box right"));
    page.PrintBox(3001, 100, 3200, 500, 0x10u, 10, std::string("box below"));
    EXPECT_TRUE(dc.DrawnTexts().empty());
    EXPECT_TRUE(dc.Calls("Rectangle").empty());

    // At the edge itself the text is still placed, and it stays inside the right edge.
    page.Print(3000, 2000, 0x20u, 10, "%s", "edge");
    page.Print(100, 1900, 0x20u, 10, "%s", "a long text that does not fit");
    auto drawn = dc.Calls("DrawText");
    ASSERT_EQ(drawn.size(), 2u);
    for (const auto& call : drawn) {
        EXPECT_LE(call.ink.right, 2000);
        EXPECT_LE(call.ink.bottom, 3000);
    }
}

TEST_F(PageTest, EmptyTextDrawsNothingAndReturnsTwiceTheFontSize) {
    CPrinter printer;
    PrintState state = page.State();
    state.text = "first";
    printer.DrawText(state, 1.0);
    Rect last = state.lastRect;
    int lastRight = state.lastRight;
    dc.Clear();
    state.text.clear();
    state.fontSize = 14;
    EXPECT_EQ(printer.DrawText(state, 1.0), 28);
    EXPECT_EQ(state.lastRect, last);
    EXPECT_EQ(state.lastRight, lastRight);
    EXPECT_TRUE(dc.calls.empty());

    // Through the page, an empty text keeps the column for the next text.
    page.Print(100, 700, "abc");
    EXPECT_EQ(page.Print(200, -1, "%s", ""), 200 + 20);
    EXPECT_EQ(page.GetNextColumn(), 700 + 3 * 41);
}

TEST_F(PageTest, DrawTextReturnsTheFontSizeTimesTheSpacing) {
    CPrinter printer;
    PrintState state = page.State();
    state.text = "x";
    state.fontSize = 12;
    EXPECT_EQ(printer.DrawText(state, 2.0), 24);
    EXPECT_EQ(printer.DrawText(state, 1.25), 15);
    EXPECT_EQ(state.lastTextHeight, 100);
}

TEST_F(PageTest, TextWithRightAndBottomZeroGrowsToFit) {
    page.PrintBox(100, 100, 0, 0, 0x210u, 10, std::string("grow me"));
    auto box = dc.Calls("Rectangle");
    ASSERT_EQ(box.size(), 1u);
    EXPECT_EQ(box[0].rect, (Rect{100, 100, 100 + 7 * 41, 183}));
    EXPECT_EQ(dc.Calls("DrawText").at(0).rect, box[0].rect);
}

TEST_F(PageTest, NarrowRectangleWrapsAndTheNextRowLiesBelowTheLastLine) {
    page.SetRight(100 + 6 * 41);
    int next = page.Print(400, 100, 0x20u, 10, "%s", "one two three four");
    // "one" "two" "three" "four" wrap at six characters: four lines of 83 pixels.
    EXPECT_EQ(next, 400 + 4 * 83);
    EXPECT_EQ(dc.Calls("DrawText").at(0).format & kDtWordBreak, kDtWordBreak);
    dc.Clear();
    int single = page.Print(400, 100, 0x220u, 10, "%s", "one two three four");
    EXPECT_EQ(single, 400 + 83);
}

TEST_F(PageTest, ExtraLineSpacingIsAddedToFormattedPrints) {
    EXPECT_DOUBLE_EQ(page.SetLineSpacing(1.5), 1.0);
    EXPECT_DOUBLE_EQ(page.SetLineSpacing(0), 1.5);
    EXPECT_DOUBLE_EQ(page.SetLineSpacing(-2), 1.5);
    // 12 points = 100 units, half of it extra.
    EXPECT_EQ(page.Print(1000, 100, 0x20u, 12, "%s", "x"), 1000 + 100 + 50);
    // The plain text form adds nothing.
    page.State().top = 1000;
    EXPECT_EQ(page.Print("x", 100, 0x20u, 12), 1100);
}

TEST_F(PageTest, TextSourceOperationsNeedASource) {
    page.Print(100, 100, 5);
    page.PrintBox(100, 100, 200, 800, 0x20u, 10, 5);
    EXPECT_TRUE(dc.calls.empty());
    page.SetTextSource([](int v) { return "#" + std::to_string(v); });
    page.Print(100, 100, 5);
    page.PrintBox(100, 100, 200, 800, 0x20u, 10, 6);
    EXPECT_EQ(dc.DrawnTexts(), (std::vector<std::string>{"#5", "#6"}));
}

TEST_F(PageTest, FontFollowsTheFlagsAndTheFace) {
    EXPECT_EQ(page.SetFont("Courier New"), "Times New Roman");
    EXPECT_EQ(page.SetFont(""), "Courier New");
    page.Print(100, 100, kTextBold | kTextItalic | kTextUnderline | kTextStrikeOut, 18, "%s", "x");
    const LogFont f = dc.Calls("DrawText").at(0).font;
    EXPECT_EQ(f.height, -150);
    EXPECT_EQ(f.weight, 700);
    EXPECT_TRUE(f.italic);
    EXPECT_TRUE(f.underline);
    EXPECT_TRUE(f.strikeOut);
    EXPECT_EQ(f.faceName, "Courier New");
    EXPECT_EQ(f.pitchAndFamily, 0x22);
    EXPECT_EQ(f.outPrecision, 3);
    EXPECT_EQ(f.clipPrecision, 2);
    EXPECT_EQ(f.quality, 2);
    EXPECT_EQ(page.SetFontSize(8), 10);
    page.Print(100, 100, "%s", "y");
    EXPECT_EQ(dc.Calls("DrawText").at(1).font.weight, 400);
    EXPECT_EQ(dc.Calls("DrawText").at(1).font.height, -67);
}

TEST(TextFormat, FlagsBecomeTheDeviceFormat) {
    EXPECT_EQ(TextFormatFor(0x420), kDtNoPrefix | kDtNoClip | kDtWordBreak);
    EXPECT_EQ(TextFormatFor(0xAA0), kDtNoPrefix | kDtCenter | kDtVCenter | kDtSingleLine);
    EXPECT_EQ(TextFormatFor(0xA20), kDtNoPrefix | kDtVCenter | kDtSingleLine);
    EXPECT_EQ(TextFormatFor(0xC0), kDtNoPrefix | kDtCenter | kDtWordBreak);  // centre wins over right
    EXPECT_EQ(TextFormatFor(0x140), kDtNoPrefix | kDtRight | kDtExpandTabs | kDtWordBreak);
}

TEST_F(PageTest, BoxedTextFillsAndColoursByFillStyle) {
    page.State().fill = kFillBlack;
    page.PrintBox(100, 100, 300, 900, 0x10u, 10, std::string("white on black"));
    const auto box = dc.Calls("Rectangle").at(0);
    EXPECT_EQ(box.brush, Brush::Black);
    const auto text = dc.Calls("DrawText").at(0);
    EXPECT_EQ(text.bkMode, kBkTransparent);
    EXPECT_EQ(text.textColour, kWhite);
    // Afterwards the context is back to opaque black text.
    EXPECT_EQ(dc.GetBkMode(), kBkOpaque);
    EXPECT_EQ(dc.GetTextColor(), kBlack);

    dc.Clear();
    page.State().fill = kFillLightGray;
    page.PrintBox(100, 100, 300, 900, 0x10u, 10, std::string("grey"));
    EXPECT_EQ(dc.Calls("Rectangle").at(0).brush, Brush::LightGray);
    EXPECT_EQ(dc.Calls("DrawText").at(0).bkMode, kBkTransparent);
    EXPECT_EQ(dc.Calls("DrawText").at(0).textColour, kBlack);

    dc.Clear();
    page.State().fill = 0;
    page.PrintBox(100, 100, 300, 900, 0x20u, 10, std::string("plain"));
    EXPECT_TRUE(dc.Calls("Rectangle").empty());
}

TEST_F(PageTest, LinesAndBoxesTakeTheirPenAndBrush) {
    page.SetTextColor(0x0000FF);
    page.Line(100, 200, 300, 400, 5, kLineDashed | kLineDotted);
    auto line = dc.Calls("Polyline").at(0);
    EXPECT_EQ(line.points, (std::vector<Point>{{200, 100}, {400, 300}}));
    EXPECT_EQ(line.pen.style, PenStyle::Dash);
    EXPECT_EQ(line.pen.width, 5);
    EXPECT_EQ(line.pen.colour, 0x0000FFu);
    page.Line(0, 0, 0, 10, 1, kLineDashDot);
    page.Line(0, 0, 0, 10, 1, kLineDashDotDot);
    page.Line(0, 0, 0, 10, 1, kLineDotted);
    auto lines = dc.Calls("Polyline");
    EXPECT_EQ(lines[1].pen.style, PenStyle::DashDot);
    EXPECT_EQ(lines[2].pen.style, PenStyle::DashDotDot);
    EXPECT_EQ(lines[3].pen.style, PenStyle::Dot);

    // 0xFFFF keeps the page's line style.
    page.State().lineStyle = kLineDotted;
    page.Line(0, 0, 0, 10, 1, kKeepCurrent);
    EXPECT_EQ(dc.Calls("Polyline").back().pen.style, PenStyle::Dot);

    page.Box(100, 200, 300, 400, 2, kFillDarkGray | kFillBlack, kLineDashDot);
    auto box = dc.Calls("Polygon").at(0);
    EXPECT_EQ(box.points, (std::vector<Point>{{200, 100}, {400, 100}, {400, 300}, {200, 300}}));
    EXPECT_EQ(box.brush, Brush::DarkGray);
    EXPECT_EQ(box.pen.style, PenStyle::Solid);  // box outlines know only dashes and dots
    EXPECT_EQ(box.pen.width, 2);
    page.Box(0, 0, 10, 10, 1, 0, kLineDashed);
    EXPECT_EQ(dc.Calls("Polygon").back().brush, Brush::Null);
    EXPECT_EQ(dc.Calls("Polygon").back().pen.style, PenStyle::Dash);
}

TEST_F(PageTest, CheckBoxPlacesBoxAndText) {
    // 12 points: a 100-unit square.
    page.CheckBox("Yes", false, 1000, 500, 12, false, 1, 0, 0x20u);
    auto boxes = dc.Calls("Polygon");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rect, (Rect{500, 1000, 600, 1100}));
    EXPECT_TRUE(dc.Calls("Polyline").empty());
    auto text = dc.Calls("DrawText").at(0);
    EXPECT_EQ(text.rect.left, 700);  // two box widths right of the column
    EXPECT_EQ(text.rect.top, 1000);
    EXPECT_EQ(text.font.height, -100);

    dc.Clear();
    page.CheckBox("No", true, 2000, 500, 12, true, 3, 0, 0x20u);
    // Text first, then the box after it with a gap of the widest character.
    EXPECT_EQ(dc.Calls("DrawText").at(0).rect.left, 500);
    int boxLeft = 500 + 2 * 50 + 100;
    EXPECT_EQ(dc.Calls("Polygon").at(0).rect, (Rect{boxLeft, 2000, boxLeft + 100, 2100}));
    auto cross = dc.Calls("Polyline");
    ASSERT_EQ(cross.size(), 2u);
    EXPECT_EQ(cross[0].points, (std::vector<Point>{{boxLeft, 2000}, {boxLeft + 100, 2100}}));
    EXPECT_EQ(cross[1].points, (std::vector<Point>{{boxLeft, 2100}, {boxLeft + 100, 2000}}));
    EXPECT_EQ(cross[0].pen.width, 3);

    dc.Clear();
    page.CheckBox("Filled", true, 3000, 500, 12, false, 1, kFillGray, 0x20u);
    auto fill = dc.Calls("FillRect");
    ASSERT_EQ(fill.size(), 1u);
    EXPECT_EQ(fill[0].brush, Brush::Gray);
    EXPECT_TRUE(dc.Calls("Polyline").empty());
}

TEST_F(PageTest, FormattedTextIsCutToTheBuffer) {
    std::string longText(6000, 'a');
    page.SetRight(4800);
    page.Print(0, 0, "%s", longText.c_str());
    EXPECT_EQ(dc.DrawnTexts().at(0).size(), kFormatBufferSize - 1);
}

TEST_F(PageTest, ScaledModeDrawsTextInDevicePixels) {
    RecordingDeviceContext scaledDc(600, 600);
    CPage scaled(0, 0, 4800, 6000, scaledDc, kMapModeAnisotropic);
    int next = scaled.Print(100, 250, "%s", "abc");
    auto text = scaledDc.Calls("DrawText").at(0);
    EXPECT_EQ(text.rect.left, 1200);
    EXPECT_EQ(text.rect.top, 600);
    EXPECT_EQ(text.font.height, -83);
    // 83 device pixels are 13.8 page units down.
    EXPECT_EQ(next, 114);
    EXPECT_EQ(scaledDc.GetMapMode(), kMapModeAnisotropic);
}

}  // namespace
}  // namespace songloader::print
