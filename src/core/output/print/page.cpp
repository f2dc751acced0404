// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/output/print/page.h"

#include <cstdio>
#include <vector>

#include "core/output/print/fill_colours.h"
#include "core/output/print/print_region.h"

namespace songloader::print {

std::string FormatText(std::size_t bufferSize, const char* format, std::va_list args) {
    if (format == nullptr || bufferSize == 0) return {};
    std::vector<char> buffer(bufferSize);
    int written = std::vsnprintf(buffer.data(), buffer.size(), format, args);
    if (written < 0) return {};
    std::size_t length = static_cast<std::size_t>(written);
    return std::string(buffer.data(), length < bufferSize ? length : bufferSize - 1);
}

namespace {

std::string FormatArgs(const char* format, std::va_list args) { return FormatText(kFormatBufferSize, format, args); }

}  // namespace

CPage::StateScope::StateScope(CPage& page) : page_(page), pushed_(page.PushState()) {
    if (!pushed_) spare_ = page.state_;
}

CPage::StateScope::~StateScope() {
    if (pushed_) page_.PopState();
    else page_.state_ = spare_;
}

CPage::CPage(int left, int top, int right, int bottom, DeviceContext& dc, int mapMode)
    : printer_(std::make_unique<CPrinter>()) {
    state_.dc = &dc;
    state_.metrics = &metrics_;
    int mode = mapMode == kMapModeAnisotropic ? kMapModeAnisotropic : kMapModeText;
    dc.SetMapMode(mode);
    if (mode == kMapModeAnisotropic) {
        dc.SetWindowOrg({0, 0});
        dc.SetWindowExt({kScaledExtent, kScaledExtent});
        dc.SetViewportOrg({left, top});
        dc.SetViewportExt({right - left, bottom - top});
        state_.left = 0;
        state_.top = 0;
        state_.right = kScaledExtent;
        state_.bottom = kScaledExtent;
        state_.widthLimit = kScaledExtent;
        state_.heightLimit = kScaledExtent;
    } else {
        state_.left = left;
        state_.top = top;
        state_.right = right;
        state_.bottom = bottom;
        state_.widthLimit = right;
        state_.heightLimit = bottom;
    }
    ppiX_ = dc.GetDeviceCaps(kCapLogPixelsX);
    ppiY_ = dc.GetDeviceCaps(kCapLogPixelsY);
    geometry_.mapMode = mode;
    geometry_.ppiX = ppiX_;
    geometry_.ppiY = ppiY_;
    geometry_.widthIn = ppiX_ > 0 ? static_cast<double>(right) / ppiX_ : 0.0;
    geometry_.heightIn = ppiY_ > 0 ? static_cast<double>(bottom) / ppiY_ : 0.0;
    geometry_.widthLimit = state_.widthLimit;
    geometry_.heightLimit = state_.heightLimit;
    orientation_ = dc.PrinterOrientation();
    state_.offset = HorizontalOffset(geometry_, orientation_);
}

CPage::~CPage() = default;

bool CPage::PushState() {
    if (stackTop_ + 1 >= static_cast<int>(kStateStackSize)) return false;
    stack_[static_cast<std::size_t>(++stackTop_)] = state_;
    return true;
}

void CPage::PopState() {
    if (stackTop_ < 0) return;
    state_ = stack_[static_cast<std::size_t>(stackTop_--)];
}

void CPage::SetTextSource(TextSource source) { textSource_ = std::move(source); }

// --- text at a row and column -------------------------------------------------------------

CPage::Placed CPage::PlaceText(const std::string& text, int column, unsigned flags, int size) {
    int row = state_.top;
    if (column == -1) column = lastRight_;
    if (column > state_.right || row > state_.bottom) return {row, false};
    StateScope scope(*this);
    state_.left = column;
    state_.text = text;
    if (flags != kKeepCurrent) state_.flags = flags;
    if (size > 0) state_.fontSize = size;
    int advance = printer_->DrawText(state_, lineSpacing_);
    // An empty text measures nothing: it takes the room the renderer reports.
    if (text.empty()) return {row + advance, false};
    NoteText(state_);
    return {state_.lastRect.bottom, true};
}

int CPage::Print(const std::string& text, int column, unsigned flags, int size) {
    return PlaceText(text, column, flags, size).nextRow;
}

int CPage::ExtraLineSpacing(int size) const {
    if (!(lineSpacing_ > 1.0)) return 0;
    int points = size > 0 ? size : state_.fontSize;
    return static_cast<int>(Units(points / 72.0, kAxisVertical) * (lineSpacing_ - 1.0));
}

CPage::Placed CPage::PrintText(int row, int column, unsigned flags, int size, const std::string& text) {
    Placed placed;
    {
        StateScope scope(*this);
        state_.top = row;
        placed = PlaceText(text, column, flags, size);
    }
    placed.nextRow += ExtraLineSpacing(size);
    return placed;
}

int CPage::ColumnUnits(double column) const {
    // -1 keeps its meaning "after the last text" in the inch forms too.
    return column == -1.0 ? -1 : Units(column, kAxisHorizontal);
}

void CPage::Print(double row, double column, int value) {
    Print(Units(row, kAxisVertical), ColumnUnits(column), value);
}

void CPage::Print(int row, int column, int value) {
    if (!textSource_) return;
    PrintText(row, column, kKeepCurrent, 0, textSource_(value));
}

double CPage::Print(double row, double column, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::string text = FormatArgs(format, args);
    va_end(args);
    return Inches(PrintText(Units(row, kAxisVertical), ColumnUnits(column), kKeepCurrent, 0, text).nextRow,
                  kAxisVertical);
}

int CPage::Print(int row, int column, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::string text = FormatArgs(format, args);
    va_end(args);
    return PrintText(row, column, kKeepCurrent, 0, text).nextRow;
}

void CPage::Print(double row, double column, unsigned flags, int size, int value) {
    Print(Units(row, kAxisVertical), ColumnUnits(column), flags, size, value);
}

void CPage::Print(double row, double* column, unsigned flags, int size, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::string text = FormatArgs(format, args);
    va_end(args);
    int units = column ? ColumnUnits(*column) : -1;
    Placed placed = PrintText(Units(row, kAxisVertical), units, flags, size, text);
    if (column && placed.drawn) *column = Inches(lastRight_, kAxisHorizontal);
}

double CPage::Print(double row, double column, unsigned flags, int size, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::string text = FormatArgs(format, args);
    va_end(args);
    return Inches(PrintText(Units(row, kAxisVertical), ColumnUnits(column), flags, size, text).nextRow, kAxisVertical);
}

void CPage::Print(int row, int column, unsigned flags, int size, int value) {
    if (!textSource_) return;
    PrintText(row, column, flags, size, textSource_(value));
}

void CPage::Print(int row, int* column, unsigned flags, int size, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::string text = FormatArgs(format, args);
    va_end(args);
    Placed placed = PrintText(row, column ? *column : -1, flags, size, text);
    if (column && placed.drawn) *column = lastRight_;
}

int CPage::Print(int row, int column, unsigned flags, int size, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::string text = FormatArgs(format, args);
    va_end(args);
    return PrintText(row, column, flags, size, text).nextRow;
}

// --- text in a region ---------------------------------------------------------------------

CPage::Placed CPage::PrintTextInRegion(CPrintRegion& region, int row, int column, unsigned flags, int size,
                                       const std::string& text) {
    Placed placed;
    {
        StateScope scope(*this);
        state_.right = region.Right();
        state_.bottom = region.Bottom();
        FillColours colours(*state_.dc, region.Fill());
        placed =
            PrintText(region.ContentTop() + row, column == -1 ? -1 : region.ContentLeft() + column, flags, size, text);
    }
    placed.nextRow -= region.ContentTop();
    return placed;
}

void CPage::PrintInRegion(CPrintRegion* region, double row, double column, unsigned flags, int size, int value) {
    PrintInRegion(region, Units(row, kAxisVertical), ColumnUnits(column), flags, size, value);
}

void CPage::PrintInRegion(CPrintRegion* region, int row, int column, unsigned flags, int size, int value) {
    if (!region || !textSource_) return;
    PrintTextInRegion(*region, row, column, flags, size, textSource_(value));
}

double CPage::PrintInRegion(CPrintRegion* region, double row, double column, unsigned flags, int size,
                            const char* format, ...) {
    if (!region) return row;
    std::va_list args;
    va_start(args, format);
    std::string text = FormatArgs(format, args);
    va_end(args);
    int next = PrintTextInRegion(*region, Units(row, kAxisVertical), ColumnUnits(column), flags, size, text).nextRow;
    return Inches(next, kAxisVertical);
}

int CPage::PrintInRegion(CPrintRegion* region, int row, int column, unsigned flags, int size, const char* format, ...) {
    if (!region) return row;
    std::va_list args;
    va_start(args, format);
    std::string text = FormatArgs(format, args);
    va_end(args);
    return PrintTextInRegion(*region, row, column, flags, size, text).nextRow;
}

// --- text in a rectangle ------------------------------------------------------------------

void CPage::PrintBoxText(int top, int left, int bottom, int right, unsigned flags, int size, const std::string& text) {
    if (left > state_.right || top > state_.bottom) return;
    StateScope scope(*this);
    state_.top = top;
    state_.left = left;
    state_.bottom = bottom;
    state_.right = right;
    state_.text = text;
    if (flags != kKeepCurrent) state_.flags = flags;
    if (size > 0) state_.fontSize = size;
    printer_->DrawText(state_, lineSpacing_);
    if (!text.empty()) NoteText(state_);
}

void CPage::PrintBox(CPrintRegion* region, double top, double left, double bottom, double right, unsigned flags,
                     int size, int value) {
    PrintBox(region, Units(top, kAxisVertical), Units(left, kAxisHorizontal), Units(bottom, kAxisVertical),
             Units(right, kAxisHorizontal), flags, size, value);
}

void CPage::PrintBox(CPrintRegion* region, int top, int left, int bottom, int right, unsigned flags, int size,
                     int value) {
    if (!textSource_) return;
    PrintBox(region, top, left, bottom, right, flags, size, textSource_(value));
}

void CPage::PrintBox(CPrintRegion* region, double top, double left, double bottom, double right, unsigned flags,
                     int size, const std::string& text) {
    PrintBox(region, Units(top, kAxisVertical), Units(left, kAxisHorizontal), Units(bottom, kAxisVertical),
             Units(right, kAxisHorizontal), flags, size, text);
}

void CPage::PrintBox(CPrintRegion* region, int top, int left, int bottom, int right, unsigned flags, int size,
                     const std::string& text) {
    if (!region) return;
    FillColours colours(*state_.dc, region->Fill());
    PrintBoxText(region->Y(top), region->X(left), region->Y(bottom), region->X(right), flags, size, text);
}

void CPage::PrintBox(double top, double left, double bottom, double right, unsigned flags, int size, int value) {
    PrintBox(Units(top, kAxisVertical), Units(left, kAxisHorizontal), Units(bottom, kAxisVertical),
             Units(right, kAxisHorizontal), flags, size, value);
}

void CPage::PrintBox(int top, int left, int bottom, int right, unsigned flags, int size, int value) {
    if (!textSource_) return;
    PrintBoxText(top, left, bottom, right, flags, size, textSource_(value));
}

void CPage::PrintBox(double top, double left, double bottom, double right, unsigned flags, int size,
                     const std::string& text) {
    PrintBoxText(Units(top, kAxisVertical), Units(left, kAxisHorizontal), Units(bottom, kAxisVertical),
                 Units(right, kAxisHorizontal), flags, size, text);
}

void CPage::PrintBox(int top, int left, int bottom, int right, unsigned flags, int size, const std::string& text) {
    PrintBoxText(top, left, bottom, right, flags, size, text);
}

// --- settings -----------------------------------------------------------------------------

double CPage::SetLineSpacing(double factor) {
    double previous = lineSpacing_;
    if (factor > 0) lineSpacing_ = factor;
    return previous;
}

std::string CPage::SetFont(const std::string& face) {
    std::string previous = state_.faceName;
    if (!face.empty()) state_.faceName = face;
    return previous;
}

int CPage::GetNextColumn(bool withGap) {
    if (!withGap) return lastRight_;
    // The metrics are device pixels; the gap is wanted in page units.
    Point gap[2] = {{0, 0}, {metrics_.maxCharWidth, 0}};
    state_.dc->DPtoLP(gap);
    return lastRight_ + (gap[1].x - gap[0].x);
}

double CPage::GetNextColumnInches(bool withGap) { return Inches(GetNextColumn(withGap), kAxisHorizontal); }

Colour CPage::SetTextColor(Colour colour) { return state_.dc->SetTextColor(colour); }

int CPage::SetFontSize(int points) {
    int previous = state_.fontSize;
    state_.fontSize = points;
    return previous;
}

namespace {

// A positive edge is taken as it is, -1 resets it to the page's limit, anything else keeps it.
int SetEdge(int& edge, int limit, int units) {
    const int previous = edge;
    if (units > 0) edge = units;
    else if (units == -1) edge = limit;
    return previous;
}

}  // namespace

int CPage::SetRight(int units) { return SetEdge(state_.right, state_.widthLimit, units); }

double CPage::SetRight(double inches) {
    const int units = inches == -1.0 ? -1 : (inches > 0 ? Units(inches, kAxisHorizontal) : 0);
    return Inches(SetRight(units), kAxisHorizontal);
}

int CPage::SetBottom(int units) { return SetEdge(state_.bottom, state_.heightLimit, units); }

double CPage::SetBottom(double inches) {
    const int units = inches == -1.0 ? -1 : (inches > 0 ? Units(inches, kAxisVertical) : 0);
    return Inches(SetBottom(units), kAxisVertical);
}

}  // namespace songloader::print
