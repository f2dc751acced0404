// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPainter>
#include <QSize>
#include <string>

#include "core/output/print/mapped_device_context.h"
#include "qtpaint/font_mapping.h"

namespace songloader::qtpaint {

// The print engine's device context over a QPainter that is active on any QPaintDevice (a
// printer, a PDF writer, an image). Device pixels are the paint device's own units; its logical
// resolution gives the pixels per inch.
class QtDeviceContext : public print::MappedDeviceContext {
public:
    // orientation: what the printer settings say (print::kOrientationNone when not printing).
    // `fonts`: the print job's fonts, shared by its pages; without it the context keeps its own.
    explicit QtDeviceContext(QPainter& painter, int orientation = print::kOrientationNone, FontCache* fonts = nullptr);

    int GetDeviceCaps(int index) const override;
    int PrinterOrientation() const override { return orientation_; }

protected:
    int DeviceDrawText(std::string_view text, print::Rect& rect, unsigned format) override;
    print::TextMetrics DeviceTextMetrics() const override;
    void DeviceRectangle(const print::Rect& rect) override;
    void DevicePolygon(std::span<const print::Point> points) override;
    void DevicePolyline(std::span<const print::Point> points) override;
    void DeviceFillRect(const print::Rect& rect, print::Brush brush) override;
    int DeviceStretchDIBits(const print::Rect& destination, const print::Rect& source, const print::Dib& dib) override;

private:
    void UseShapeTools();
    // Width and height of `text` laid out as `format` says (within `width` when it wraps).
    QSize MeasureText(std::string_view text, const QString& qtext, const FontCache::Font& made, unsigned format,
                      int width);

    QPainter& painter_;
    int orientation_;
    FontCache ownFonts_;
    FontCache& fonts_;
    struct Measured {
        std::string text;
        const FontCache::Font* font = nullptr;
        unsigned layout = 0;
        int width = 0;
        QSize size;
    } measured_;
};

// Qt flags for a text format of the device context.
int QtTextFlags(unsigned format);

}  // namespace songloader::qtpaint
