// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "core/app/filled_text.h"
#include "songloader_version.h"

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

// A text of the dialog that names the program's version ("V:%s"), with the one version of the
// program in it as major.minor: "1.4" of 1.4.0.
inline std::string ShortVersion() {
    const std::string version = SONGLOADER_VERSION;
    return version.substr(0, version.find('.', version.find('.') + 1));
}
inline std::string WithVersion(std::string_view pattern) { return FilledText(pattern, {ShortVersion()}); }

}  // namespace songloader::gui
