// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/output/print/mapped_device_context.h"

#include <cstdlib>
#include <utility>

#include "core/output/print/print_units.h"

namespace songloader::print {

Colour BrushColour(Brush brush) {
    switch (brush) {
        case Brush::LightGray: return 0xC0C0C0;
        case Brush::Gray: return 0x808080;
        case Brush::DarkGray: return 0x404040;
        case Brush::Black: return 0x000000;
        case Brush::White:
        case Brush::Null: break;
    }
    return kWhite;
}

namespace {

int Scale(int value, int from, int to) {
    if (from == 0) return value;
    return MulDiv(value, to, from);
}

}  // namespace

Point Mapping::ToDevice(Point p) const {
    return {Scale(p.x - windowOrg.x, windowExt.x, viewportExt.x) + viewportOrg.x,
            Scale(p.y - windowOrg.y, windowExt.y, viewportExt.y) + viewportOrg.y};
}

Point Mapping::ToLogical(Point p) const {
    return {Scale(p.x - viewportOrg.x, viewportExt.x, windowExt.x) + windowOrg.x,
            Scale(p.y - viewportOrg.y, viewportExt.y, windowExt.y) + windowOrg.y};
}

int Mapping::WidthToDevice(int logical) const { return std::abs(Scale(logical, windowExt.x, viewportExt.x)); }

int Mapping::HeightToDevice(int logical) const {
    int scaled = std::abs(Scale(logical, windowExt.y, viewportExt.y));
    return logical < 0 ? -scaled : scaled;
}

int MappedDeviceContext::SetMapMode(int mode) {
    int previous = current_.mapping.mode;
    if (mode != kMapModeText && mode != kMapModeAnisotropic) return 0;
    current_.mapping.mode = mode;
    if (mode == kMapModeText) {
        current_.mapping.windowExt = {1, 1};
        current_.mapping.viewportExt = {1, 1};
    }
    return previous;
}

Point MappedDeviceContext::SetWindowOrg(Point origin) { return std::exchange(current_.mapping.windowOrg, origin); }

Point MappedDeviceContext::SetWindowExt(Point extent) {
    Point previous = current_.mapping.windowExt;
    // Extents only apply in the scaled mode, and never zero.
    if (current_.mapping.mode == kMapModeAnisotropic && extent.x != 0 && extent.y != 0)
        current_.mapping.windowExt = extent;
    return previous;
}

Point MappedDeviceContext::SetViewportOrg(Point origin) { return std::exchange(current_.mapping.viewportOrg, origin); }

Point MappedDeviceContext::SetViewportExt(Point extent) {
    Point previous = current_.mapping.viewportExt;
    if (current_.mapping.mode == kMapModeAnisotropic && extent.x != 0 && extent.y != 0)
        current_.mapping.viewportExt = extent;
    return previous;
}

void MappedDeviceContext::LPtoDP(std::span<Point> points) const {
    for (Point& p : points) p = current_.mapping.ToDevice(p);
}

void MappedDeviceContext::DPtoLP(std::span<Point> points) const {
    for (Point& p : points) p = current_.mapping.ToLogical(p);
}

int MappedDeviceContext::SaveDC() {
    saved_.push_back(current_);
    return static_cast<int>(saved_.size());
}

bool MappedDeviceContext::RestoreDC(int level) {
    // Negative levels count back from the newest save, as in the platform's call.
    if (level < 0) level = static_cast<int>(saved_.size()) + 1 + level;
    if (level < 1 || level > static_cast<int>(saved_.size())) return false;
    current_ = saved_[static_cast<std::size_t>(level - 1)];
    saved_.resize(static_cast<std::size_t>(level - 1));
    StateChanged();
    return true;
}

LogFont MappedDeviceContext::SelectFont(const LogFont& font) {
    LogFont previous = std::exchange(current_.font, font);
    StateChanged();
    return previous;
}

Pen MappedDeviceContext::SelectPen(const Pen& pen) {
    Pen previous = std::exchange(current_.pen, pen);
    StateChanged();
    return previous;
}

Brush MappedDeviceContext::SelectBrush(Brush brush) {
    Brush previous = std::exchange(current_.brush, brush);
    StateChanged();
    return previous;
}

int MappedDeviceContext::SetBkMode(int mode) {
    int previous = current_.bkMode;
    if (mode != kBkTransparent && mode != kBkOpaque) return 0;
    current_.bkMode = mode;
    StateChanged();
    return previous;
}

Colour MappedDeviceContext::SetTextColor(Colour colour) {
    Colour previous = std::exchange(current_.textColour, colour & 0xFFFFFF);
    StateChanged();
    return previous;
}

LogFont MappedDeviceContext::DeviceFont() const {
    LogFont font = current_.font;
    font.height = current_.mapping.HeightToDevice(font.height);
    font.width = current_.mapping.WidthToDevice(font.width);
    return font;
}

Pen MappedDeviceContext::DevicePen() const {
    Pen pen = current_.pen;
    pen.width = pen.width <= 0 ? 1 : current_.mapping.WidthToDevice(pen.width);
    if (pen.width <= 0) pen.width = 1;
    return pen;
}

Rect MappedDeviceContext::ToDevice(const Rect& rect) const {
    Point a = current_.mapping.ToDevice({rect.left, rect.top});
    Point b = current_.mapping.ToDevice({rect.right, rect.bottom});
    return {a.x, a.y, b.x, b.y};
}

int MappedDeviceContext::DrawText(std::string_view text, Rect& rect, unsigned format) {
    Rect device = ToDevice(rect);
    int height = DeviceDrawText(text, device, format);
    if (format & kDtCalcRect) {
        Point a = current_.mapping.ToLogical({device.left, device.top});
        Point b = current_.mapping.ToLogical({device.right, device.bottom});
        rect = {a.x, a.y, b.x, b.y};
    }
    return std::abs(Scale(height, current_.mapping.viewportExt.y, current_.mapping.windowExt.y));
}

TextMetrics MappedDeviceContext::GetTextMetrics() const { return DeviceTextMetrics(); }

void MappedDeviceContext::Rectangle(const Rect& rect) { DeviceRectangle(ToDevice(rect)); }

void MappedDeviceContext::Polygon(std::span<const Point> points) {
    std::vector<Point> device(points.begin(), points.end());
    LPtoDP(device);
    DevicePolygon(device);
}

void MappedDeviceContext::Polyline(std::span<const Point> points) {
    std::vector<Point> device(points.begin(), points.end());
    LPtoDP(device);
    DevicePolyline(device);
}

void MappedDeviceContext::FillRect(const Rect& rect, Brush brush) {
    if (brush == Brush::Null) return;
    DeviceFillRect(ToDevice(rect), brush);
}

int MappedDeviceContext::StretchDIBits(const Rect& destination, const Rect& source, const Dib& dib,
                                       std::uint32_t rasterOperation) {
    if (rasterOperation != kRopSourceCopy) return 0;
    return DeviceStretchDIBits(ToDevice(destination), source, dib);
}

}  // namespace songloader::print
