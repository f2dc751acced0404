#pragma once

#include <cstddef>

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

// Pages a device list needs: 40 songs each, rounded up (0 for an empty list).
int HighestPage(std::size_t songCount);

// Renders page info.currentPage of the song list: "Page %d", a rule and a table of 40 rows with
// number, title and artist. Clears info.continuePrinting on the last page. Texts go to the device
// context unchanged, so `songs` must already be in the context's text encoding. `thaiSystem`
// picks the font a Thai system prints with. Returns 1.
int RenderSongListPage(DeviceContext& dc, PrintInfo& info, const SongList& songs, bool thaiSystem);

}  // namespace songloader::print
