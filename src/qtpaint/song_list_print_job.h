// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPagedPaintDevice>
#include <QPainter>
#include <QSize>
#include <functional>

#include "core/output/print/song_list_pages.h"
#include "qtpaint/qt_device_context.h"

namespace songloader::qtpaint {

// Hears of every page done: its number and the last page of the job.
using PageDone = std::function<void(int page, int lastPage)>;

// The print loop of every printout (PDF, printer, preview): renders pages firstPage..lastPage, one
// per sheet, each through a QtDeviceContext on portrait paper with the sheet's paintable area as
// draw rectangle; it stops early at a page that clears the continue flag. `highestPage` goes into
// the page information. Returns the number of pages rendered, 0 when the device cannot be painted.
int PrintPages(QPagedPaintDevice& device, int firstPage, int lastPage, int highestPage,
               const print::PageRenderer& renderPage, const PageDone& onPage = {});

// Renders one page with `painter` through a QtDeviceContext on portrait paper, `area` as draw
// rectangle; the page information it leaves (whether printing goes on).
print::PrintInfo PrintPage(QPainter& painter, FontCache& fonts, QSize area, int page, int highestPage,
                           const print::PageRenderer& renderPage);

}  // namespace songloader::qtpaint
