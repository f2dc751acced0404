// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/catalogue/language_table.h"

#include <algorithm>
#include <cctype>

#include "core/common/translatable.h"

namespace songloader {

const std::array<const char*, kLanguageCount> LanguageTable = {
    "EG",    "CN",    "ES",    "FH",    "GN",    "IA",    "OPM",   "MA",    "HW",    "JP",
    "KR",    "VT",    "RU",    "AR",    "TH",    "Other", "Other", "Other", "Other", "Other",
    "Other", "Other", "Other", "Other", "Other", "Other", "Other", "Other"};

// The codes before the brackets are the player's and stay as they are in every language.
const std::vector<std::string> kEntryLanguageItems = {SL_TRANSLATE_NOOP("Core", "OPM[Tagalog]"),
                                                      SL_TRANSLATE_NOOP("Core", "EG[English]"),
                                                      SL_TRANSLATE_NOOP("Core", "ES[Spanish]")};
const std::vector<std::string> kSearchLanguageItems = {
    SL_TRANSLATE_NOOP("Core", "All Languages"), SL_TRANSLATE_NOOP("Core", "OPM[Tagalog]"),
    SL_TRANSLATE_NOOP("Core", "EG[English]"), SL_TRANSLATE_NOOP("Core", "ES[Spanish]"),
    SL_TRANSLATE_NOOP("Core", "Other ")};

const char* LanguageText(int code) {
    if (code < 0 || code >= kLanguageCount) code = kOtherLanguage;
    return LanguageTable[static_cast<std::size_t>(code)];
}

int LanguageFromText(std::string_view text) {
    if (text.empty()) return kOtherLanguage;
    auto upper = [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); };
    const char a = upper(text[0]);
    const char b = text.size() > 1 ? upper(text[1]) : '\0';
    struct Pair {
        char first, second;
        int code;
    };
    static constexpr Pair pairs[] = {{'E', 'G', 0},  {'C', 'N', 1},  {'S', 'N', 2},  {'E', 'S', 2},
                                     {'F', 'H', 3},  {'G', 'N', 4},  {'I', 'A', 5},  {'O', 'P', 6},
                                     {'M', 'A', 7},  {'H', 'W', 8},  {'J', 'P', 9},  {'K', 'R', 10},
                                     {'V', 'T', 11}, {'R', 'U', 12}, {'A', 'R', 13}, {'T', 'H', 14}};
    for (const Pair& p : pairs) {
        if (p.first == a && p.second == b) return p.code;
    }
    return kOtherLanguage;
}

int LanguageFromListByte(std::uint8_t value) { return value <= 14 ? value : kOtherLanguage; }

int FindLanguageEntry(const std::vector<std::string>& comboItems, std::string_view languageText) {
    auto equalNoCase = [](std::string_view x, std::string_view y) {
        return x.size() == y.size() && std::equal(x.begin(), x.end(), y.begin(), [](char c, char d) {
                   return std::tolower(static_cast<unsigned char>(c)) == std::tolower(static_cast<unsigned char>(d));
               });
    };
    for (std::size_t i = 0; i < comboItems.size(); ++i) {
        std::string_view item = comboItems[i];
        std::string_view prefix = item.substr(0, item.find('['));
        if (equalNoCase(prefix, languageText)) return static_cast<int>(i);
    }
    return static_cast<int>(comboItems.size()) - 1;
}

bool IsMvNumber(std::int32_t number) { return number >= 890000 && number < 900000; }

void SetLanguage(ROWELEMENT& record, int code) {
    if (code < 0 || code >= kLanguageCount) code = kOtherLanguage;
    record.language = code;
    record.languageText = LanguageText(code);
}

}  // namespace songloader
