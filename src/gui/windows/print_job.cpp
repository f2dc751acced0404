// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/print_job.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <algorithm>

#include "core/common/notice.h"
#include "gui/language/shown_text.h"
#include "qtpaint/song_list_print_job.h"

namespace songloader::gui {

void PreparePrinter(QPrinter& printer) {
    printer.setPageOrientation(QPageLayout::Portrait);
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        printer.setFullPage(true);
        printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    }
}

int PrintOnPrinter(QPrinter& printer, int highestPage, const print::PageRenderer& renderPage) {
    if (highestPage < 1) return 0;
    int first = 1;
    int last = highestPage;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::clamp(printer.fromPage(), 1, highestPage);
        last = std::clamp(printer.toPage() > 0 ? printer.toPage() : highestPage, first, highestPage);
    }
    return qtpaint::PrintPages(printer, first, last, highestPage, renderPage);
}

void RunPrintJob(QWidget* parent, int highestPage, const print::PageRenderer& renderPage) {
    if (highestPage < 1) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Portrait);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(1, highestPage);
    dialog.setFromTo(1, highestPage);
    if (dialog.exec() != QDialog::Accepted) return;
    // The dialog may have turned the paper: the list prints in portrait all the same.
    PreparePrinter(printer);
    if (PrintOnPrinter(printer, highestPage, renderPage) == 0) {
        QMessageBox::warning(
            parent, CoreText(kCaptionError),
            QCoreApplication::translate("songloader::gui::PrintJob", "The song list could not be printed."));
    }
}

}  // namespace songloader::gui
