// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QRect>
#include <QSize>

#include <list>
#include <utility>

#include "core/output/print/song_list_pages.h"

namespace songloader::gui {

// The pages of a printout as sheets on a grey desk, one or two side by side, scrolled through.
// A page is rendered only when it comes into sight, at the size it is shown, and the last few are
// kept: a list of 1,639 pages opens as fast as one of a single page.
class PreviewPages : public QAbstractScrollArea {
    Q_OBJECT
public:
    // `sheet`: the paper in the printer's pixels; `paintable`: the part of it the page loop draws
    // on (its draw rectangle), in the same pixels; `dpi`: the printer's resolution.
    PreviewPages(int pageCount, print::PageRenderer renderPage, QSize sheet, QRect paintable, int dpi,
                 QWidget* parent = nullptr);

    int pageCount() const { return pageCount_; }
    // The page last paged to, or the one at the top of the view once the user scrolls; from 1.
    int currentPage() const { return current_; }
    // Scrolls page `page` (clamped to 1..pageCount) to the top.
    void setCurrentPage(int page);
    bool facingPages() const { return facing_; }
    void setFacingPages(bool facing);
    // Shown size against the sheet's size at the printer's resolution; fits the width at first.
    qreal zoomFactor() const { return zoom_; }
    void zoomIn();
    void zoomOut();
    // Pages rendered so far (each render counted, cached or not).
    int renderedPages() const { return rendered_; }

signals:
    // A page was drawn on the screen for the first time since the view opened.
    void firstPagePainted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QSize ShownSheet() const;
    int RowHeight() const;  // one row of sheets plus the gap below it
    int PageAtTop() const;
    int Columns() const { return facing_ ? 2 : 1; }
    QRect SheetRect(int page) const;  // in content coordinates
    void SetZoom(qreal zoom, bool fitWidth);
    void UpdateScrollBars();
    const QImage& Page(int page);

    int pageCount_;
    print::PageRenderer renderPage_;
    QSize sheet_;
    QRect paintable_;
    int dpi_;
    qreal zoom_ = 0.1;
    bool fitWidth_ = true;
    bool facing_ = false;
    bool painted_ = false;
    int rendered_ = 0;
    int current_ = 1;
    bool scrolling_ = false;  // setCurrentPage moves the scroll bar
    // Recently shown pages, most recent first: (page, picture at the current zoom).
    std::list<std::pair<int, QImage>> cache_;
};

}  // namespace songloader::gui
