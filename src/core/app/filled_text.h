// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace songloader {

// `pattern` with each "%s" replaced by the next of `arguments`, in order; a "%s" without an
// argument stays as it is.
inline std::string FilledText(std::string_view pattern, std::initializer_list<std::string_view> arguments) {
    std::string text(pattern);
    std::size_t from = 0;
    for (std::string_view argument : arguments) {
        const std::size_t at = text.find("%s", from);
        if (at == std::string::npos) break;
        text.replace(at, 2, argument);
        from = at + argument.size();
    }
    return text;
}

}  // namespace songloader
