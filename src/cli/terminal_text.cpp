// SPDX-License-Identifier: GPL-3.0-or-later
#include "terminal_text.h"

#include <cstdio>

#include "core/text/code_page.h"

namespace songloader::cli {

std::string EscapeControls(std::string_view utf8) {
    std::string shown;
    shown.reserve(utf8.size());
    char code[8];
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x20 || c == 0x7F) {
            std::snprintf(code, sizeof code, "\\x%02X", c);
            shown += code;
        } else if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0 &&
                   static_cast<unsigned char>(utf8[i + 1]) >= 0x80) {
            std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned char>(utf8[++i]));
            shown += code;
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

std::string TerminalText(std::string_view deviceText, const std::string& codePage) {
    return EscapeControls(DeviceToUtf8(deviceText, codePage));
}

}  // namespace songloader::cli
