// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

namespace songloader::gui {

// The font of the song lists and their headers at a pixel height: the face the lists were designed
// with where it is installed, else a CJK-capable face, else the desktop's sans serif.
QFont ListFont(int pixelHeight);

}  // namespace songloader::gui
