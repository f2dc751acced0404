// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/output/print/song_list_pages.h"
#include "support/recording_device_context.h"

namespace songloader::print {
namespace {

using testing::RecordedCall;
using testing::RecordingDeviceContext;

SongList Songs(int count) {
    SongList songs;
    for (int i = 0; i < count; ++i) {
        ROWELEMENT song;
        song.number = 900001 + i;
        song.numberText = std::to_string(song.number);
        song.title = "Title " + std::to_string(i + 1);
        song.artist = "Artist " + std::to_string(i + 1);
        songs.push_back(song);
    }
    return songs;
}

// A Letter page at 600 dpi: 8.5 x 11 inches, so the layout is shifted 150 pixels right.
constexpr Rect kLetter{0, 0, 5100, 6600};
constexpr int kOffset = 150;

struct Rendered {
    RecordingDeviceContext dc{600, 600};
    PrintInfo info;
    int result = 0;
};

std::unique_ptr<Rendered> Render(const SongList& songs, int pageNumber, bool thai = false) {
    auto r = std::make_unique<Rendered>();
    r->info.drawRect = kLetter;
    r->info.currentPage = pageNumber;
    r->info.maxPage = HighestPage(songs.size());
    r->result = RenderSongListPage(r->dc, r->info, songs, thai);
    return r;
}

// The cell texts: everything drawn after the page title and the three column titles.
std::vector<RecordedCall> CellTexts(const Rendered& r) {
    auto texts = r.dc.Calls("DrawText");
    return {texts.begin() + std::min<std::size_t>(4, texts.size()), texts.end()};
}

TEST(SongListPages, HighestPageRoundsUpToFortySongs) {
    EXPECT_EQ(HighestPage(0), 0);
    EXPECT_EQ(HighestPage(1), 1);
    EXPECT_EQ(HighestPage(40), 1);
    EXPECT_EQ(HighestPage(41), 2);
    EXPECT_EQ(HighestPage(80), 2);
    EXPECT_EQ(HighestPage(85), 3);
}

TEST(SongListPages, EightyFiveSongsGiveFortyFortyAndFive) {
    SongList songs = Songs(85);
    ASSERT_EQ(HighestPage(songs.size()), 3);
    const std::size_t expected[] = {40, 40, 5};
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE(page);
        auto r = Render(songs, page);
        EXPECT_EQ(r->result, 1);
        auto cells = CellTexts(*r);
        ASSERT_EQ(cells.size(), expected[page - 1] * 3);
        int first = (page - 1) * 40;
        EXPECT_EQ(cells[0].text, std::to_string(900001 + first));
        EXPECT_EQ(cells[1].text, " Title " + std::to_string(first + 1));
        EXPECT_EQ(cells[2].text, " Artist " + std::to_string(first + 1));
        EXPECT_EQ(r->dc.DrawnTexts().at(0), "Page " + std::to_string(page));
        // Every page boxes all 40 rows of its three columns, below the header band.
        EXPECT_EQ(r->dc.Calls("Polygon").size(), 1u + 3u * 40u);
        EXPECT_EQ(r->info.continuePrinting, page < 3);
        EXPECT_EQ(r->info.previewPages, page < 3 ? 1 : 0);
    }
}

TEST(SongListPages, EightySongsEndOnPageTwoWithoutClearingTheFlag) {
    SongList songs = Songs(80);
    auto r = Render(songs, 2);
    EXPECT_EQ(CellTexts(*r).size(), 120u);
    EXPECT_TRUE(r->info.continuePrinting);
    EXPECT_EQ(r->info.previewPages, 1);
    EXPECT_EQ(r->info.maxPage, 2);
}

TEST(SongListPages, EmptyListShowsTitleRuleAndEmptyTable) {
    auto r = Render({}, 1);
    EXPECT_EQ(r->dc.DrawnTexts(), (std::vector<std::string>{"Page 1", " Number", "      Title", "Artist"}));
    EXPECT_EQ(r->dc.Calls("Polyline").size(), 1u);
    EXPECT_EQ(r->dc.Calls("Polygon").size(), 121u);
    EXPECT_FALSE(r->info.continuePrinting);
    EXPECT_EQ(r->info.previewPages, 0);
}

TEST(SongListPages, TitleRuleAndHeaderGeometry) {
    auto r = Render(Songs(3), 1);
    auto texts = r->dc.Calls("DrawText");
    // "Page 1" at 0.2 inch down, 3.8 inches across, 12 points.
    EXPECT_EQ(texts[0].rect.left, 2280 + kOffset);
    EXPECT_EQ(texts[0].rect.top, 120);
    EXPECT_EQ(texts[0].font.height, -100);
    EXPECT_EQ(texts[0].font.faceName, "Courier New");
    EXPECT_EQ(texts[0].font.weight, 400);

    auto rule = r->dc.Calls("Polyline");
    ASSERT_EQ(rule.size(), 1u);
    EXPECT_EQ(rule[0].points, (std::vector<Point>{{kOffset, 360}, {4800 + kOffset, 360}}));
    EXPECT_EQ(rule[0].pen.width, 1);
    EXPECT_EQ(rule[0].pen.style, PenStyle::Solid);

    // Column titles in a light grey band from 0.8 inch, the last column ending at 7.9 inches.
    EXPECT_EQ(texts[1].text, " Number");
    EXPECT_EQ(texts[1].rect, (Rect{kOffset, 480, 480 + kOffset, 630}));
    EXPECT_EQ(texts[2].rect, (Rect{480 + kOffset, 480, 3480 + kOffset, 630}));
    EXPECT_EQ(texts[3].rect, (Rect{3480 + kOffset, 480, 4740 + kOffset, 630}));
    EXPECT_EQ(texts[1].font.weight, 700);
    for (const auto& box : r->dc.Calls("Rectangle")) EXPECT_EQ(box.brush, Brush::LightGray);
}

TEST(SongListPages, FortyRowsStayWholeOnTheSheet) {
    struct Case {
        const char* paper;
        Rect sheet;
        int offset;
        Rect lastNumberBox;  // the box of row 40, column 1
    };
    const Case cases[] = {
        // A4 has room: rows of 0.25 inch, the 40th ending 11.05 inches down.
        {"A4", {0, 0, 4961, 7016}, 80, {80, 6480, 560, 6630}},
        // Letter (11 inches) is 0.05 inch short: every row loses a pixel, the last ends on the sheet.
        {"Letter", kLetter, kOffset, {kOffset, 630 + 39 * 149, 480 + kOffset, 630 + 40 * 149}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.paper);
        RecordingDeviceContext dc(600, 600);
        PrintInfo info;
        info.drawRect = c.sheet;
        RenderSongListPage(dc, info, Songs(40), false);
        auto boxes = dc.Calls("Polygon");
        ASSERT_EQ(boxes.size(), 121u);  // the header band's outline, then the cells column by column
        EXPECT_EQ(boxes.at(40).rect, c.lastNumberBox);
        EXPECT_LE(boxes.at(40).rect.bottom, c.sheet.bottom);
        // The 40th song is written into that row, whole.
        auto texts = dc.Calls("DrawText");
        EXPECT_EQ(texts.at(texts.size() - 3).text, "900040");
        EXPECT_LE(texts.at(texts.size() - 3).rect.bottom, c.sheet.bottom);
    }
}

TEST(SongListPages, CellsAreFormattedAndPlacedAsTheTableSays) {
    SongList songs = Songs(2);
    songs[1].number = 42;
    songs[1].numberText = "000042";
    songs[1].title = "100% Pure";
    auto r = Render(songs, 1);
    auto cells = CellTexts(*r);
    ASSERT_EQ(cells.size(), 6u);
    // The number cell prints the number with "%d", centred both ways.
    EXPECT_EQ(cells[3].text, "42");
    EXPECT_EQ(cells[3].format, kDtNoPrefix | kDtCenter | kDtVCenter | kDtSingleLine);
    // Row 2 of Letter's 149-pixel rows, inset by a pixel.
    EXPECT_EQ(cells[3].rect, (Rect{1 + kOffset, 780, 479 + kOffset, 927}));
    // Title and artist with a leading space, left-aligned and vertically centred.
    EXPECT_EQ(cells[4].text, " 100% Pure");
    EXPECT_EQ(cells[4].format, kDtNoPrefix | kDtVCenter | kDtSingleLine);
    EXPECT_EQ(cells[5].text, " Artist 2");
    EXPECT_EQ(cells[5].rect.left, 3481 + kOffset);
    for (const auto& cell : cells) {
        EXPECT_EQ(cell.font.height, -100);
        EXPECT_EQ(cell.font.weight, 400);
    }
}

TEST(SongListPages, ThaiSystemPrintsWithTheSystemFontAndEnglishTitles) {
    auto r = Render(Songs(1), 1, true);
    auto texts = r->dc.Calls("DrawText");
    ASSERT_EQ(texts.size(), 7u);
    for (const auto& text : texts) EXPECT_EQ(text.font.faceName, "System");
    EXPECT_EQ(texts[1].text, " Number");
    EXPECT_EQ(texts[2].text, "      Title");
    EXPECT_EQ(texts[3].text, "Artist");
}

TEST(SongListPages, EightInchPaperHasNoOffset) {
    RecordingDeviceContext dc(300, 300);
    PrintInfo info;
    info.drawRect = {0, 0, 2400, 3300};
    RenderSongListPage(dc, info, Songs(1), false);
    auto texts = dc.Calls("DrawText");
    EXPECT_EQ(texts.at(0).rect.left, 1140);
    EXPECT_EQ(texts.at(1).rect, (Rect{0, 240, 240, 315}));  // 12 points at 300 dpi: 75-unit rows
}

}  // namespace
}  // namespace songloader::print
