// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/print_preview_window.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QToolBar>

#include "gui/windows/preview_pages.h"
#include "gui/windows/print_job.h"

namespace songloader::gui {

namespace {

constexpr const char* kTitle = "Dudir Udade Preview";
// The page-count button names what a click shows.
constexpr const char* kShowOnePage = "One Page";
constexpr const char* kShowTwoPages = "Two Page";

}  // namespace

PrintPreviewWindow::PrintPreviewWindow(int highestPage, print::PageRenderer renderPage, QWidget* parent)
    : QMainWindow(parent), highestPage_(highestPage), renderPage_(std::move(renderPage)),
      printer_(QPrinter::HighResolution) {
    setWindowTitle(kTitle);
    // Commands of the main window wait until the preview has ended.
    setWindowModality(Qt::ApplicationModal);
    PreparePrinter(printer_);
    const QRect sheet = printer_.paperRect(QPrinter::DevicePixel).toRect();
    const QRect paintable = printer_.pageRect(QPrinter::DevicePixel).toRect().translated(-sheet.topLeft());
    preview_ = new PreviewPages(highestPage_ > 0 ? highestPage_ : 1, renderPage_, sheet.size(), paintable,
                                printer_.resolution(), this);
    setCentralWidget(preview_);

    toolBar_ = addToolBar("Preview");
    toolBar_->setMovable(false);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolBar_->addAction("my(&P)...", this, [this] {
        end_ = PreviewEnd::PrintChosen;
        close();
    });
    toolBar_->addAction("my PageDown(&N)", this, [this] { preview_->setCurrentPage(currentPage() + 1); });
    toolBar_->addAction("PageUp(&V)", this, [this] { preview_->setCurrentPage(currentPage() - 1); });
    pageCount_ = toolBar_->addAction(QString(), this, [this] { ToggleTwoPages(); });
    // Not connected directly: the triggered flag would arrive as the zoom factor.
    toolBar_->addAction("Zoom Out(&I)", this, [this] { preview_->zoomOut(); });
    toolBar_->addAction("Zoom In(&O)", this, [this] { preview_->zoomIn(); });
    toolBar_->addAction("Close(&C)", this, &QWidget::close);
    ShowPageCountLabel();
}

int PrintPreviewWindow::currentPage() const { return preview_->currentPage(); }

void PrintPreviewWindow::ToggleTwoPages() {
    twoPages_ = !twoPages_;
    preview_->setFacingPages(twoPages_);
    ShowPageCountLabel();
}

void PrintPreviewWindow::ShowPageCountLabel() { pageCount_->setText(twoPages_ ? kShowOnePage : kShowTwoPages); }

PreviewEnd PrintPreviewWindow::Exec() {
    QEventLoop loop;
    connect(this, &PrintPreviewWindow::finished, &loop, &QEventLoop::quit);
    showMaximized();
    loop.exec();
    return end_;
}

void PrintPreviewWindow::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (event->isAccepted()) emit finished();
}

PreviewEnd RunPrintPreview(QWidget* parent, int highestPage, const print::PageRenderer& renderPage) {
    if (highestPage < 1) return PreviewEnd::Closed;
    PrintPreviewWindow window(highestPage, renderPage, parent);
    return window.Exec();
}

}  // namespace songloader::gui
