// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/output/print/print_table.h"

#include <string>

#include "core/output/print/fill_colours.h"
#include "core/output/print/page.h"
#include "core/output/print/print_units.h"

namespace songloader::print {

TableDefinition::TableDefinition() = default;
TableDefinition::~TableDefinition() = default;
TableDefinition::TableDefinition(TableDefinition&&) noexcept = default;
TableDefinition& TableDefinition::operator=(TableDefinition&&) noexcept = default;

namespace {

constexpr unsigned kHeaderCellFlags = kTextBold | kTextBoxed | kTextCentred | kTextVCentred;  // 0x891
constexpr double kCellSpacing = 2.0;

}  // namespace

CPrintTable::CPrintTable(PrintState& state, TableDefinition& table, CPage& page)
    : state_(state), table_(table), page_(page) {}

int CPrintTable::ColumnCount() const {
    if (table_.columnCount < 0) return 0;
    return table_.columnCount > kMaxTableColumns ? kMaxTableColumns : table_.columnCount;
}

int CPrintTable::ColumnWidth(int column) const {
    return static_cast<int>(table_.columns[static_cast<std::size_t>(column)].width);
}

int CPrintTable::ColumnLeft(int column) const {
    int x = static_cast<int>(table_.left);
    for (int c = 0; c < column; ++c) x += ColumnWidth(c);
    return x;
}

int CPrintTable::RowHeight(bool header) {
    if (!header && table_.rowHeight > 0) return table_.rowHeight;
    int size = table_.fontSize;
    bool device = page_.Geometry().mapMode != kMapModeAnisotropic;
    int ppiY = page_.Geometry().ppiY;
    if (header && table_.headerRows != 1) return device ? PointsToDeviceUnits(size, ppiY, 1.0) : size;
    int line = device ? PointsToDeviceUnits(size, ppiY, 1.5) : static_cast<int>(size * 1.5);
    return header ? line : table_.linesPerRow * line;
}

int CPrintTable::HeaderBand() { return table_.noHeader ? 0 : RowHeight(true) * table_.headerRows; }

int CPrintTable::BodyTop() { return static_cast<int>(table_.top) + HeaderBand(); }

void CPrintTable::DrawTable() {
    pageLineStyle_ = state_.lineStyle;
    int count = ColumnCount();
    if (table_.equalWidths && count > 0) {
        int width = static_cast<int>(table_.right - table_.left) / count;
        for (int c = 0; c < count; ++c) table_.columns[static_cast<std::size_t>(c)].width = width;
    }
    if (!table_.noHeader) Header();

    int bottom = static_cast<int>(table_.top) + table_.rowCount * RowHeight(false);
    if (!table_.noHeader) bottom += HeaderBand();
    table_.bottom = bottom;
    if (table_.border == 1 && table_.gridOff == 0) Border();
    if (table_.rowLines == 1 && table_.gridOff == 0) RowLines();
    if (table_.columnLines == 1 && table_.gridOff == 0) ColumnLines();
    if (table_.rowLineInterval == 0) {
        for (int c = 0; c < count; ++c)
            for (int r = 0; r < table_.rowCount; ++r) CellBox(r, c);
    }
}

void CPrintTable::Header() {
    int count = ColumnCount();
    int top = static_cast<int>(table_.top);
    int left = static_cast<int>(table_.left);
    int right = static_cast<int>(table_.right);
    int band = HeaderBand();
    state_.fontSize = table_.fontSize;

    state_.top = top;
    state_.left = left;
    state_.bottom = top + band;
    state_.right = right;
    state_.fill = 0;
    state_.lineStyle = 0;
    page_.Printer().Box(state_, table_.lineWidth);
    if (count == 0) return;

    // The columns end exactly at the table's right edge: the last one takes up the difference.
    int x = ColumnLeft(count);
    ColumnDefinition& last = table_.columns[static_cast<std::size_t>(count - 1)];
    if (x < right) last.width += right - x;
    else if (x > right) last.width -= x - right;

    DeviceContext& dc = *state_.dc;
    Colour colour = dc.GetTextColor();
    if (table_.headerFill > 2) dc.SetTextColor(kWhite);
    for (int c = 0; c < count; ++c) {
        const ColumnDefinition& column = table_.columns[static_cast<std::size_t>(c)];
        state_.left = ColumnLeft(c);
        state_.right = state_.left + ColumnWidth(c);
        state_.top = top;
        state_.bottom = top + band;
        state_.text = column.title.empty() ? "Col " + std::to_string(c + 1) : column.title;
        state_.flags = kHeaderCellFlags;
        state_.fill = table_.headerFill;
        page_.Printer().DrawText(state_, kCellSpacing);
    }
    dc.SetTextColor(colour);
}

void CPrintTable::LineAt(int top, int left, int bottom, int right, int penWidth) {
    state_.top = top;
    state_.left = left;
    state_.bottom = bottom;
    state_.right = right;
    state_.lineStyle = 0;
    page_.Printer().Line(state_, penWidth);
}

void CPrintTable::Border() {
    state_.top = static_cast<int>(table_.top);
    state_.left = static_cast<int>(table_.left);
    state_.bottom = static_cast<int>(table_.bottom);
    state_.right = static_cast<int>(table_.right);
    state_.fill = 0;
    state_.lineStyle = 0;
    page_.Printer().Box(state_, table_.lineWidth);
}

void CPrintTable::RowLines() {
    int height = RowHeight(false);
    int y = table_.noHeader ? static_cast<int>(table_.top) + height : BodyTop();
    unsigned interval = table_.rowLineInterval;
    for (int k = 0; k < table_.rowCount; ++k, y += height) {
        if (interval != 0 && (static_cast<unsigned>(k) + 1) % interval != 0) continue;
        LineAt(y, static_cast<int>(table_.left), y, static_cast<int>(table_.right), table_.lineWidth);
    }
}

void CPrintTable::ColumnLines() {
    int top = BodyTop();
    int bottom = static_cast<int>(table_.bottom);
    for (int c = 0; c + 1 < ColumnCount(); ++c) {
        int x = ColumnLeft(c + 1);
        LineAt(top, x, bottom, x, table_.lineWidth);
    }
}

void CPrintTable::CellBox(int row, int column) {
    int height = RowHeight(false);
    state_.top = BodyTop() + row * height;
    state_.bottom = state_.top + height;
    state_.left = ColumnLeft(column);
    state_.right = state_.left + ColumnWidth(column);
    state_.fill = table_.columns[static_cast<std::size_t>(column)].fill;
    state_.lineStyle = pageLineStyle_;
    page_.Printer().Box(state_, 1);
}

void CPrintTable::CellText(const Rect& cell, int size, unsigned flags, unsigned fill, const std::string& text) {
    CPage::StateScope scope(page_);
    state_.top = cell.top;
    state_.left = cell.left;
    state_.bottom = cell.bottom;
    state_.right = cell.right;
    state_.fontSize = size;
    state_.flags = flags;
    state_.fill = fill;
    state_.text = text;
    FillColours colours(*state_.dc, fill);
    page_.Printer().DrawText(state_, kCellSpacing);
    if (!text.empty()) page_.NoteText(state_);
}

void CPrintTable::CellTextGridOn(int row, int column, int size, unsigned flags, const std::string& text) {
    if (row < 0 || row >= table_.rowCount || column < 0 || column >= ColumnCount()) return;
    if (size < 1) size = table_.fontSize;
    if (table_.rowLines == 1 && size > table_.fontSize) size = table_.fontSize;
    if (table_.linesPerRow == 1) flags |= kTextSingleLine | kTextVCentred;
    int height = RowHeight(false);
    int top = BodyTop() + row * height;
    int left = ColumnLeft(column);
    Rect cell{left + 2, top + 2, left + ColumnWidth(column) - 2, top + height - 2};
    CellText(cell, size, flags, table_.columns[static_cast<std::size_t>(column)].fill, text);
}

void CPrintTable::CellTextGridOff(int row, int column, int size, unsigned flags, const std::string& text) {
    // Without a grid there is no row limit: later rows land below the table.
    if (row < 0 || column < 0 || column >= ColumnCount()) return;
    if (size < 1) size = table_.fontSize;
    int height = RowHeight(false);
    int top = BodyTop() + row * height;
    int left = ColumnLeft(column);
    Rect cell{left + 1, top + 1, left + ColumnWidth(column) - 1, top + height - 1};
    CellText(cell, size, flags, table_.columns[static_cast<std::size_t>(column)].fill, text);
}

}  // namespace songloader::print
