// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/songlist/song_text.h"

#include "core/songlist/song_text_parser.h"
#include "core/songlist/word_count.h"

namespace songloader {

std::string RowSafe(const std::string& text) {
    std::string safe = text;
    for (char& c : safe) {
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    }
    return safe;
}

bool NeedsRowSafe(const std::string& text) { return text.find_first_of("\t\r\n") != std::string::npos; }

namespace {

bool StoredAsIs(const std::string& text) { return text.size() <= kSongTextSlot && !NeedsRowSafe(text); }

}  // namespace

ROWELEMENT StoredTexts(ROWELEMENT song, const std::string& codePage) {
    for (std::string* text : {&song.title, &song.artist, &song.composer, &song.lyricist}) {
        if (!StoredAsIs(*text)) *text = CutToSlot(RowSafe(*text), song.language, codePage);
    }
    return song;
}

bool NeedsStoredTexts(const ROWELEMENT& song) {
    return !StoredAsIs(song.title) || !StoredAsIs(song.artist) || !StoredAsIs(song.composer) ||
           !StoredAsIs(song.lyricist);
}

void AppendSongTextRow(SongText& text, const ROWELEMENT& song) {
    const std::string title = RowSafe(song.title);
    std::string& out = text.bytes;
    out += std::to_string(song.number);
    out += "\tC:";
    out += std::to_string(song.language);
    out += "\tT:";
    out += title;
    out += "\tS:";
    out += RowSafe(song.artist);
    out += "\tW:";
    out += RowSafe(song.composer);
    out += "\tM:";
    out += RowSafe(song.lyricist);
    out += "\tN:";
    out += std::to_string(WordCount(title, song.language));
    out += "\r\n";
    ++text.rowCount;
}

SongText WriteSongText(const SongList& songs) {
    SongText text;
    text.bytes.reserve(kSongTextReserve);
    for (const ROWELEMENT& song : songs) AppendSongTextRow(text, song);
    return text;
}

}  // namespace songloader
