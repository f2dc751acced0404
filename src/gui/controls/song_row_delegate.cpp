// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/controls/song_row_delegate.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

#include "gui/controls/song_list_model.h"

namespace songloader::gui {

namespace {

constexpr int kTextInset = 2;
constexpr int kMaxTextBytes = 255;

// At most 255 bytes of UTF-8, cut on a character boundary.
QString CellText(const QString& text) {
    if (text.size() * 3 <= kMaxTextBytes) return text;
    QString cut = text;
    while (cut.toUtf8().size() > kMaxTextBytes) cut.chop(1);
    return cut;
}

}  // namespace

SongRowDelegate::SongRowDelegate(const QFont& font, const QColor& selectionColour, QObject* parent)
    : QStyledItemDelegate(parent), font_(font), selectionColour_(selectionColour) {}

QRect SongRowDelegate::CheckBoxRect(const QRect& cell) {
    // From 15 pixels left of the label to 2 pixels right of it, 2 pixels inside top and bottom.
    const int label = cell.left() + kCheckAreaWidth;
    return QRect(QPoint(label - 15, cell.top() + 2), QPoint(label + 2 - 1, cell.bottom() - 2));
}

void SongRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QRect cell = option.rect;
    painter->save();
    painter->setClipRect(cell);
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    painter->fillRect(cell, selected ? selectionColour_ : kBackgroundColour);

    int textLeft = cell.left() + kTextInset;
    const QVariant check = index.data(Qt::CheckStateRole);
    const bool onDevice = index.data(SongListModel::kOnDeviceRole).toBool();
    if (check.isValid() && onDevice) {
        // No box to tick: a disc says the song is on the device already.
        const QRect box = CheckBoxRect(cell);
        const int side = std::min(box.width(), box.height()) - 2;
        const QRect disc(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(kOnDeviceColour);
        painter->drawEllipse(disc);
        painter->setRenderHint(QPainter::Antialiasing, false);
        textLeft = box.right() + 1 + 2 * kTextInset;
    } else if (check.isValid()) {
        const QRect box = CheckBoxRect(cell);
        painter->fillRect(box, kBoxColour);
        painter->setPen(QPen(Qt::black, 1));
        painter->drawRect(box.adjusted(0, 0, -1, -1));
        if (check.value<Qt::CheckState>() == Qt::Checked) {
            // In the box's own edges: right and bottom lie one past its last pixel.
            const int left = box.left(), top = box.top(), right = box.right() + 1, bottom = box.bottom() + 1;
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setPen(QPen(kCheckMarkColour, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            const QPoint mark[] = {{left + 2, top + 5}, {left + 5, bottom - 3}, {right - 3, top + 2}};
            painter->drawPolyline(mark, 3);
            painter->setRenderHint(QPainter::Antialiasing, false);
        }
        textLeft = box.right() + 1 + 2 * kTextInset;
    }

    const QString text = CellText(index.data(Qt::DisplayRole).toString());
    if (!text.isEmpty()) {
        const QRect textRect(textLeft, cell.top(), cell.right() + 1 - textLeft, cell.height());
        painter->setFont(font_);
        painter->setPen(onDevice ? kOnDeviceColour : kTextColour);
        const QFontMetrics metrics(font_);
        Qt::Alignment horizontal = Qt::AlignLeft;
        if (metrics.horizontalAdvance(text) < textRect.width())
            horizontal = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask;
        if (horizontal == 0) horizontal = Qt::AlignLeft;
        painter->drawText(textRect, int(horizontal | Qt::AlignVCenter | Qt::TextSingleLine), text);
    }
    painter->restore();
}

}  // namespace songloader::gui
