// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/code_page.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace songloader {

namespace {

// An iconv converter for one direction, opened once per thread and kept for the thread's life:
// opening one costs far more than converting a song's texts. Each Run starts from the initial
// shift state, so a conversion that failed half-way leaves nothing behind for the next text.
class Converter {
public:
    Converter(const std::string& from, const std::string& to) : cd_(iconv_open(to.c_str(), from.c_str())) {
        if (!ok()) return;
        // Most song texts are plain ASCII: where the conversion gives every ASCII byte back as
        // itself (and keeps no state), such a text needs no conversion at all.
        asciiSame_ = true;
        for (int byte = 0; byte < 0x80 && asciiSame_; ++byte) {
            const char one = static_cast<char>(byte);
            const auto converted = Run(std::string_view(&one, 1), false);
            asciiSame_ = converted && converted->size() == 1 && (*converted)[0] == one;
        }
    }
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    // Every ASCII text converts to itself.
    bool asciiSame() const { return asciiSame_; }

    // Converts all of `text`; on an invalid sequence calls onInvalid(out) and skips one byte when
    // `skipInvalid`, else fails.
    std::optional<std::string> Run(std::string_view text, bool skipInvalid) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        // Kept from run to run: one allocation per converter instead of one per text.
        std::vector<char>& buffer = buffer_;
        if (buffer.size() < 4 * text.size() + 16) buffer.resize(4 * text.size() + 16);
        char* in = const_cast<char*>(text.data());
        std::size_t inLeft = text.size();
        while (true) {
            char* outPtr = buffer.data();
            std::size_t outLeft = buffer.size();
            // Once the input is used up, a stateful conversion (CP1258 holds back a letter that
            // a combining mark might follow) still has to give out what it holds.
            const bool flushing = inLeft == 0;
            std::size_t rc = flushing ? iconv(cd_, nullptr, nullptr, &outPtr, &outLeft)
                                      : iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer.data(), outPtr);
            if (rc != static_cast<std::size_t>(-1)) {
                if (flushing) break;
                continue;
            }
            if (errno == E2BIG) continue;
            if (!skipInvalid || flushing) return skipInvalid ? std::optional(out) : std::nullopt;
            // EILSEQ or EINVAL (a truncated sequence at the end): give out what the conversion
            // holds, show the byte as U+FFFD and go on.
            outPtr = buffer.data();
            outLeft = buffer.size();
            iconv(cd_, nullptr, nullptr, &outPtr, &outLeft);
            out.append(buffer.data(), outPtr);
            out += "\xEF\xBF\xBD";
            ++in;
            --inLeft;
        }
        return out;
    }

private:
    iconv_t cd_;
    bool asciiSame_ = false;
    std::vector<char> buffer_;
};

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// This thread's converter from `from` to `to`; one that failed to open is kept too, so an
// unknown name is not looked up again.
Converter& CachedConverter(const std::string& from, const std::string& to) {
    thread_local std::map<std::pair<std::string, std::string>, std::unique_ptr<Converter>> converters;
    // A list converts tens of thousands of texts the same way in a row.
    thread_local std::pair<std::string, std::string> lastNames;
    thread_local Converter* last = nullptr;
    if (last && lastNames.first == from && lastNames.second == to) return *last;
    std::unique_ptr<Converter>& slot = converters[{from, to}];
    if (!slot) slot = std::make_unique<Converter>(from, to);
    lastNames = {from, to};
    last = slot.get();
    return *slot;
}

}  // namespace

TextSettings TextSettingsForLocale(std::string_view locale) {
    TextSettings s;
    // "zh_TW.UTF-8@euro" -> language "zh", territory "TW"
    std::string_view name = locale.substr(0, locale.find_first_of(".@"));
    std::string_view language = name.substr(0, name.find('_'));
    std::string_view territory = name.find('_') == std::string_view::npos ? "" : name.substr(name.find('_') + 1);
    if (language == "zh") {
        bool traditional = territory == "TW" || territory == "HK" || territory == "MO";
        s.codePage = traditional ? "CP950" : "CP936";
        s.traditionalChinese = traditional || territory == "SG";
    } else if (language == "th") {
        s.codePage = "CP874";
        s.thai = true;
    } else if (language == "ja") {
        s.codePage = "CP932";
    } else if (language == "ko") {
        s.codePage = "CP949";
    } else if (language == "vi") {
        s.codePage = "CP1258";
    } else if (language == "ru" || language == "uk" || language == "bg") {
        s.codePage = "CP1251";
    } else if (language == "ar") {
        s.codePage = "CP1256";
    } else if (language == "el") {
        s.codePage = "CP1253";
    } else if (language == "tr") {
        s.codePage = "CP1254";
    } else if (language == "he") {
        s.codePage = "CP1255";
    }
    return s;
}

const std::vector<std::string>& LocaleCodePages() {
    static const std::vector<std::string> pages = {"CP1252", "CP936",  "CP950",  "CP874",  "CP932",  "CP949",
                                                   "CP1258", "CP1251", "CP1256", "CP1253", "CP1254", "CP1255"};
    return pages;
}

std::optional<std::string> LocaleCodePage(std::string_view name) {
    std::string upper(name);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const auto& pages = LocaleCodePages();
    if (std::find(pages.begin(), pages.end(), upper) == pages.end()) return std::nullopt;
    return upper;
}

bool IsLeadByte(unsigned char b, std::string_view codePage) {
    if (codePage == "CP932") return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    if (codePage == "CP936" || codePage == "CP949" || codePage == "CP950") return b >= 0x81 && b <= 0xFE;
    return false;
}

TextSettings TextSettingsFromEnvironment() {
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return TextSettingsForLocale(value);
    }
    return TextSettingsForLocale("C");
}

Result<std::string> ConvertText(std::string_view text, const std::string& from, const std::string& to) {
    Converter& converter = CachedConverter(from, to);
    if (!converter.ok()) return Fail("no conversion from " + from + " to " + to);
    std::optional<std::string> converted = converter.Run(text, false);
    if (!converted) return Fail("the text cannot be written exactly in " + to);
    return std::move(*converted);
}

std::string DeviceToUtf8(std::string_view bytes, const std::string& codePage) {
    Converter& converter = CachedConverter(codePage, "UTF-8");
    if (!converter.ok() || (converter.asciiSame() && IsAscii(bytes))) return std::string(bytes);
    return *converter.Run(bytes, true);
}

Result<std::string> Utf8ToDevice(std::string_view text, const std::string& codePage) {
    return ConvertText(text, "UTF-8", codePage);
}

bool IsKnownEncoding(const std::string& name) { return CachedConverter(name, "UTF-8").ok(); }

}  // namespace songloader
