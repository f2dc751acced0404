// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/controls/image_button.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace songloader::gui {

namespace {

int BrightenedChannel(int value) {
    const double scaled = value / 255.0 * 1.05 + 0.05;
    return std::clamp(static_cast<int>(std::lround(scaled * 255.0)), 0, 255);
}

// `image` with every pixel replaced by `map(pixel)`.
template <typename Map>
QImage MapPixels(const QImage& image, Map&& map) {
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) line[x] = map(line[x]);
    }
    return result;
}

}  // namespace

QImage Brightened(const QImage& image) {
    return MapPixels(image, [](QRgb pixel) {
        return qRgba(BrightenedChannel(qRed(pixel)), BrightenedChannel(qGreen(pixel)), BrightenedChannel(qBlue(pixel)),
                     qAlpha(pixel));
    });
}

QImage Greyed(const QImage& image) {
    return MapPixels(image, [](QRgb pixel) {
        const int luminance = (qRed(pixel) * 299 + qGreen(pixel) * 587 + qBlue(pixel) * 114) / 1000;
        const int grey = std::clamp(160 + (luminance - 128) * 3 / 8, 0, 255);
        return qRgba(grey, grey, grey, qAlpha(pixel));
    });
}

ImageButton::ImageButton(QWidget* parent) : QAbstractButton(parent) { setFocusPolicy(Qt::StrongFocus); }

ImageButton::ImageButton(const QPixmap& image, const QString& caption, QWidget* parent) : ImageButton(parent) {
    setCaption(caption);
    setImage(image);
}

void ImageButton::setImage(const QPixmap& image) {
    image_ = image;
    rebuildLooks();
    updateGeometry();
    update();
}

void ImageButton::setCaption(const QString& caption) {
    setText(caption);
    setAccessibleName(caption.trimmed());
    setToolTip(caption.trimmed());
}

ImageButton::Look ImageButton::look() const {
    if (!isEnabled()) return Look::Disabled;
    if (isDown()) return Look::Pressed;
    if (hovering_) return Look::Hot;
    return Look::Normal;
}

QSize ImageButton::sizeHint() const {
    return image_.isNull() ? QSize(87, 33) : image_.size() / image_.devicePixelRatio();
}

void ImageButton::rebuildLooks() {
    if (image_.isNull() || width() <= 0 || height() <= 0) {
        normalLook_ = hotLook_ = disabledLook_ = QPixmap();
        return;
    }
    const QImage scaled = image_.toImage().scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    normalLook_ = QPixmap::fromImage(scaled);
    hotLook_ = QPixmap::fromImage(Brightened(scaled));
    disabledLook_ = QPixmap::fromImage(Greyed(scaled));
}

void ImageButton::resizeEvent(QResizeEvent* event) {
    QAbstractButton::resizeEvent(event);
    rebuildLooks();
}

void ImageButton::paintEvent(QPaintEvent*) {
    if (normalLook_.isNull()) return;  // no image, nothing drawn
    QPainter painter(this);
    switch (look()) {
        case Look::Normal: painter.drawPixmap(0, 0, normalLook_); break;
        case Look::Hot: painter.drawPixmap(0, 0, hotLook_); break;
        case Look::Disabled: painter.drawPixmap(0, 0, disabledLook_); break;
        case Look::Pressed:
            painter.setClipRect(rect());
            painter.drawPixmap(1, 1, normalLook_);
            break;
    }
    if (hasFocus()) {
        // A dotted frame two pixels inside, dark over light so it shows on any image.
        const QRect frame = rect().adjusted(2, 2, -3, -3);
        painter.setPen(QPen(QColor(255, 255, 255), 1));
        painter.drawRect(frame);
        painter.setPen(QPen(QColor(33, 33, 33), 1, Qt::DotLine));
        painter.drawRect(frame);
    }
}

void ImageButton::enterEvent(QEnterEvent* event) {
    hovering_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ImageButton::leaveEvent(QEvent* event) {
    hovering_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void ImageButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // Some platforms deliver the second press only as a double-click; then it is the press.
    if (event->button() == Qt::LeftButton && !isDown()) {
        mousePressEvent(event);
        return;
    }
    event->accept();
}

}  // namespace songloader::gui
