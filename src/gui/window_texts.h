// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace songloader::gui {

// A text of the dialog as this program shows it: "for Windows" said as "for Linux".
inline std::string ForLinux(std::string_view text) {
    std::string shown(text);
    constexpr std::string_view from = "for Windows";
    for (std::size_t at = shown.find(from); at != std::string::npos; at = shown.find(from, at)) {
        shown.replace(at, from.size(), "for Linux");
    }
    return shown;
}

}  // namespace songloader::gui
