// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/user_languages.h"

#include <algorithm>
#include <cctype>

namespace songloader {

std::string PickLanguage(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        std::string language = name.substr(0, name.find_first_of("-_.@"));
        std::transform(language.begin(), language.end(), language.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (language == "en" || language == "c" || language == "posix") return {};
        if (language == "tl") return "fil";
        if (std::find(kSpokenLanguages.begin(), kSpokenLanguages.end(), language) != kSpokenLanguages.end()) {
            return language;
        }
    }
    return {};
}

std::vector<std::string> UserLanguages(const std::function<std::string(const char*)>& variable) {
    std::vector<std::string> names;
    const std::string list = variable("LANGUAGE");
    for (std::size_t from = 0; from <= list.size() && !list.empty();) {
        const std::size_t colon = std::min(list.find(':', from), list.size());
        if (colon > from) names.push_back(list.substr(from, colon - from));
        from = colon + 1;
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (const std::string value = variable(name); !value.empty()) {
            names.push_back(value);
            break;
        }
    }
    return names;
}

}  // namespace songloader
