// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace songloader::gui {

// Makes the program's own widgets readable by screen readers: the song lists as tables whose rows
// report their check box (ticked or not) and whose toggle action ticks it, the gradient progress
// bar as a progress bar with its value, the main window as a frame and the progress window as a
// dialog. Called by those widgets; installing twice does nothing.
void InstallAccessibility();

class SkinnedListView;
// The child number of a list's cell in its accessible table (the column titles come first),
// which focus and selection events name.
int AccessibleChildIndex(const SkinnedListView& view, int row, int column);

}  // namespace songloader::gui
