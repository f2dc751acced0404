// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "core/output/print/device_context.h"

namespace songloader::print {

// The window/viewport mapping of a context: logical -> device as
// device = (logical - windowOrg) * viewportExt / windowExt + viewportOrg, rounded to nearest.
struct Mapping {
    int mode = kMapModeText;
    Point windowOrg;
    Point windowExt{1, 1};
    Point viewportOrg;
    Point viewportExt{1, 1};

    Point ToDevice(Point logical) const;
    Point ToLogical(Point device) const;
    // Lengths (pen widths, font heights) on one axis, sign kept.
    int WidthToDevice(int logical) const;
    int HeightToDevice(int logical) const;
};

// The bookkeeping every concrete context shares: mapping, selection, background mode, text colour
// and the save stack. Drawing arrives at the device hooks in device pixels, with pen widths and
// font heights already scaled.
class MappedDeviceContext : public DeviceContext {
public:
    int SetMapMode(int mode) override;
    int GetMapMode() const override { return current_.mapping.mode; }
    Point SetWindowOrg(Point origin) override;
    Point SetWindowExt(Point extent) override;
    Point SetViewportOrg(Point origin) override;
    Point SetViewportExt(Point extent) override;
    void LPtoDP(std::span<Point> points) const override;
    void DPtoLP(std::span<Point> points) const override;

    int SaveDC() override;
    bool RestoreDC(int level) override;

    LogFont SelectFont(const LogFont& font) override;
    Pen SelectPen(const Pen& pen) override;
    Brush SelectBrush(Brush brush) override;

    int SetBkMode(int mode) override;
    int GetBkMode() const override { return current_.bkMode; }
    Colour SetTextColor(Colour colour) override;
    Colour GetTextColor() const override { return current_.textColour; }

    int DrawText(std::string_view text, Rect& rect, unsigned format) override;
    TextMetrics GetTextMetrics() const override;
    void Rectangle(const Rect& rect) override;
    void Polygon(std::span<const Point> points) override;
    void Polyline(std::span<const Point> points) override;
    void FillRect(const Rect& rect, Brush brush) override;
    int StretchDIBits(const Rect& destination, const Rect& source, const Dib& dib,
                      std::uint32_t rasterOperation) override;

protected:
    const LogFont& CurrentFont() const { return current_.font; }
    const Pen& CurrentPen() const { return current_.pen; }
    Brush CurrentBrush() const { return current_.brush; }
    const Mapping& CurrentMapping() const { return current_.mapping; }

    // The selected font with its height in device pixels.
    LogFont DeviceFont() const;
    // The selected pen with its width in device pixels (at least 1).
    Pen DevicePen() const;

    // Device hooks: coordinates in device pixels.
    virtual int DeviceDrawText(std::string_view text, Rect& rect, unsigned format) = 0;
    virtual TextMetrics DeviceTextMetrics() const = 0;
    virtual void DeviceRectangle(const Rect& rect) = 0;
    virtual void DevicePolygon(std::span<const Point> points) = 0;
    virtual void DevicePolyline(std::span<const Point> points) = 0;
    virtual void DeviceFillRect(const Rect& rect, Brush brush) = 0;
    virtual int DeviceStretchDIBits(const Rect& destination, const Rect& source, const Dib& dib) = 0;
    // Called after a restore or a selection so that a backend can refresh cached painter state.
    virtual void StateChanged() {}

private:
    struct State {
        Mapping mapping;
        LogFont font;
        Pen pen;
        Brush brush = Brush::White;
        int bkMode = kBkOpaque;
        Colour textColour = kBlack;
    };

    Rect ToDevice(const Rect& rect) const;

    State current_;
    std::vector<State> saved_;
};

}  // namespace songloader::print
