// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/output/print/mapped_device_context.h"

namespace songloader::testing {

using print::Brush;
using print::Colour;
using print::LogFont;
using print::Pen;
using print::Point;
using print::Rect;

// One call made on the recording context. Drawing calls carry device coordinates and the
// selection in force when they were made.
struct RecordedCall {
    std::string name;
    std::string text;
    Rect rect;                  // DrawText: the rectangle given; shapes: their bounds
    Rect ink;                   // DrawText: where the text lands after alignment and clipping
    std::vector<Point> points;  // Polygon, Polyline
    std::vector<int> args;      // plain arguments of state calls
    unsigned format = 0;
    LogFont font;
    Pen pen;
    Brush brush = Brush::Null;
    int bkMode = 0;
    Colour textColour = 0;
    int dibWidth = 0;
    int dibHeight = 0;
    int dibBitCount = 0;
};

// A device context with fixed, simple font metrics that records every call: characters are half
// as wide as the font's pixel height, lines exactly as high; word breaks fall at spaces.
class RecordingDeviceContext : public print::MappedDeviceContext {
public:
    explicit RecordingDeviceContext(int ppiX = 600, int ppiY = 600, int orientation = print::kOrientationPortrait);

    std::vector<RecordedCall> calls;

    // The calls with this name, in order.
    std::vector<RecordedCall> Calls(std::string_view name) const;
    // The texts drawn (not measured), in order.
    std::vector<std::string> DrawnTexts() const;
    void Clear() { calls.clear(); }

    static int LineHeight(const LogFont& deviceFont);
    static int CharWidth(const LogFont& deviceFont);
    // Width of a text of `chars` characters in the device font.
    static int TextWidth(const LogFont& deviceFont, std::string_view text);

    int GetDeviceCaps(int index) const override;
    int PrinterOrientation() const override { return orientation_; }

    int SetMapMode(int mode) override;
    Point SetWindowOrg(Point origin) override;
    Point SetWindowExt(Point extent) override;
    Point SetViewportOrg(Point origin) override;
    Point SetViewportExt(Point extent) override;
    int SaveDC() override;
    bool RestoreDC(int level) override;
    LogFont SelectFont(const LogFont& font) override;
    Pen SelectPen(const Pen& pen) override;
    Brush SelectBrush(Brush brush) override;
    int SetBkMode(int mode) override;
    Colour SetTextColor(Colour colour) override;

protected:
    int DeviceDrawText(std::string_view text, Rect& rect, unsigned format) override;
    print::TextMetrics DeviceTextMetrics() const override;
    void DeviceRectangle(const Rect& rect) override;
    void DevicePolygon(std::span<const Point> points) override;
    void DevicePolyline(std::span<const Point> points) override;
    void DeviceFillRect(const Rect& rect, Brush brush) override;
    int DeviceStretchDIBits(const Rect& destination, const Rect& source, const print::Dib& dib) override;

private:
    RecordedCall Snapshot(std::string name) const;
    void Record(std::string name, std::vector<int> args);
    std::vector<std::string> Lines(std::string_view text, int width, unsigned format) const;

    int ppiX_;
    int ppiY_;
    int orientation_;
};

}  // namespace songloader::testing
