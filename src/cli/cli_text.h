// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace songloader::cli {

// A text of the command line's help (marked SL_TRANSLATE_NOOP("Cli", ...) where it is written)
// in the user's language, by the rule the window follows (core/common/user_languages.h). The
// translation is read through the Qt part the first time a help text is asked for, so commands
// that print no help never load Qt. English, or a translation that cannot be read, shows the
// text as it is.
std::string CliText(const std::string& english);

}  // namespace songloader::cli
