// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/controls/skinned_header.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "gui/controls/list_font.h"

namespace songloader::gui {

namespace {

constexpr int kGradientStart = 166;
constexpr int kGradientStep = 8;
constexpr float kHeightFactor = 1.2f;
constexpr int kTextInset = 3;

}  // namespace

SkinnedHeader::SkinnedHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setFont(ListFont(kFontPixelHeight));
    setHighlightSections(false);
    setSectionsClickable(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

int SkinnedHeader::GradientLevel(int line) { return std::max(0, kGradientStart - kGradientStep * line); }

int SkinnedHeader::ScaledHeight(int naturalHeight) { return static_cast<int>(naturalHeight * kHeightFactor); }

QSize SkinnedHeader::sizeHint() const {
    QSize size = QHeaderView::sizeHint();
    size.setHeight(ScaledHeight(size.height()));
    return size;
}

void SkinnedHeader::paintGradient(QPainter* painter, const QRect& rect) const {
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        const int level = GradientLevel(y - rect.top());
        painter->fillRect(QRect(rect.left(), y, rect.width(), 1), QColor(level, level, level));
    }
}

void SkinnedHeader::paintEvent(QPaintEvent* event) {
    QHeaderView::paintEvent(event);
    // The area after the last section carries the same gradient.
    int end = 0;
    for (int visual = count() - 1; visual >= 0; --visual) {
        const int logical = logicalIndex(visual);
        if (isSectionHidden(logical)) continue;
        end = sectionViewportPosition(logical) + sectionSize(logical);
        break;
    }
    const QRect rest(end + 1, 0, viewport()->width() - end - 1, viewport()->height());
    if (rest.width() <= 0) return;
    QPainter painter(viewport());
    painter.fillRect(QRect(end, 0, 1, rest.height()), palette().window());
    paintGradient(&painter, rest);
}

void SkinnedHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    QRect section = rect;
    if (visualIndex(logicalIndex) > 0) {
        painter->fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), palette().window());
        section.setLeft(rect.left() + 1);
    }
    paintGradient(painter, section);

    const QString title = model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
    if (title.isEmpty()) return;
    const QVariant alignmentData = model()->headerData(logicalIndex, orientation(), Qt::TextAlignmentRole);
    const Qt::Alignment alignment =
        (alignmentData.isValid() ? alignmentData.value<Qt::Alignment>() : defaultAlignment()) &
        Qt::AlignHorizontal_Mask;
    QRect textRect = section;
    if (alignment & Qt::AlignRight) textRect.setRight(section.right() - kTextInset);
    else if (!(alignment & Qt::AlignHCenter)) textRect.setLeft(section.left() + kTextInset);
    // Vertically centred on the font's height, on one line.
    textRect.setTop(section.top() + (section.height() - kFontPixelHeight) / 2);
    textRect.setHeight(fontMetrics().height());
    painter->save();
    painter->setClipRect(section);
    painter->setPen(kTextColour);
    painter->setFont(font());
    const Qt::Alignment horizontal = alignment ? alignment : Qt::AlignLeft;
    painter->drawText(textRect, int(horizontal | Qt::AlignTop | Qt::TextSingleLine), title);
    if (isSortIndicatorShown() && sortIndicatorSection() == logicalIndex) {
        // A small triangle at the right end: up for ascending, down for descending.
        constexpr int kArrow = 4;
        const int x = section.right() - kTextInset - kArrow;
        const int y = section.center().y();
        const bool up = sortIndicatorOrder() == Qt::AscendingOrder;
        const QPoint arrow[] = {{x - kArrow, up ? y + kArrow / 2 : y - kArrow / 2},
                                {x + kArrow, up ? y + kArrow / 2 : y - kArrow / 2},
                                {x, up ? y - kArrow / 2 : y + kArrow / 2}};
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(kTextColour);
        painter->drawPolygon(arrow, 3);
    }
    painter->restore();
}

}  // namespace songloader::gui
