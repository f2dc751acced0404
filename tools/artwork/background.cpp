// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's background: a calm gradient, two panels (the form and cloud on the left, the
// device on the right) and the field labels, placed from the window's own layout table.
#include "artwork_tool.h"
#include "gui/drawn_artwork.h"

namespace artwork {

bool DrawBackground(const std::filesystem::path& resDir) {
    const QImage image = songloader::gui::DrawBackground(songloader::gui::MainWindowLayout(),
                                                         [](const char* label) { return QString::fromUtf8(label); });
    return SavePng(image, resDir / "background.png");
}

}  // namespace artwork
