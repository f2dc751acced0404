// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/output/print/song_list_pages.h"

#include "core/output/print/page.h"
#include "core/output/print/print_table.h"
#include "core/output/print/print_units.h"
#include "core/text/code_page.h"

namespace songloader::print {

namespace {

constexpr int kTextSize = 12;
constexpr unsigned kNumberFlags = 0xAA0;  // single line, centred both ways
constexpr unsigned kTextFlags = 0xA20;    // single line, vertically centred, left

TableDefinition SongTable() {
    TableDefinition table;
    table.inInches = 1;
    table.top = 0.8;
    table.left = 0.0;
    table.right = 7.9;
    table.fontSize = kTextSize;
    table.lineWidth = 1;
    table.columnCount = 3;
    table.rowCount = kSongsPerPage;
    table.equalWidths = 0;
    table.border = 0;
    table.gridOff = 1;
    table.headerFill = kFillLightGray;
    table.headerRows = 1;
    table.linesPerRow = 1;
    table.rowLineInterval = 0;
    table.columns[0] = {0.8, " Number", 0};
    table.columns[1] = {5.0, "      Title", 0};
    table.columns[2] = {2.0, "Artist", 0};
    return table;
}

// Rows that fit below the header on this page: the layout's own height where the page is long
// enough (A4), otherwise the largest whole height that keeps all 40 rows on it (Letter).
int FittingRowHeight(const CPage& page, const Rect& drawRect) {
    const int row = PointsToDeviceUnits(kTextSize, page.Geometry().ppiY, 1.5);
    const int room = drawRect.bottom - drawRect.top - page.Units(0.8, kAxisVertical) - row;
    if (room >= kSongsPerPage * row || room < kSongsPerPage) return 0;
    return room / kSongsPerPage;
}

}  // namespace

int HighestPage(std::size_t songCount) { return static_cast<int>((songCount + kSongsPerPage - 1) / kSongsPerPage); }

int RenderSongListPage(DeviceContext& dc, PrintInfo& info, const SongList& songs, bool thaiSystem,
                       const std::string& codePage) {
    const Rect& r = info.drawRect;
    CPage page(r.left, r.top, r.right, r.bottom, dc, kMapModeText);
    int pageNumber = info.currentPage;
    page.SetFont(thaiSystem ? "System" : "Courier New");
    page.SetFontSize(18);

    TableDefinition table = SongTable();
    table.rowHeight = FittingRowHeight(page, r);
    // Texts go onto white paper without a box of their own: an opaque text box reaches the cell's
    // lines and, once the page is scaled (a preview) or a tall script fills the row, erases them.
    dc.SetBkMode(kBkTransparent);
    page.Print(0.2, 3.8, 0u, kTextSize, "Page %d", pageNumber);
    page.Line(0.6, 0.0, 0.6, 8.0, 1, 0);
    page.PrintTable(table);

    std::size_t index = pageNumber > 0 ? static_cast<std::size_t>(pageNumber - 1) * kSongsPerPage : 0;
    auto shown = [&](const std::string& text) { return codePage.empty() ? text : DeviceToUtf8(text, codePage); };
    for (int row = 0; row < kSongsPerPage && index < songs.size(); ++row, ++index) {
        const ROWELEMENT& song = songs[index];
        page.PrintCell(table, row, 0, kTextSize, kNumberFlags, "%d", song.number);
        page.PrintCell(table, row, 1, kTextSize, kTextFlags, " %s", shown(song.title).c_str());
        page.PrintCell(table, row, 2, kTextSize, kTextFlags, " %s", shown(song.artist).c_str());
    }

    if (songs.size() < static_cast<std::size_t>(pageNumber < 0 ? 0 : pageNumber) * kSongsPerPage) {
        info.continuePrinting = false;
        info.previewPages = 0;
    } else {
        info.previewPages = 1;
    }
    return 1;
}

PageRenderer SongListPageRenderer(const SongList& songs, bool thaiSystem, std::string codePage) {
    return [&songs, thaiSystem, codePage = std::move(codePage)](DeviceContext& dc, PrintInfo& info) {
        return RenderSongListPage(dc, info, songs, thaiSystem, codePage);
    };
}

}  // namespace songloader::print
