// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The one place the program looks its pictures up (embedded from res/songloader.qrc).
namespace songloader::gui {

inline constexpr int kFirstButtonImage = 193;
inline constexpr int kLastButtonImage = 208;  // 208: "Eject USB Drive", the last button drawn

// The push-button picture with that PNG id (193..208) at its drawn size; a null pixmap for any
// other id, as for a missing image. In English the committed picture; when the user's language
// words a caption otherwise, the same drawing with the translated captions.
QPixmap ButtonImage(int pngId);

// The caption of a button picture in the user's language ("" for 197 and unknown ids).
QString ButtonCaption(int pngId);

// The window and desktop icon, in its 48, 128 and 256 pixel drawings.
QIcon ApplicationIcon();

// The main window's background picture (a null pixmap until res/ holds one); drawn again with
// the field labels in the user's language when they word them otherwise.
QPixmap BackgroundImage();

}  // namespace songloader::gui
