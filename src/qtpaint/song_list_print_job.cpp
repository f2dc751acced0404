// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtpaint/song_list_print_job.h"

#include <QPainter>

#include "qtpaint/qt_device_context.h"

namespace songloader::qtpaint {

int PrintPages(QPagedPaintDevice& device, int firstPage, int lastPage, int highestPage,
               const print::PageRenderer& renderPage, const PageDone& onPage) {
    if (firstPage < 1 || lastPage < firstPage) return 0;
    QPainter painter;
    if (!painter.begin(&device)) return 0;
    FontCache fonts;
    int done = 0;
    for (int page = firstPage; page <= lastPage; ++page) {
        if (page > firstPage && !device.newPage()) return 0;
        QtDeviceContext dc(painter, print::kOrientationPortrait, &fonts);
        print::PrintInfo info;
        info.drawRect = {0, 0, device.width(), device.height()};
        info.currentPage = page;
        info.maxPage = highestPage;
        renderPage(dc, info);
        ++done;
        if (onPage) onPage(page, lastPage);
        if (!info.continuePrinting) break;
    }
    return painter.end() ? done : 0;
}

}  // namespace songloader::qtpaint
