// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QPrinter>

#include "core/app/dialog_view.h"
#include "core/output/print/song_list_pages.h"

class QAction;
class QToolBar;

namespace songloader::gui {

class PreviewPages;

// The print preview: the song list's pages as they will print, with a toolbar of seven buttons
// (print, next page, previous page, one/two pages, zoom out, zoom in, close). The print button
// ends the preview asking for a print job. Pages are drawn as they come into sight.
class PrintPreviewWindow : public QMainWindow {
    Q_OBJECT
public:
    PrintPreviewWindow(int highestPage, print::PageRenderer renderPage, QWidget* parent = nullptr);

    // Shows the window maximised and returns when the preview has ended.
    PreviewEnd Exec();

    QToolBar* toolBar() const { return toolBar_; }
    PreviewPages* previewWidget() const { return preview_; }
    int currentPage() const;
    bool showsTwoPages() const { return twoPages_; }
    PreviewEnd end() const { return end_; }

signals:
    void finished();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ToggleTwoPages();
    void ShowPageCountLabel();

    int highestPage_;
    print::PageRenderer renderPage_;
    QPrinter printer_;
    PreviewPages* preview_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QAction* pageCount_ = nullptr;
    bool twoPages_ = false;
    PreviewEnd end_ = PreviewEnd::Closed;
};

// The preview of pages 1..highestPage, run until it ends.
PreviewEnd RunPrintPreview(QWidget* parent, int highestPage, const print::PageRenderer& renderPage);

}  // namespace songloader::gui
