// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <memory>
#include <string>

#include "core/output/print/print_state.h"

namespace songloader::print {

class CPage;
class CPrintTable;

inline constexpr int kMaxTableColumns = 25;
// Longest text of one cell.
inline constexpr std::size_t kCellTextLimit = 999;

struct ColumnDefinition {
    double width = 0;
    std::string title;  // empty: "Col %d"
    unsigned fill = 0;  // also decides the cells' background and text colour
};

// Describes a table; PrintTable draws its frame and keeps the drawer here for PrintCell.
struct TableDefinition {
    unsigned rowLineInterval = 0;  // 0: a line after every row and a box around every cell
    int inInches = 0;              // 1: positions and widths are inches until PrintTable converts them
    int equalWidths = 1;
    unsigned headerFill = 0;
    int fontSize = 10;
    int lineWidth = 1;
    int columnCount = 2;  // 1..25
    int rowCount = 0;
    int border = 1;
    unsigned columnLines = 1;
    unsigned rowLines = 1;
    int gridOff = 0;
    unsigned noHeader = 0;
    int headerRows = 1;
    int linesPerRow = 1;
    int rowHeight = 0;  // body rows in page units (never converted); 0: from the font size
    double top = 0;
    double left = 0;
    double right = 0;
    double bottom = 0;  // set by PrintTable
    std::array<ColumnDefinition, kMaxTableColumns> columns{};
    std::unique_ptr<CPrintTable> drawer;

    TableDefinition();
    ~TableDefinition();
    TableDefinition(TableDefinition&&) noexcept;
    TableDefinition& operator=(TableDefinition&&) noexcept;
};

// Draws one table on a page and writes its cells.
class CPrintTable {
public:
    CPrintTable(PrintState& state, TableDefinition& table, CPage& page);
    virtual ~CPrintTable() = default;

    virtual void DrawTable();
    virtual void CellTextGridOn(int row, int column, int size, unsigned flags, const std::string& text);
    virtual void CellTextGridOff(int row, int column, int size, unsigned flags, const std::string& text);
    virtual void Header();
    virtual void Border();
    virtual void RowLines();
    virtual void ColumnLines();
    // Height of a body row, or of one header row.
    virtual int RowHeight(bool header);
    virtual void CellBox(int row, int column);

    int HeaderBand();
    int BodyTop();
    int ColumnLeft(int column) const;
    int ColumnWidth(int column) const;
    int ColumnCount() const;

private:
    void CellText(const Rect& cell, int size, unsigned flags, unsigned fill, const std::string& text);
    void LineAt(int top, int left, int bottom, int right, int penWidth);

    PrintState& state_;
    TableDefinition& table_;
    CPage& page_;
    unsigned pageLineStyle_ = 0;  // the page's line style when the drawing began
};

}  // namespace songloader::print
