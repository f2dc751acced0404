// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>

#include <memory>

namespace songloader::gui {

// The window's own state (window-state.conf beside songloader.conf, never in it: that file is the
// user's, edited by hand, and no program of this project writes it); null when there is no place
// for it.
std::unique_ptr<QSettings> WindowState();

// Keys of the window state.
inline constexpr const char* kEvenLoudnessKey = "even-loudness";

}  // namespace songloader::gui
