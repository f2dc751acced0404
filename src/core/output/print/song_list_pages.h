// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "core/catalogue/row_element.h"
#include "core/output/print/device_context.h"

namespace songloader::print {

inline constexpr int kSongsPerPage = 40;

// What the print loop and the page rendering exchange for each page.
struct PrintInfo {
    Rect drawRect;  // device pixels
    int currentPage = 1;
    bool continuePrinting = true;
    int previewPages = 1;
    int minPage = 1;
    int maxPage = 0;
};

// Renders page info.currentPage onto a device context and answers through `info`.
using PageRenderer = std::function<int(DeviceContext& dc, PrintInfo& info)>;

// Pages a device list needs: 40 songs each, rounded up (0 for an empty list).
int HighestPage(std::size_t songCount);

// Renders page info.currentPage of the song list: "Page %d", a rule and a table of 40 rows with
// number, title and artist. Clears info.continuePrinting on the last page. Titles and artists are
// converted from `codePage` for the device context; an empty `codePage` takes them as UTF-8
// already. `thaiSystem` picks the font a Thai system prints with. Returns 1.
// A draw rectangle too short for 40 rows of 0.25 inch below the header gets rows just short
// enough to fit, so no song is cut off the sheet.
int RenderSongListPage(DeviceContext& dc, PrintInfo& info, const SongList& songs, bool thaiSystem,
                       const std::string& codePage = {});

// The renderer of the pages of `songs` (read at each page, so the list must outlive it).
PageRenderer SongListPageRenderer(const SongList& songs, bool thaiSystem, std::string codePage);

}  // namespace songloader::print
