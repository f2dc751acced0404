// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/preview_pages.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

#include "qtpaint/song_list_print_job.h"

namespace songloader::gui {

namespace {

constexpr int kGap = 10;  // around and between the sheets
constexpr std::size_t kKeptPages = 12;
constexpr qreal kZoomStep = 1.25;
constexpr qreal kSmallestZoom = 0.02;
constexpr qreal kLargestZoom = 2.0;
const QColor kDesk(128, 128, 128);

}  // namespace

PreviewPages::PreviewPages(int pageCount, print::PageRenderer renderPage, QSize sheet, QRect paintable, int dpi,
                           QWidget* parent)
    : QAbstractScrollArea(parent),
      pageCount_(std::max(pageCount, 0)),
      renderPage_(std::move(renderPage)),
      sheet_(sheet.isValid() && !sheet.isEmpty() ? sheet : QSize(4960, 7016)),
      paintable_(paintable.isValid() ? paintable : QRect(QPoint(0, 0), sheet_)),
      dpi_(dpi > 0 ? dpi : 600) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    verticalScrollBar()->setSingleStep(40);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (!scrolling_) current_ = PageAtTop();
    });
    SetZoom(zoom_, true);
}

QSize PreviewPages::ShownSheet() const {
    return {std::max(1, static_cast<int>(std::lround(sheet_.width() * zoom_))),
            std::max(1, static_cast<int>(std::lround(sheet_.height() * zoom_)))};
}

int PreviewPages::RowHeight() const { return ShownSheet().height() + kGap; }

QRect PreviewPages::SheetRect(int page) const {
    const QSize shown = ShownSheet();
    const int contentWidth = Columns() * (shown.width() + kGap) + kGap;
    const int left = std::max(0, (viewport()->width() - contentWidth) / 2);
    const int index = page - 1;
    const int column = index % Columns();
    const int row = index / Columns();
    return {left + kGap + column * (shown.width() + kGap), kGap + row * RowHeight(), shown.width(), shown.height()};
}

int PreviewPages::PageAtTop() const {
    if (pageCount_ < 1) return 0;
    const int row = (verticalScrollBar()->value() + RowHeight() / 3) / RowHeight();
    return std::clamp(row * Columns() + 1, 1, pageCount_);
}

void PreviewPages::setCurrentPage(int page) {
    if (pageCount_ < 1) return;
    current_ = std::clamp(page, 1, pageCount_);
    scrolling_ = true;
    verticalScrollBar()->setValue(SheetRect(current_).top() - kGap);
    scrolling_ = false;
}

void PreviewPages::setFacingPages(bool facing) {
    if (facing_ == facing) return;
    const int page = currentPage();
    facing_ = facing;
    SetZoom(zoom_, fitWidth_);
    setCurrentPage(page);
}

void PreviewPages::zoomIn() {
    const int page = currentPage();
    SetZoom(zoom_ * kZoomStep, false);
    setCurrentPage(page);
}

void PreviewPages::zoomOut() {
    const int page = currentPage();
    SetZoom(zoom_ / kZoomStep, false);
    setCurrentPage(page);
}

void PreviewPages::SetZoom(qreal zoom, bool fitWidth) {
    fitWidth_ = fitWidth;
    if (fitWidth_) {
        const int room = viewport()->width() - (Columns() + 1) * kGap;
        zoom = static_cast<qreal>(std::max(room, 1)) / (Columns() * sheet_.width());
    }
    zoom = std::clamp(zoom, kSmallestZoom, kLargestZoom);
    if (zoom != zoom_) cache_.clear();
    zoom_ = zoom;
    UpdateScrollBars();
    viewport()->update();
}

void PreviewPages::UpdateScrollBars() {
    const QSize shown = ShownSheet();
    const int rows = (pageCount_ + Columns() - 1) / Columns();
    const int contentHeight = rows * RowHeight() + kGap;
    const int contentWidth = Columns() * (shown.width() + kGap) + kGap;
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setRange(0, std::max(0, contentHeight - viewport()->height()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setRange(0, std::max(0, contentWidth - viewport()->width()));
}

void PreviewPages::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    const int page = currentPage();
    SetZoom(zoom_, fitWidth_);
    if (fitWidth_) setCurrentPage(page);
}

const QImage& PreviewPages::Page(int page) {
    for (auto it = cache_.begin(); it != cache_.end(); ++it) {
        if (it->first == page) {
            cache_.splice(cache_.begin(), cache_, it);
            return cache_.front().second;
        }
    }
    // The page is drawn in the printer's pixels and resolution, scaled to the size it is shown:
    // the same layout as on paper.
    QImage image(ShownSheet(), QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dotsPerMeter = static_cast<int>(std::lround(dpi_ / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(static_cast<qreal>(image.width()) / sheet_.width(),
                      static_cast<qreal>(image.height()) / sheet_.height());
        painter.translate(paintable_.topLeft());
        painter.setClipRect(QRect(QPoint(0, 0), paintable_.size()));
        qtpaint::FontCache fonts;
        qtpaint::PrintPage(painter, fonts, paintable_.size(), page, pageCount_, renderPage_);
    }
    ++rendered_;
    cache_.emplace_front(page, std::move(image));
    if (cache_.size() > kKeptPages) cache_.pop_back();
    return cache_.front().second;
}

void PreviewPages::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), kDesk);
    if (pageCount_ < 1) return;
    const QPoint offset(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const QRect visible = event->rect().translated(offset);
    const int firstRow = std::max(0, (visible.top() - kGap) / RowHeight());
    const int lastRow = std::max(0, visible.bottom() / RowHeight());
    bool drew = false;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = 0; column < Columns(); ++column) {
            const int page = row * Columns() + column + 1;
            if (page > pageCount_) break;
            const QRect sheet = SheetRect(page);
            if (!sheet.intersects(visible)) continue;
            const QRect shown = sheet.translated(-offset);
            painter.fillRect(shown.translated(3, 3), QColor(64, 64, 64));
            painter.drawImage(shown.topLeft(), Page(page));
            drew = true;
        }
    }
    if (drew && !painted_) {
        painted_ = true;
        emit firstPagePainted();
    }
}

}  // namespace songloader::gui
