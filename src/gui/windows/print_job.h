// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPrinter>
#include <QWidget>

#include "core/output/print/song_list_pages.h"

namespace songloader::gui {

// Sets a printer up for the song list: portrait whatever its default; a PDF file gets the whole
// sheet as its page, as the CLI's PDF does, while a real printer keeps its printable area.
void PreparePrinter(QPrinter& printer);

// Prints the pages the printer's range names (all of 1..highestPage when it names none) on a
// prepared printer. Returns the number of pages printed, 0 when the printer could not be used.
int PrintOnPrinter(QPrinter& printer, int highestPage, const print::PageRenderer& renderPage);

// The print job: the system print dialog for pages 1..highestPage, then the chosen pages. A
// cancelled dialog prints nothing and says nothing; a printer that cannot be used is reported.
void RunPrintJob(QWidget* parent, int highestPage, const print::PageRenderer& renderPage);

}  // namespace songloader::gui
