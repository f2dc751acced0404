// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/media/song_names.h"

#include <cctype>

namespace songloader {

namespace {

constexpr std::string_view kSeparator = " - ";
// Longer digit runs are years or numbers in the name ("1999 - ..."), not track numbers.
constexpr std::size_t kLongestTrackNumber = 3;

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// The name after a leading track number, or the name itself when it has none (or is nothing else).
std::string_view WithoutTrackNumber(std::string_view name) {
    std::size_t digits = 0;
    while (digits < name.size() && std::isdigit(static_cast<unsigned char>(name[digits]))) ++digits;
    if (digits == 0 || digits > kLongestTrackNumber) return name;
    for (std::string_view after : {std::string_view{" - "}, std::string_view{". "}, std::string_view{" "}}) {
        if (name.substr(digits, after.size()) == after) {
            const std::string_view rest = name.substr(digits + after.size());
            return rest.empty() ? name : rest;
        }
    }
    return name;
}

}  // namespace

SongNames NamesFromFileName(std::string_view stem) {
    std::string spaced;
    for (char c : stem) {
        const char letter = c == '_' ? ' ' : c;
        if (letter == ' ' && (spaced.empty() || spaced.back() == ' ')) continue;
        spaced += letter;
    }
    const std::string name = Trimmed(WithoutTrackNumber(Trimmed(spaced)));
    SongNames names;
    const auto split = name.find(kSeparator);
    if (split == std::string::npos || split == 0 || split + kSeparator.size() >= name.size()) {
        names.title = name;
        return names;
    }
    names.artist = Trimmed(std::string_view(name).substr(0, split));
    names.title = Trimmed(std::string_view(name).substr(split + kSeparator.size()));
    return names;
}

SongNames FindSongNames(const MediaFacts& facts, const std::filesystem::path& file) {
    SongNames names = NamesFromFileName(file.stem().string());
    if (!facts.title.empty()) names.title = facts.title;
    if (!facts.artist.empty()) names.artist = facts.artist;
    if (!facts.composer.empty()) names.composer = facts.composer;
    if (!facts.lyricist.empty()) names.lyricist = facts.lyricist;
    return names;
}

}  // namespace songloader
