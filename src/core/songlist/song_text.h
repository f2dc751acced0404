// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

#include "core/catalogue/row_element.h"

namespace songloader {

// The temporary song text: one TAB-separated, CR LF-terminated row per song,
// from which the device song list is built.
struct SongText {
    std::string bytes;
    std::size_t rowCount = 0;
    std::string codePage;  // of the device: texts are cut to their slots between its characters
};

inline constexpr std::size_t kSongTextReserve = 3145728;

// TAB, CR and LF separate fields and rows; a text carrying one (a list file may) would break its
// row, so it is written as a space. Whatever else stores the text (the database) stores it so too.
std::string RowSafe(const std::string& text);
bool NeedsRowSafe(const std::string& text);

// The texts of `song` as the list stores them: row-safe, each cut to its slot on a character
// boundary of `codePage` (CutToSlot). Whatever else keeps the song (the database, a record) keeps
// these texts, so that all agree.
ROWELEMENT StoredTexts(ROWELEMENT song, const std::string& codePage);
// True when StoredTexts would change a text of `song`.
bool NeedsStoredTexts(const ROWELEMENT& song);

// Appends one row: number, C:language, T:title, S:artist, W:composer, M:lyricist, N:word count.
void AppendSongTextRow(SongText& text, const ROWELEMENT& song);

SongText WriteSongText(const SongList& songs);

}  // namespace songloader
