// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace songloader::cli {

// A song text as the terminal may show it: the device's code page decoded to UTF-8, and every
// control character (C0, DEL, C1: escape sequences, carriage returns, tabs) written as \xNN or
// \u00NN, so a text can neither drive the terminal nor break the columns. Backslashes stay.
std::string TerminalText(std::string_view deviceText, const std::string& codePage);

// The escaping alone, for UTF-8 text.
std::string EscapeControls(std::string_view utf8);

}  // namespace songloader::cli
