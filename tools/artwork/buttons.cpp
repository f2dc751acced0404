// SPDX-License-Identifier: GPL-3.0-or-later
// The fifteen push-button images: a rounded gradient plate with its caption. The window stretches
// each image to its button, so the sizes here are the buttons' sizes.
#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <string>

#include "artwork_tool.h"
#include "palette.h"

namespace artwork {

namespace {

struct ButtonArt {
    int pngId;
    int width;
    int height;
    const char* caption;  // as the control shows it; empty for the unbound image
    bool primary;         // the one action that writes to the device stands out
};

constexpr ButtonArt kButtons[] = {
    {193, 116, 33, "Add to USB Drive", true},
    {194, 138, 33, "Auto-Check USB Drive", false},
    {195, 98, 33, "Auto-Generate", false},
    {196, 98, 33, "Browse ", false},
    {197, 85, 31, "", false},
    {198, 87, 33, "Clear Fields", false},
    {199, 87, 33, "Cloud Midi ", false},
    {200, 87, 33, "Cloud Songs", false},
    {201, 109, 33, "Export Song List", false},
    {202, 87, 33, "Print Preview", false},
    {203, 87, 33, "Print", false},
    {204, 87, 33, "Queue to Add", false},
    {205, 87, 33, "Revise", false},
    {206, 87, 33, "Select All", false},
    {207, 103, 33, "Select USB Drive", false},
    {208, 116, 33, "Eject USB Drive", false},  // safe removal, a command of this program
};

constexpr double kRadius = 7.0;
constexpr double kSideMargin = 6.0;
constexpr int kLargestTextPx = 13;
constexpr int kSmallestTextPx = 9;

QFont CaptionFont(int pixelSize) {
    QFont font("Liberation Sans");
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Bold);
    font.setPixelSize(pixelSize);
    return font;
}

// One caption size for every button (they sit side by side): the largest, down to a floor, at
// which each caption fits its plate with the margins.
int CaptionPixelSize() {
    int px = kLargestTextPx;
    for (const ButtonArt& art : kButtons) {
        const QString caption = QString::fromUtf8(art.caption).trimmed();
        while (px > kSmallestTextPx &&
               QFontMetricsF(CaptionFont(px)).horizontalAdvance(caption) > art.width - 2 * kSideMargin) {
            --px;
        }
    }
    return px;
}

QImage DrawButton(const ButtonArt& art, int captionPx) {
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

    const QString caption = QString::fromUtf8(art.caption).trimmed();
    if (!caption.isEmpty()) {
        painter.setFont(CaptionFont(captionPx));
        painter.setPen(palette::kTextShadow);
        painter.drawText(QRectF(image.rect()).translated(0, 1), Qt::AlignCenter, caption);
        painter.setPen(palette::kWhite);
        painter.drawText(QRectF(image.rect()), Qt::AlignCenter, caption);
    }
    return image;
}

}  // namespace

bool DrawButtons(const std::filesystem::path& resDir) {
    const int captionPx = CaptionPixelSize();
    bool ok = true;
    for (const ButtonArt& art : kButtons) {
        ok = SavePng(DrawButton(art, captionPx), resDir / "buttons" / (std::to_string(art.pngId) + ".png")) && ok;
    }
    return ok;
}

}  // namespace artwork
