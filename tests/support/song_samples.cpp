// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/song_samples.h"

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/catalogue/language_table.h"
#include "core/catalogue/list_file_reader.h"
#include "core/device/device_layout.h"
#include "core/songlist/word_count.h"

namespace songloader {

namespace {

const std::vector<std::string> kWords = {"love", "Let",  "it",  "be", "a",     "I", "you",    "lover",  "sun",
                                         "Sky",  "1999", "one", "2",  "night", "&", "(live)", "b-side", "Be"};

// GB2312 level-1 characters (their initials are fixed by pinyin order) and a level-2 one.
const std::vector<std::string> kChinese = {"\xB0\xA1", "\xB0\xC5", "\xB2\xC1", "\xD4\xD1",
                                           "\xC0\xAC", "\xB0\xA2", "\xF7\xFE"};
// Vietnamese: tone pairs, a pair whose code is replaced again, single letters.
const std::vector<std::string> kVietnamese = {"a\xFA", "A\xC0", "\xD4\xCF", "\xF3", "\xEE", "o\xE2", "\xC6"};
// Latin-9 accented letters.
const std::vector<std::string> kLatin = {"\xC9l", "\xF1o", "\xE0", "\xDF", "\xBE"};

const std::vector<std::string> kArtists = {"Ann", "ann", "ABBA", "", "Bob", "B. B.", "\xB0\xA1\xD4\xD1"};
const std::vector<std::string> kCredits = {"", "", "Lee", "x"};
const std::vector<int> kLanguages = {0, 0, 0, 1, 1, 2, 3, 6, 9, 10, 11, 11, 14, 27};

std::string WithRandomCase(std::string text, std::mt19937& rng) {
    for (char& c : text) {
        if (rng() % 3 == 0) {
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
            else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        }
    }
    return text;
}

std::string Pick(const std::vector<std::string>& pool, std::mt19937& rng) { return pool[rng() % pool.size()]; }

std::string MakeTitle(int language, std::mt19937& rng) {
    const std::size_t words = rng() % 8 == 0 ? 9 + rng() % 10 : 1 + rng() % 4;
    std::string title;
    for (std::size_t w = 0; w < words; ++w) {
        if (w > 0) title += rng() % 6 == 0 ? "/" : " ";
        const unsigned kind = rng() % 3;
        if (language == 1 && kind == 0) title += Pick(kChinese, rng) + Pick(kChinese, rng);
        else if (language == 11 && kind == 0) title += Pick(kVietnamese, rng);
        else if (language >= 2 && language <= 4 && kind == 0) title += Pick(kLatin, rng);
        else title += Pick(kWords, rng);
    }
    return title;
}

}  // namespace

SongList TieHeavySongs(std::uint32_t seed, std::size_t count) {
    std::mt19937 rng(seed);
    std::vector<std::int32_t> numbers;
    for (std::size_t i = 0; i < count / 3 + 2; ++i) {
        numbers.push_back(rng() % 4 == 0 ? static_cast<std::int32_t>(rng() % 1000)
                                         : kFirstUserNumber + static_cast<std::int32_t>(rng() % 100000));
    }
    std::vector<std::pair<int, std::string>> titles;
    for (std::size_t i = 0; i < count / 4 + 2; ++i) {
        const int language = kLanguages[rng() % kLanguages.size()];
        titles.emplace_back(language, MakeTitle(language, rng));
    }

    SongList songs;
    songs.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        ROWELEMENT song;
        song.number = numbers[rng() % numbers.size()];
        song.numberText = std::to_string(song.number);
        const auto& [language, title] = titles[rng() % titles.size()];
        SetLanguage(song, language);
        song.title = WithRandomCase(title, rng);
        while (WordCount(song.title, language) > 52) song.title.pop_back();
        song.artist = WithRandomCase(Pick(kArtists, rng), rng);
        song.composer = Pick(kCredits, rng);
        song.lyricist = Pick(kCredits, rng);
        songs.push_back(std::move(song));
    }
    return songs;
}

ROWELEMENT ArtistSong(int number, std::string title, std::string media) {
    ROWELEMENT song;
    song.number = number;
    song.numberText = std::to_string(number);
    song.title = std::move(title);
    song.artist = "Artist";
    song.mediaPath = std::move(media);
    return song;
}

ROWELEMENT CloudSong(std::int32_t number, std::string title) {
    ROWELEMENT song;
    song.number = number;
    song.numberText = std::to_string(number);
    song.title = std::move(title);
    return song;
}

SongList DeviceListSongs(const std::filesystem::path& songFolder) {
    const auto file = FindListFile(songFolder, kDeviceListName);
    if (!file) return {};
    Result<SongList> read = ReadListFile(*file, ListKind::Device);
    if (!read) {
        ADD_FAILURE() << read.message();
        return {};
    }
    return std::move(read).value();
}

}  // namespace songloader
