// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's background: a calm gradient, two panels (the form and cloud on the left, the
// device on the right) and the field labels, placed from the window's own layout table.
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "artwork_tool.h"
#include "gui/window_layout.h"
#include "palette.h"

namespace artwork {

namespace {

using songloader::ControlId;
using songloader::gui::LayoutRect;
using songloader::gui::MainWindowLayout;
using songloader::gui::PlaceOf;

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

bool DrawBackground(const std::filesystem::path& resDir) {
    const auto& layout = MainWindowLayout();
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

    QFont font("Liberation Sans");
    font.setPixelSize(13);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(palette::kBlueEdge);
    for (const auto& label : layout.labels) {
        painter.drawText(QRect(label.rect.x, label.rect.y, label.rect.width, label.rect.height),
                         Qt::AlignLeft | Qt::AlignVCenter, label.text);
    }
    painter.end();
    return SavePng(image, resDir / "background.png");
}

}  // namespace artwork
