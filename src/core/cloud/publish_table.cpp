// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/publish_table.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <system_error>

#include "core/catalogue/language_table.h"
#include "core/text/code_page.h"

namespace songloader {

namespace {

constexpr std::size_t kFieldCount = 7;
constexpr std::size_t kMaxFieldBytes = 255;  // what a list file entry can hold

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

bool IsBlank(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](unsigned char c) { return std::isspace(c); });
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::optional<int> LanguageCodeOf(std::string_view text) {
    for (int code = 0; code <= kOtherLanguage; ++code) {
        if (EqualsIgnoringCase(text, LanguageText(code))) return code < 15 ? code : kOtherLanguage;
    }
    return std::nullopt;
}

std::optional<std::int32_t> SongNumberOf(std::string_view text) {
    if (text.empty() || text.size() > 6 ||
        !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); })) {
        return std::nullopt;
    }
    const std::int32_t number = std::stoi(std::string(text));
    if (number < 1) return std::nullopt;
    return number;
}

// Parses one line into `song`; returns the reason when it cannot.
std::optional<std::string> ParseLine(std::string_view line, const std::filesystem::path& tableFolder,
                                     const std::string& codePage, PublishSong& parsed) {
    const std::vector<std::string_view> fields = Split(line, '\t');
    if (fields.size() != kFieldCount) {
        return "expected 7 TAB-separated fields (number, language, title, artist, composer, lyricist, media), "
               "found " +
               std::to_string(fields.size());
    }
    const auto number = SongNumberOf(fields[0]);
    if (!number) return "the song number must be 1 to 999999, not \"" + std::string(fields[0]) + "\"";
    const auto language = LanguageCodeOf(fields[1]);
    if (!language) {
        return "unknown language \"" + std::string(fields[1]) +
               "\" (use EG, CN, ES, FH, GN, IA, OPM, MA, HW, JP, KR, VT, RU, AR, TH or Other)";
    }
    ROWELEMENT& song = parsed.song;
    song.number = *number;
    song.numberText = std::to_string(*number);
    SetLanguage(song, *language);
    struct Text {
        const char* name;
        std::string_view utf8;
        std::string* target;
    };
    for (const Text& text :
         {Text{"title", fields[2], &song.title}, Text{"artist", fields[3], &song.artist},
          Text{"composer", fields[4], &song.composer}, Text{"lyricist", fields[5], &song.lyricist}}) {
        auto bytes = Utf8ToDevice(text.utf8, codePage);
        if (!bytes) return std::string("the ") + text.name + " cannot be written in " + codePage;
        if (bytes->size() > kMaxFieldBytes) {
            return std::string("the ") + text.name + " is longer than 255 bytes in " + codePage;
        }
        *text.target = std::move(*bytes);
    }
    if (song.title.empty()) return "the title is empty";
    if (fields[6].empty()) return "the media path is empty";
    std::filesystem::path media(fields[6]);
    if (media.is_relative()) media = tableFolder / media;
    std::error_code error;
    if (!std::filesystem::is_regular_file(media, error)) return "no media file at " + media.string();
    parsed.media = media;
    return std::nullopt;
}

}  // namespace

Result<std::vector<PublishSong>> ParsePublishTable(std::string_view utf8, const std::filesystem::path& tableFolder,
                                                   const std::string& codePage) {
    std::vector<PublishSong> songs;
    std::string errors;
    std::map<std::int32_t, std::size_t> lineOfNumber;
    const std::vector<std::string_view> lines = Split(utf8, '\n');
    bool first = true;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (IsBlank(line)) continue;
        const std::size_t lineNumber = i + 1;
        if (first && EqualsIgnoringCase(Split(line, '\t')[0], "number")) {
            first = false;
            continue;
        }
        first = false;
        PublishSong parsed;
        parsed.line = lineNumber;
        std::optional<std::string> failure = ParseLine(line, tableFolder, codePage, parsed);
        if (!failure) {
            auto [it, added] = lineOfNumber.emplace(parsed.song.number, lineNumber);
            if (!added)
                failure = "number " + parsed.song.numberText + " is already on line " + std::to_string(it->second);
        }
        if (failure) {
            if (!errors.empty()) errors += '\n';
            errors += "line " + std::to_string(lineNumber) + ": " + *failure;
        } else {
            songs.push_back(std::move(parsed));
        }
    }
    if (!errors.empty()) return Fail(errors);
    if (songs.empty()) return Fail("the table holds no songs");
    return songs;
}

}  // namespace songloader
