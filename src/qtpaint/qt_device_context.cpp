// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtpaint/qt_device_context.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <QPolygon>
#include <limits>

#include "core/output/print/bmp_reader.h"
#include "qtpaint/font_mapping.h"

namespace songloader::qtpaint {

using namespace print;

namespace {

QColor ToQColor(Colour c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

Qt::PenStyle ToQtStyle(PenStyle style) {
    switch (style) {
        case PenStyle::Dash: return Qt::DashLine;
        case PenStyle::Dot: return Qt::DotLine;
        case PenStyle::DashDot: return Qt::DashDotLine;
        case PenStyle::DashDotDot: return Qt::DashDotDotLine;
        case PenStyle::Null: return Qt::NoPen;
        case PenStyle::Solid: break;
    }
    return Qt::SolidLine;
}

QBrush ToQBrush(Brush brush) {
    if (brush == Brush::Null) return Qt::NoBrush;
    return QBrush(ToQColor(BrushColour(brush)));
}

QRect ToQRect(const Rect& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)); }

QPolygon ToQPolygon(std::span<const Point> points) {
    QPolygon polygon;
    polygon.reserve(static_cast<int>(points.size()));
    for (const Point& p : points) polygon << QPoint(p.x, p.y);
    return polygon;
}

}  // namespace

int QtTextFlags(unsigned format) {
    int flags = 0;
    if (format & kDtCenter) flags |= Qt::AlignHCenter;
    else if (format & kDtRight) flags |= Qt::AlignRight;
    else flags |= Qt::AlignLeft;
    // Vertical placement only applies to single lines.
    if ((format & kDtSingleLine) && (format & kDtVCenter)) flags |= Qt::AlignVCenter;
    else if ((format & kDtSingleLine) && (format & kDtBottom)) flags |= Qt::AlignBottom;
    else flags |= Qt::AlignTop;
    if (format & kDtSingleLine) flags |= Qt::TextSingleLine;
    else if (format & kDtWordBreak) flags |= Qt::TextWordWrap;
    if (format & kDtExpandTabs) flags |= Qt::TextExpandTabs;
    if (format & kDtNoClip) flags |= Qt::TextDontClip;
    return flags;
}

QtDeviceContext::QtDeviceContext(QPainter& painter, int orientation, FontCache* fonts)
    : painter_(painter), orientation_(orientation), fonts_(fonts ? *fonts : ownFonts_) {}

int QtDeviceContext::GetDeviceCaps(int index) const {
    const QPaintDevice* device = painter_.device();
    if (!device) return 0;
    switch (index) {
        case kCapLogPixelsX: return device->logicalDpiX();
        case kCapLogPixelsY: return device->logicalDpiY();
        case kCapHorzRes: return device->width();
        case kCapVertRes: return device->height();
        default: return 0;
    }
}

int QtDeviceContext::DeviceDrawText(std::string_view text, Rect& rect, unsigned format) {
    const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const FontCache::Font& made = fonts_.FontFor(DeviceFont(), painter_.device());
    const QFont& font = made.font;
    const int flags = QtTextFlags(format);

    if (format & kDtCalcRect) {
        // Left and top stay; the rectangle takes the width of the widest line and the height of all.
        const QSize size = MeasureText(text, qtext, made, format, rect.Width() > 0 ? rect.Width() : 0);
        rect.right = rect.left + size.width();
        rect.bottom = rect.top + size.height();
        return size.height();
    }

    painter_.save();
    painter_.setFont(font);
    painter_.setPen(ToQColor(GetTextColor()));
    if (GetBkMode() == kBkOpaque) {
        painter_.setBackgroundMode(Qt::OpaqueMode);
        painter_.setBackground(Qt::white);
    } else {
        painter_.setBackgroundMode(Qt::TransparentMode);
    }
    QRect box(rect.left, rect.top, rect.Width(), rect.Height());
    // A clip costs the PDF a clipping path per cell (a third of the print's time and size):
    // only text that would stick out of its box gets one.
    bool fits = false;
    if (format & kDtSingleLine) {
        const QSize size = MeasureText(text, qtext, made, format, 0);
        fits = size.width() <= box.width() && size.height() <= box.height();
    }
    if (!(format & kDtNoClip) && !fits) painter_.setClipRect(box, Qt::IntersectClip);
    QRect drawn;
    painter_.drawText(box, flags, qtext, &drawn);
    painter_.restore();
    return drawn.height();
}

QSize QtDeviceContext::MeasureText(std::string_view text, const QString& qtext, const FontCache::Font& made,
                                   unsigned format, int width) {
    // A cell's text is measured before it is drawn and again after: the second time is free.
    if (format & kDtSingleLine) width = 0;
    const unsigned layout = format & (kDtSingleLine | kDtWordBreak | kDtExpandTabs);
    if (measured_.font == &made && measured_.layout == layout && measured_.width == width && measured_.text == text) {
        return measured_.size;
    }
    const int flags = QtTextFlags(format);
    QRect bounds;
    if (format & kDtSingleLine) {
        bounds = made.metrics.boundingRect(QRect(0, 0, 0, 0), flags | Qt::TextDontClip, qtext);
    } else {
        bounds = made.metrics.boundingRect(
            QRect(0, 0, width, std::numeric_limits<int>::max() / 4),
            (flags & ~Qt::AlignVertical_Mask & ~Qt::AlignHorizontal_Mask) | Qt::AlignLeft | Qt::AlignTop, qtext);
    }
    measured_ = {std::string(text), &made, layout, width, bounds.size()};
    return measured_.size;
}

TextMetrics QtDeviceContext::DeviceTextMetrics() const {
    const FontCache::Font& made = fonts_.FontFor(DeviceFont(), painter_.device());
    const QFont& font = made.font;
    const QFontMetrics& m = made.metrics;
    TextMetrics t;
    t.height = m.height();
    t.ascent = m.ascent();
    t.descent = m.descent();
    t.internalLeading = m.height() - font.pixelSize();
    t.externalLeading = m.leading();
    t.aveCharWidth = m.averageCharWidth();
    t.maxCharWidth = m.maxWidth();
    t.weight = DeviceFont().weight;
    return t;
}

void QtDeviceContext::UseShapeTools() {
    const Pen pen = DevicePen();
    QPen qpen(ToQColor(pen.colour));
    qpen.setStyle(ToQtStyle(pen.style));
    qpen.setWidth(pen.width);
    // A one-pixel line stays one pixel when the page is shown shrunk (a preview), not a trace.
    qpen.setCosmetic(pen.width <= 1);
    qpen.setCapStyle(Qt::FlatCap);
    qpen.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(qpen);
    painter_.setBrush(ToQBrush(CurrentBrush()));
    painter_.setBackgroundMode(Qt::TransparentMode);
}

void QtDeviceContext::DeviceRectangle(const Rect& rect) {
    painter_.save();
    UseShapeTools();
    painter_.drawRect(ToQRect(rect));
    painter_.restore();
}

void QtDeviceContext::DevicePolygon(std::span<const Point> points) {
    painter_.save();
    UseShapeTools();
    painter_.drawPolygon(ToQPolygon(points));
    painter_.restore();
}

void QtDeviceContext::DevicePolyline(std::span<const Point> points) {
    painter_.save();
    UseShapeTools();
    painter_.drawPolyline(ToQPolygon(points));
    painter_.restore();
}

void QtDeviceContext::DeviceFillRect(const Rect& rect, Brush brush) {
    if (brush == Brush::Null || rect.Width() <= 0 || rect.Height() <= 0) return;
    painter_.fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), ToQColor(BrushColour(brush)));
}

int QtDeviceContext::DeviceStretchDIBits(const Rect& destination, const Rect& source, const Dib& dib) {
    std::optional<ArgbImage> decoded = DecodeDib(dib);
    if (!decoded || destination.Width() == 0 || destination.Height() == 0) return 0;
    QImage image(reinterpret_cast<const uchar*>(decoded->pixels.data()), decoded->width, decoded->height,
                 decoded->width * 4, QImage::Format_ARGB32);
    // Source rows count from the bottom for bottom-up bitmaps.
    int sourceTop = dib.header.height > 0 ? decoded->height - source.bottom : source.top;
    QRect from(source.left, sourceTop, source.Width(), source.Height());
    QRect to(destination.left, destination.top, destination.Width(), destination.Height());
    painter_.drawImage(to.normalized(), image, from);
    return source.Height();
}

}  // namespace songloader::qtpaint
