// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace songloader {

// The languages both programs speak besides English: Spanish and Filipino (Tagalog).
inline constexpr std::array<std::string_view, 2> kSpokenLanguages{"es", "fil"};

// The language of the texts shown: the first of `names` (most wanted first, e.g. "es_ES.UTF-8",
// "fil", "tl") that the programs speak: "es", "fil" (for "tl" too), or "" for English. English,
// "C" or "POSIX" before any spoken one means English; other languages are passed over.
std::string PickLanguage(const std::vector<std::string>& names);

// The user's languages as the environment names them, most wanted first: LANGUAGE's list, then
// the first set of LC_ALL, LC_MESSAGES and LANG. `variable` reads one variable ("" when unset).
std::vector<std::string> UserLanguages(const std::function<std::string(const char*)>& variable);

}  // namespace songloader
