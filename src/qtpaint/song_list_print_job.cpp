// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtpaint/song_list_print_job.h"

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
        const print::PrintInfo info =
            PrintPage(painter, fonts, QSize(device.width(), device.height()), page, highestPage, renderPage);
        ++done;
        if (onPage) onPage(page, lastPage);
        if (!info.continuePrinting) break;
    }
    return painter.end() ? done : 0;
}

print::PrintInfo PrintPage(QPainter& painter, FontCache& fonts, QSize area, int page, int highestPage,
                           const print::PageRenderer& renderPage) {
    QtDeviceContext dc(painter, print::kOrientationPortrait, &fonts);
    print::PrintInfo info;
    info.drawRect = {0, 0, area.width(), area.height()};
    info.currentPage = page;
    info.maxPage = highestPage;
    renderPage(dc, info);
    return info;
}

}  // namespace songloader::qtpaint
