// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

namespace songloader::gui {

// The help's start page for a program in `programDir`: help/index.html beside it (the build tree)
// or ../share/songloader/help/index.html (installed). Empty when neither exists.
std::filesystem::path HelpIndexFileFor(const std::filesystem::path& programDir);

// The same for the running program.
std::filesystem::path HelpIndexFile();

}  // namespace songloader::gui
