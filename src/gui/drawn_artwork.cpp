// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/drawn_artwork.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <array>

#include "gui/artwork_palette.h"

namespace songloader::gui {

namespace {

namespace palette = artwork::palette;

constexpr std::array<ButtonArt, 16> kButtons{{
    {193, 116, 33, QT_TRANSLATE_NOOP("Buttons", "Add to USB Drive"), true},
    {194, 138, 33, QT_TRANSLATE_NOOP("Buttons", "Auto-Check USB Drive"), false},
    {195, 98, 33, QT_TRANSLATE_NOOP("Buttons", "Auto-Generate"), false},
    {196, 98, 33, QT_TRANSLATE_NOOP("Buttons", "Browse "), false},
    {197, 85, 31, "", false},
    {198, 87, 33, QT_TRANSLATE_NOOP("Buttons", "Clear Fields"), false},
    {199, 87, 33, QT_TRANSLATE_NOOP("Buttons", "Cloud Midi "), false},
    {200, 87, 33, QT_TRANSLATE_NOOP("Buttons", "Cloud Songs"), false},
    {201, 109, 33, QT_TRANSLATE_NOOP("Buttons", "Export Song List"), false},
    {202, 87, 33, QT_TRANSLATE_NOOP("Buttons", "Print Preview"), false},
    {203, 87, 33, QT_TRANSLATE_NOOP("Buttons", "Print"), false},
    {204, 87, 33, QT_TRANSLATE_NOOP("Buttons", "Queue to Add"), false},
    {205, 87, 33, QT_TRANSLATE_NOOP("Buttons", "Revise"), false},
    {206, 87, 33, QT_TRANSLATE_NOOP("Buttons", "Select All"), false},
    {207, 103, 33, QT_TRANSLATE_NOOP("Buttons", "Select USB Drive"), false},
    {208, 116, 33, QT_TRANSLATE_NOOP("Buttons", "Eject USB Drive"), false},  // safe removal, a command of this program
}};

constexpr double kRadius = 7.0;
constexpr double kSideMargin = 6.0;
constexpr int kLargestTextPx = 13;
constexpr int kSmallestTextPx = 9;
constexpr int kLabelPx = 13;

bool FitsOneLine(const QString& caption, double width, int pixelSize) {
    return QFontMetricsF(CaptionFont(pixelSize)).horizontalAdvance(caption.trimmed()) <= width - 2 * kSideMargin;
}

QRectF TextRect(QSize size) { return QRectF(kSideMargin, 0, size.width() - 2 * kSideMargin, size.height()); }

}  // namespace

std::span<const ButtonArt> ButtonArtwork() { return kButtons; }

QFont CaptionFont(int pixelSize) {
    QFont font("Liberation Sans");
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Bold);
    font.setPixelSize(pixelSize);
    return font;
}

int CaptionPixelSize(std::span<const QString> captions) {
    int px = kLargestTextPx;
    for (std::size_t i = 0; i < captions.size() && i < kButtons.size(); ++i) {
        while (px > kSmallestTextPx && !FitsOneLine(captions[i], kButtons[i].width, px)) --px;
    }
    return px;
}

bool CaptionFits(const QString& caption, QSize size, int pixelSize) {
    const QFontMetricsF metrics(CaptionFont(pixelSize));
    const QRectF room = TextRect(size);
    const QRectF needed = metrics.boundingRect(room, Qt::AlignCenter | Qt::TextWordWrap, caption.trimmed());
    return needed.width() <= room.width() && needed.height() <= room.height();
}

QImage DrawButton(const ButtonArt& art, const QString& caption, int captionPx) {
    QImage image(art.width, art.height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);

    const QRectF plate = QRectF(image.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(plate.topLeft(), plate.bottomLeft());
    fill.setColorAt(0.0, art.primary ? palette::kGreenTop : palette::kBlueTop);
    fill.setColorAt(1.0, art.primary ? palette::kGreenBottom : palette::kBlueBottom);
    painter.setPen(QPen(art.primary ? palette::kGreenEdge : palette::kBlueEdge, 1.0));
    painter.setBrush(fill);
    painter.drawRoundedRect(plate, kRadius, kRadius);

    // A soft gloss on the upper half.
    QPainterPath gloss;
    gloss.addRoundedRect(plate.adjusted(1.5, 1.5, -1.5, -plate.height() / 2), kRadius - 1.5, kRadius - 1.5);
    QLinearGradient shine(plate.topLeft(), QPointF(plate.left(), plate.center().y()));
    shine.setColorAt(0.0, QColor(255, 255, 255, 80));
    shine.setColorAt(1.0, QColor(255, 255, 255, 10));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shine);
    painter.drawPath(gloss);

    const QString shown = caption.trimmed();
    if (!shown.isEmpty()) {
        painter.setFont(CaptionFont(captionPx));
        // A caption too long for one line at the smallest size breaks between its words.
        const bool oneLine = FitsOneLine(shown, art.width, captionPx);
        const QRectF room = oneLine ? QRectF(image.rect()) : TextRect(image.size());
        const int flags = oneLine ? Qt::AlignCenter : Qt::AlignCenter | Qt::TextWordWrap;
        painter.setPen(palette::kTextShadow);
        painter.drawText(room.translated(0, 1), flags, shown);
        painter.setPen(palette::kWhite);
        painter.drawText(room, flags, shown);
    }
    return image;
}

QFont LabelFont(int pixelSize) {
    QFont font("Liberation Sans");
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

int LabelPixelSize(const QString& text, int width) {
    int px = kLabelPx;
    while (px > kSmallestTextPx && QFontMetricsF(LabelFont(px)).horizontalAdvance(text) > width) --px;
    return px;
}

namespace {

QRectF Panel(const LayoutRect& first, const LayoutRect& last, int left, int right) {
    constexpr int kPad = 8;
    return QRectF(left - kPad, first.y - kPad, right - left + 2 * kPad, last.bottom() - first.y + 2 * kPad);
}

void DrawPanel(QPainter& painter, const QRectF& rect) {
    QPainterPath path;
    path.addRoundedRect(rect, 8, 8);
    painter.fillPath(path, QColor(255, 255, 255, 150));
    painter.setPen(QPen(QColor(0x9c, 0xac, 0xc2), 1));
    painter.drawPath(path);
}

}  // namespace

QImage DrawBackground(const WindowLayout& layout, const std::function<QString(const char*)>& labelText) {
    QImage image(layout.width, layout.height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, layout.height);
    sky.setColorAt(0, QColor(0xe9, 0xf0, 0xfa));
    sky.setColorAt(1, QColor(0xc9, 0xd6, 0xe8));
    painter.fillRect(image.rect(), sky);

    // Left: device choice and entry form; cloud and work list. Right: the device's songs.
    const LayoutRect autoCheck = PlaceOf(layout, ControlId::AutoCheckDevice);
    const LayoutRect work = PlaceOf(layout, ControlId::WorkList);
    const LayoutRect queue = PlaceOf(layout, ControlId::QueueToAdd);
    const LayoutRect cloud = PlaceOf(layout, ControlId::CloudSongs);
    const LayoutRect device = PlaceOf(layout, ControlId::DeviceList);
    const LayoutRect exportButton = PlaceOf(layout, ControlId::ExportSongList);
    DrawPanel(painter, Panel(autoCheck, queue, work.x, work.right()));
    DrawPanel(painter, Panel(cloud, work, work.x, work.right()));
    DrawPanel(painter, Panel(device, exportButton, device.x, device.right()));

    painter.setPen(palette::kBlueEdge);
    for (const auto& label : layout.labels) {
        const QString text = labelText(label.text);
        painter.setFont(LabelFont(LabelPixelSize(text, label.rect.width)));
        painter.drawText(QRect(label.rect.x, label.rect.y, label.rect.width, label.rect.height),
                         Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    painter.end();
    return image;
}

}  // namespace songloader::gui
