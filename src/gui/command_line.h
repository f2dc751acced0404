// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include <optional>
#include <string>

namespace songloader::gui {

// The window program's options. Qt's own options (-style, -platform, -reverse, ...) are accepted
// and left for QApplication.
struct WindowOptions {
    std::optional<std::string> cloudUrl;
    bool demo = false;
    bool help = false;
    bool version = false;
    std::optional<std::string> platform;  // Qt's -platform, which stands in for a display
    // A usage error, said as "songloader: ..." (exit status 2); empty when the line is fine.
    std::string error;
};

// `arguments` as the program got them, the program's name first.
WindowOptions ParseWindowOptions(const QStringList& arguments);

extern const char* const kWindowUsage;

// The desktop entry's name: docks on Wayland match the window to its entry by it.
inline constexpr const char* kDesktopFileName = "org.songloader.SongLoader";
// The application's name, which is also the class of the window's X11 WM_CLASS: the desktop
// entry's StartupWMClass must equal it.
inline constexpr const char* kApplicationName = "songloader";

// The application's name, organisation and desktop file name; after QApplication is made.
void SetUpApplicationIdentity();

}  // namespace songloader::gui
