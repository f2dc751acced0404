// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/result.h"

namespace songloader {

// Which code page device texts use on this system, chosen from the locale (the player reads its
// texts in the single code page of the language it is sold for), plus the two language flags the
// UI needs.
struct TextSettings {
    std::string codePage = "CP1252";
    bool traditionalChinese = false;
    bool thai = false;
};

// From a locale name such as "zh_TW.UTF-8" or "th_TH".
TextSettings TextSettingsForLocale(std::string_view locale);
// The code pages the locale table above chooses from: the only ones a device's texts may use.
const std::vector<std::string>& LocaleCodePages();
// The name as LocaleCodePages() spells it ("cp936" -> "CP936"); nullopt for any other encoding.
std::optional<std::string> LocaleCodePage(std::string_view name);
// True when `b` starts a two-byte character of a double-byte code page (CP932, CP936, CP949,
// CP950); always false for the single-byte ones.
bool IsLeadByte(unsigned char b, std::string_view codePage);

// From LC_ALL, LC_CTYPE or LANG, the first one set.
TextSettings TextSettingsFromEnvironment();

// Converts between two iconv encodings; fails when the text cannot be converted exactly.
Result<std::string> ConvertText(std::string_view text, const std::string& from, const std::string& to);

// Device bytes -> UTF-8 for showing; bytes the code page does not define become U+FFFD.
std::string DeviceToUtf8(std::string_view bytes, const std::string& codePage);
// UTF-8 typed by the user -> device bytes; fails when a character has no place in the code page.
Result<std::string> Utf8ToDevice(std::string_view text, const std::string& codePage);

// True when iconv knows the encoding.
bool IsKnownEncoding(const std::string& name);

}  // namespace songloader
