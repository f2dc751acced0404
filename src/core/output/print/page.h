// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdarg>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/output/print/device_context.h"
#include "core/output/print/print_state.h"
#include "core/output/print/print_units.h"
#include "core/output/print/printer.h"

#define SONGLOADER_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))

namespace songloader::print {

class CPrintRegion;
class CPrintTable;
struct TableDefinition;

// Room for one formatted text, terminator included; longer texts are cut.
inline constexpr std::size_t kFormatBufferSize = 5124;
// Saved print states a page can hold.
inline constexpr std::size_t kStateStackSize = 10;

std::string FormatText(std::size_t bufferSize, const char* format, std::va_list args);

// One printed or previewed page. Every placing operation comes as an inch form (doubles) and a
// page-unit form (ints); positions are row (y) and column (x), rectangles top, left, bottom, right.
// Each operation saves the print state, changes it, draws and restores it.
class CPage {
public:
    using TextSource = std::function<std::string(int)>;

    // mapMode: kMapModeAnisotropic gives a 1000 x 1000 page over the rectangle; anything else
    // device pixels.
    CPage(int left, int top, int right, int bottom, DeviceContext& dc, int mapMode = kMapModeText);
    virtual ~CPage();
    CPage(const CPage&) = delete;
    CPage& operator=(const CPage&) = delete;

    virtual void SetTextSource(TextSource source);

    // Text at the state's top row. Column -1 continues after the last text; flags kKeepCurrent and
    // size <= 0 keep the current ones. Returns the row below the text, or the current row when
    // the position is off the page.
    virtual int Print(const std::string& text, int column, unsigned flags, int size);

    virtual void PrintCell(TableDefinition& table, int row, int column, int size, unsigned flags, const char* format,
                           ...) SONGLOADER_PRINTF(7, 8);

    virtual void PrintInRegion(CPrintRegion* region, double row, double column, unsigned flags, int size, int value);
    virtual void PrintInRegion(CPrintRegion* region, int row, int column, unsigned flags, int size, int value);
    virtual double PrintInRegion(CPrintRegion* region, double row, double column, unsigned flags, int size,
                                 const char* format, ...) SONGLOADER_PRINTF(7, 8);
    virtual int PrintInRegion(CPrintRegion* region, int row, int column, unsigned flags, int size, const char* format,
                              ...) SONGLOADER_PRINTF(7, 8);

    virtual void Print(double row, double column, int value);
    virtual void Print(int row, int column, int value);
    virtual double Print(double row, double column, const char* format, ...) SONGLOADER_PRINTF(4, 5);
    virtual int Print(int row, int column, const char* format, ...) SONGLOADER_PRINTF(4, 5);
    virtual void Print(double row, double column, unsigned flags, int size, int value);
    // `column` comes back as the column after the text.
    virtual void Print(double row, double* column, unsigned flags, int size, const char* format, ...)
        SONGLOADER_PRINTF(6, 7);
    virtual double Print(double row, double column, unsigned flags, int size, const char* format, ...)
        SONGLOADER_PRINTF(6, 7);
    virtual void Print(int row, int column, unsigned flags, int size, int value);
    virtual void Print(int row, int* column, unsigned flags, int size, const char* format, ...) SONGLOADER_PRINTF(6, 7);
    virtual int Print(int row, int column, unsigned flags, int size, const char* format, ...) SONGLOADER_PRINTF(6, 7);

    virtual void PrintBox(CPrintRegion* region, double top, double left, double bottom, double right, unsigned flags,
                          int size, int value);
    virtual void PrintBox(CPrintRegion* region, int top, int left, int bottom, int right, unsigned flags, int size,
                          int value);
    virtual void PrintBox(CPrintRegion* region, double top, double left, double bottom, double right, unsigned flags,
                          int size, const std::string& text);
    virtual void PrintBox(CPrintRegion* region, int top, int left, int bottom, int right, unsigned flags, int size,
                          const std::string& text);
    virtual void PrintBox(double top, double left, double bottom, double right, unsigned flags, int size, int value);
    virtual void PrintBox(int top, int left, int bottom, int right, unsigned flags, int size, int value);
    virtual void PrintBox(double top, double left, double bottom, double right, unsigned flags, int size,
                          const std::string& text);
    // Nothing is drawn when the rectangle starts right of or below the state's edges. A rectangle
    // with right and bottom 0 grows to fit the text.
    virtual void PrintBox(int top, int left, int bottom, int right, unsigned flags, int size, const std::string& text);

    virtual double SetLineSpacing(double factor);          // <= 0 ignored; -> previous factor
    virtual std::string SetFont(const std::string& face);  // empty: query; -> previous face
    // The right edge of the last text, plus its widest character when a gap is asked for.
    virtual int GetNextColumn(bool withGap = false);
    virtual double GetNextColumnInches(bool withGap = false);
    virtual Colour SetTextColor(Colour colour);  // -> previous
    virtual int SetFontSize(int points);         // -> previous
    // > 0 sets, -1 resets to the page limit, 0 (or any other value) only queries; -> previous.
    virtual double SetRight(double inches);
    virtual int SetRight(int units);
    virtual double SetBottom(double inches);
    virtual int SetBottom(int units);

    virtual void LineInRegion(CPrintRegion* region, double top, double left, double bottom, double right, int penWidth,
                              unsigned lineStyle);
    virtual void LineInRegion(CPrintRegion* region, int top, int left, int bottom, int right, int penWidth,
                              unsigned lineStyle);
    virtual void Line(double top, double left, double bottom, double right, int penWidth, unsigned lineStyle);
    virtual void Line(int top, int left, int bottom, int right, int penWidth, unsigned lineStyle);
    virtual void BoxInRegion(CPrintRegion* region, double top, double left, double bottom, double right, int penWidth,
                             unsigned fill, unsigned lineStyle);
    virtual void BoxInRegion(CPrintRegion* region, int top, int left, int bottom, int right, int penWidth,
                             unsigned fill, unsigned lineStyle);
    virtual void Box(double top, double left, double bottom, double right, int penWidth, unsigned fill,
                     unsigned lineStyle);
    virtual void Box(int top, int left, int bottom, int right, int penWidth, unsigned fill, unsigned lineStyle);

    virtual void CheckBoxInRegion(CPrintRegion* region, const std::string& text, bool checked, double row,
                                  double column, int boxSize, bool boxAfterText, int penWidth, unsigned fill,
                                  unsigned textFlags);
    virtual void CheckBoxInRegion(CPrintRegion* region, const std::string& text, bool checked, int row, int column,
                                  int boxSize, bool boxAfterText, int penWidth, unsigned fill, unsigned textFlags);
    virtual void CheckBox(const std::string& text, bool checked, double row, double column, int boxSize,
                          bool boxAfterText, int penWidth, unsigned fill, unsigned textFlags);
    // A square box of `boxSize` points with its text (of that size) beside it; checked boxes are
    // filled with `fill`, or crossed when fill is 0.
    virtual void CheckBox(const std::string& text, bool checked, int row, int column, int boxSize, bool boxAfterText,
                          int penWidth, unsigned fill, unsigned textFlags);

    virtual void PrintTable(TableDefinition& table);

    // The region, owned by the page, or nullptr when it does not fit on the page.
    virtual CPrintRegion* CreateRegion(int top, int left, int bottom, int right, unsigned fill);
    virtual CPrintRegion* CreateRegion(double top, double left, double bottom, double right, unsigned fill);

    // A .bmp file stretched into the rectangle; a missing or unusable file draws nothing.
    virtual void PrintBitmap(double top, double left, double bottom, double right, const std::filesystem::path& file);
    virtual void PrintBitmap(int top, int left, int bottom, int right, const std::filesystem::path& file);

    // Unit conversions of this page.
    int Units(double inches, int axis) const { return InchesToUnits(geometry_, inches, axis); }
    double Inches(int units, int axis) const { return UnitsToInches(geometry_, units, axis); }

    PrintState& State() { return state_; }
    const PrintState& State() const { return state_; }
    const PageGeometry& Geometry() const { return geometry_; }
    CPrinter& Printer() { return *printer_; }
    DeviceContext& Dc() { return *state_.dc; }
    int Orientation() const { return orientation_; }
    const TextMetrics& Metrics() const { return metrics_; }
    int StackDepth() const { return stackTop_ + 1; }
    double LineSpacing() const { return lineSpacing_; }

    // Pushes a copy of the current state; false when the stack is full.
    bool PushState();
    void PopState();

private:
    friend class CPrintRegion;
    friend class CPrintTable;

    // Saves the state for the length of one operation and puts it back afterwards.
    class StateScope {
    public:
        explicit StateScope(CPage& page);
        ~StateScope();
        StateScope(const StateScope&) = delete;
        StateScope& operator=(const StateScope&) = delete;

    private:
        CPage& page_;
        bool pushed_;
        PrintState spare_;  // used only when the stack is full
    };

    struct Placed {
        int nextRow = 0;
        bool drawn = false;
    };

    Placed PlaceText(const std::string& text, int column, unsigned flags, int size);
    Placed PrintText(int row, int column, unsigned flags, int size, const std::string& text);
    Placed PrintTextInRegion(CPrintRegion& region, int row, int column, unsigned flags, int size,
                             const std::string& text);
    int ExtraLineSpacing(int size) const;
    void PrintBoxText(int top, int left, int bottom, int right, unsigned flags, int size, const std::string& text);
    void DrawCheckBox(const std::string& text, bool checked, int row, int column, int boxSize, bool boxAfterText,
                      int penWidth, unsigned fill, unsigned textFlags, const CPrintRegion* clampTo);
    void NoteText(const PrintState& drawn) { lastRight_ = drawn.lastRight; }
    int ColumnUnits(double column) const;

    std::unique_ptr<CPrinter> printer_;
    PrintState state_;
    std::array<PrintState, kStateStackSize> stack_;
    int stackTop_ = -1;
    int ppiX_ = 0;
    int ppiY_ = 0;
    TextMetrics metrics_;
    int orientation_ = kOrientationNone;
    TextSource textSource_;
    double lineSpacing_ = 1.0;
    PageGeometry geometry_;
    int lastRight_ = 0;
    std::vector<std::unique_ptr<CPrintRegion>> regions_;
};

}  // namespace songloader::print
