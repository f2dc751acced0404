// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/print_preview_window.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QShortcut>
#include <QToolBar>

#include "gui/windows/preview_pages.h"
#include "gui/windows/print_job.h"

namespace songloader::gui {

namespace {

constexpr const char* kTitle = QT_TRANSLATE_NOOP("songloader::gui::PrintPreviewWindow", "Dudir Udade Preview");
// The page-count button names what a click shows.
constexpr const char* kShowOnePage = QT_TRANSLATE_NOOP("songloader::gui::PrintPreviewWindow", "One Page");
constexpr const char* kShowTwoPages = QT_TRANSLATE_NOOP("songloader::gui::PrintPreviewWindow", "Two Page");

}  // namespace

PrintPreviewWindow::PrintPreviewWindow(int highestPage, print::PageRenderer renderPage, QWidget* parent)
    : QMainWindow(parent),
      highestPage_(highestPage),
      renderPage_(std::move(renderPage)),
      printer_(QPrinter::HighResolution) {
    setWindowTitle(tr(kTitle));
    // Commands of the main window wait until the preview has ended.
    setWindowModality(Qt::ApplicationModal);
    PreparePrinter(printer_);
    const QRect sheet = printer_.paperRect(QPrinter::DevicePixel).toRect();
    const QRect paintable = printer_.pageRect(QPrinter::DevicePixel).toRect().translated(-sheet.topLeft());
    preview_ = new PreviewPages(highestPage_ > 0 ? highestPage_ : 1, renderPage_, sheet.size(), paintable,
                                printer_.resolution(), this);
    setCentralWidget(preview_);

    toolBar_ = addToolBar(tr("Preview"));
    toolBar_->setMovable(false);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // A tool button shows the action's icon text, which Qt derives without "&" and "...": given
    // whole, the labels keep their dots and their mnemonics (Alt+P ... Alt+C).
    const auto add = [this](const QString& label, auto&& slot) {
        QAction* action = toolBar_->addAction(label, this, slot);
        action->setIconText(label);
        return action;
    };
    add(tr("my(&P)..."), [this] {
        end_ = PreviewEnd::PrintChosen;
        close();
    });
    add(tr("my PageDown(&N)"), [this] { preview_->setCurrentPage(currentPage() + 1); });
    add(tr("PageUp(&V)"), [this] { preview_->setCurrentPage(currentPage() - 1); });
    pageCount_ = add(QString(), [this] { ToggleTwoPages(); });
    // Not connected directly: the triggered flag would arrive as the zoom factor.
    add(tr("Zoom Out(&I)"), [this] { preview_->zoomOut(); });
    add(tr("Zoom In(&O)"), [this] { preview_->zoomIn(); });
    add(tr("Close(&C)"), [this] { close(); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    ShowPageCountLabel();
}

int PrintPreviewWindow::currentPage() const { return preview_->currentPage(); }

void PrintPreviewWindow::ToggleTwoPages() {
    twoPages_ = !twoPages_;
    preview_->setFacingPages(twoPages_);
    ShowPageCountLabel();
}

void PrintPreviewWindow::ShowPageCountLabel() {
    const QString label = tr(twoPages_ ? kShowOnePage : kShowTwoPages);
    pageCount_->setText(label);
    pageCount_->setIconText(label);
}

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
