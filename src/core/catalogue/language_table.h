// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/row_element.h"

namespace songloader {

inline constexpr int kLanguageCount = 28;
inline constexpr int kOtherLanguage = 27;

extern const std::array<const char*, kLanguageCount> LanguageTable;

// Row text of a code; codes outside 0..27 read as "Other".
const char* LanguageText(int code);

// Code of a language text such as "OPM[Tagalog]" (first two letters, any case).
int LanguageFromText(std::string_view text);

// Code of a list-file language byte: 0..14 select their row, anything else is 27.
int LanguageFromListByte(std::uint8_t value);

// Index of the entry-language combo item standing for `languageText`; the last item when none.
int FindLanguageEntry(const std::vector<std::string>& comboItems, std::string_view languageText);

// The entry-language combo items and the search-language combo items, in their order.
extern const std::vector<std::string> kEntryLanguageItems;
extern const std::vector<std::string> kSearchLanguageItems;

// Cloud songs 890000..899999 are music videos and carry "(MV)" after their title.
inline constexpr const char* kMvSuffix = "(MV)";
bool IsMvNumber(std::int32_t number);

// A record's language code and text set together.
void SetLanguage(ROWELEMENT& record, int code);

}  // namespace songloader
