// SPDX-License-Identifier: GPL-3.0-or-later
// The page's lines, boxes, check boxes, regions, tables and bitmaps.
#include <cstdarg>

#include "core/output/print/bmp_reader.h"
#include "core/output/print/page.h"
#include "core/output/print/print_region.h"
#include "core/output/print/print_table.h"

namespace songloader::print {

void CPage::Line(int top, int left, int bottom, int right, int penWidth, unsigned lineStyle) {
    StateScope scope(*this);
    state_.top = top;
    state_.left = left;
    state_.bottom = bottom;
    state_.right = right;
    if (lineStyle != kKeepCurrent) state_.lineStyle = lineStyle;
    printer_->Line(state_, penWidth);
}

void CPage::Line(double top, double left, double bottom, double right, int penWidth, unsigned lineStyle) {
    Line(Units(top, kAxisVertical), Units(left, kAxisHorizontal), Units(bottom, kAxisVertical),
         Units(right, kAxisHorizontal), penWidth, lineStyle);
}

void CPage::LineInRegion(CPrintRegion* region, int top, int left, int bottom, int right, int penWidth,
                         unsigned lineStyle) {
    if (!region) return;
    Line(region->Y(top), region->X(left), region->Y(bottom), region->X(right), penWidth, lineStyle);
}

void CPage::LineInRegion(CPrintRegion* region, double top, double left, double bottom, double right, int penWidth,
                         unsigned lineStyle) {
    LineInRegion(region, Units(top, kAxisVertical), Units(left, kAxisHorizontal), Units(bottom, kAxisVertical),
                 Units(right, kAxisHorizontal), penWidth, lineStyle);
}

void CPage::Box(int top, int left, int bottom, int right, int penWidth, unsigned fill, unsigned lineStyle) {
    StateScope scope(*this);
    state_.top = top;
    state_.left = left;
    state_.bottom = bottom;
    state_.right = right;
    state_.fill = fill;
    if (lineStyle != kKeepCurrent) state_.lineStyle = lineStyle;
    printer_->Box(state_, penWidth);
}

void CPage::Box(double top, double left, double bottom, double right, int penWidth, unsigned fill, unsigned lineStyle) {
    Box(Units(top, kAxisVertical), Units(left, kAxisHorizontal), Units(bottom, kAxisVertical),
        Units(right, kAxisHorizontal), penWidth, fill, lineStyle);
}

void CPage::BoxInRegion(CPrintRegion* region, int top, int left, int bottom, int right, int penWidth, unsigned fill,
                        unsigned lineStyle) {
    if (!region) return;
    Box(region->Y(top), region->X(left), region->Y(bottom), region->X(right), penWidth, fill, lineStyle);
}

void CPage::BoxInRegion(CPrintRegion* region, double top, double left, double bottom, double right, int penWidth,
                        unsigned fill, unsigned lineStyle) {
    BoxInRegion(region, Units(top, kAxisVertical), Units(left, kAxisHorizontal), Units(bottom, kAxisVertical),
                Units(right, kAxisHorizontal), penWidth, fill, lineStyle);
}

// --- check boxes --------------------------------------------------------------------------

void CPage::DrawCheckBox(const std::string& text, bool checked, int row, int column, int boxSize, bool boxAfterText,
                         int penWidth, unsigned fill, unsigned textFlags, const CPrintRegion* clampTo) {
    int height = Units(boxSize / 72.0, kAxisVertical);
    int width = Units(boxSize / 72.0, kAxisHorizontal);
    auto clampX = [&](int x) { return clampTo && x > clampTo->Right() ? clampTo->Right() : x; };
    auto clampY = [&](int y) { return clampTo && y > clampTo->Bottom() ? clampTo->Bottom() : y; };

    int boxLeft = column;
    if (boxAfterText) {
        PrintText(row, column, textFlags, boxSize, text);
        boxLeft = GetNextColumn(true);
    }
    int top = clampY(row);
    int bottom = clampY(row + height);
    int left = clampX(boxLeft);
    int right = clampX(boxLeft + width);
    Box(top, left, bottom, right, penWidth, 0, 0);
    if (checked) {
        if (fill != 0) {
            StateScope scope(*this);
            state_.top = top;
            state_.left = left;
            state_.bottom = bottom;
            state_.right = right;
            state_.fill = fill;
            printer_->FillRect(state_);
        } else {
            Line(top, left, bottom, right, penWidth, 0);
            Line(bottom, left, top, right, penWidth, 0);
        }
    }
    if (!boxAfterText) PrintText(row, column + 2 * width, textFlags, boxSize, text);
}

void CPage::CheckBox(const std::string& text, bool checked, int row, int column, int boxSize, bool boxAfterText,
                     int penWidth, unsigned fill, unsigned textFlags) {
    DrawCheckBox(text, checked, row, column, boxSize, boxAfterText, penWidth, fill, textFlags, nullptr);
}

void CPage::CheckBox(const std::string& text, bool checked, double row, double column, int boxSize, bool boxAfterText,
                     int penWidth, unsigned fill, unsigned textFlags) {
    CheckBox(text, checked, Units(row, kAxisVertical), Units(column, kAxisHorizontal), boxSize, boxAfterText, penWidth,
             fill, textFlags);
}

void CPage::CheckBoxInRegion(CPrintRegion* region, const std::string& text, bool checked, int row, int column,
                             int boxSize, bool boxAfterText, int penWidth, unsigned fill, unsigned textFlags) {
    if (!region) return;
    StateScope scope(*this);
    state_.right = region->Right();
    state_.bottom = region->Bottom();
    DrawCheckBox(text, checked, region->ContentTop() + row, region->ContentLeft() + column, boxSize, boxAfterText,
                 penWidth, fill, textFlags, region);
}

void CPage::CheckBoxInRegion(CPrintRegion* region, const std::string& text, bool checked, double row, double column,
                             int boxSize, bool boxAfterText, int penWidth, unsigned fill, unsigned textFlags) {
    CheckBoxInRegion(region, text, checked, Units(row, kAxisVertical), Units(column, kAxisHorizontal), boxSize,
                     boxAfterText, penWidth, fill, textFlags);
}

// --- regions ------------------------------------------------------------------------------

CPrintRegion* CPage::CreateRegion(int top, int left, int bottom, int right, unsigned fill) {
    auto region = std::make_unique<CPrintRegion>();
    if (!region->Create(*this, top, left, right, bottom, fill)) return nullptr;
    regions_.push_back(std::move(region));
    return regions_.back().get();
}

CPrintRegion* CPage::CreateRegion(double top, double left, double bottom, double right, unsigned fill) {
    return CreateRegion(Units(top, kAxisVertical), Units(left, kAxisHorizontal), Units(bottom, kAxisVertical),
                        Units(right, kAxisHorizontal), fill);
}

// --- tables -------------------------------------------------------------------------------

void CPage::PrintTable(TableDefinition& table) {
    if (table.noHeader) table.headerRows = 0;
    if (table.inInches) {
        auto units = [&](double inches, int axis) { return static_cast<double>(Units(inches, axis)); };
        table.top = units(table.top, kAxisVertical);
        table.bottom = units(table.bottom, kAxisVertical);
        table.left = units(table.left, kAxisHorizontal);
        table.right = units(table.right, kAxisHorizontal);
        int count =
            table.columnCount < 0 ? 0 : (table.columnCount > kMaxTableColumns ? kMaxTableColumns : table.columnCount);
        for (int c = 0; c < count; ++c)
            table.columns[static_cast<std::size_t>(c)].width =
                units(table.columns[static_cast<std::size_t>(c)].width, kAxisHorizontal);
    }
    if (state_.right < table.right) {
        table.drawer.reset();
        return;
    }
    table.drawer = std::make_unique<CPrintTable>(state_, table, *this);
    {
        StateScope scope(*this);
        table.drawer->DrawTable();
    }
    if (table.inInches) table.bottom = Inches(static_cast<int>(table.bottom), kAxisVertical);
}

void CPage::PrintCell(TableDefinition& table, int row, int column, int size, unsigned flags, const char* format, ...) {
    if (!table.drawer) return;
    std::va_list args;
    va_start(args, format);
    std::string text = FormatText(kCellTextLimit + 1, format, args);
    va_end(args);
    if (table.gridOff) table.drawer->CellTextGridOff(row, column, size, flags, text);
    else table.drawer->CellTextGridOn(row, column, size, flags, text);
}

// --- bitmaps ------------------------------------------------------------------------------

void CPage::PrintBitmap(int top, int left, int bottom, int right, const std::filesystem::path& file) {
    StateScope scope(*this);
    state_.top = top;
    state_.left = left;
    state_.bottom = bottom;
    state_.right = right;
    std::optional<Dib> dib = LoadBmp(file);
    if (!dib) return;
    int height = dib->header.height < 0 ? -dib->header.height : dib->header.height;
    state_.dc->StretchDIBits({left, top, right, bottom}, {0, 0, dib->header.width, height}, *dib, kRopSourceCopy);
}

void CPage::PrintBitmap(double top, double left, double bottom, double right, const std::filesystem::path& file) {
    PrintBitmap(Units(top, kAxisVertical), Units(left, kAxisHorizontal), Units(bottom, kAxisVertical),
                Units(right, kAxisHorizontal), file);
}

}  // namespace songloader::print
