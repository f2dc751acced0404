// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/entry/add_queue.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/catalogue/language_table.h"
#include "core/media/media_probe.h"
#include "core/songlist/song_text.h"
#include "core/songlist/song_text_parser.h"

namespace songloader {

namespace {

Failure ErrorNotice(const std::string& text) { return Fail(text, kCaptionErrorUpper, NoticeIcon::Exclamation); }
Failure NoteNotice(const char* text) { return Fail(text, kCaptionNote, NoticeIcon::None); }

bool Exists(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::exists(path, error);
}

bool IsSixDigits(const std::string& text) {
    if (text.size() != 6) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

bool UsedElsewhere(const SongList& songs, std::int32_t number, int ownRow) {
    for (std::size_t i = 0; i < songs.size(); ++i) {
        if (static_cast<int>(i) != ownRow && songs[i].number == number) return true;
    }
    return false;
}

}  // namespace

ROWELEMENT SongFromForm(const EntryForm& form) {
    ROWELEMENT song;
    song.number = std::atoi(form.numberText.c_str());
    song.numberText = form.numberText;
    SetLanguage(song, LanguageFromText(form.languageText));
    song.title = form.title;
    song.artist = form.artist;
    song.composer = form.composer;
    song.lyricist = form.lyricist;
    song.mediaPath = form.mediaPath;
    return song;
}

Result<ROWELEMENT> CheckQueueToAdd(const EntryForm& form, bool deviceChosen, const SongList& workSongs,
                                   const SongList& deviceSongs, bool probeMedia) {
    if (!deviceChosen) return ErrorNotice(kNeedDeviceMessage);
    // A file the caller probed was there: asked again, it costs a path walk per file of an import.
    if (probeMedia && !Exists(form.mediaPath)) return ErrorNotice(kInvalidPathMessage);
    if (!IsSixDigits(form.numberText)) return NoteNotice(kNumberLengthMessage);
    ROWELEMENT song = SongFromForm(form);
    if (song.title.empty()) return ErrorNotice(kNeedTitleMessage);
    if (song.mediaPath.empty()) return ErrorNotice(kInvalidPathMessage);
    if (Result<> free = CheckDuplicateNumber(song.number, workSongs, deviceSongs); !free) return free.failure();
    if (probeMedia) {
        const auto media = ProbeMedia(form.mediaPath, form.mediaPath);
        if (!media) return ErrorNotice(media.message());
    }
    return song;
}

Result<> CheckSongNumber(const std::string& numberText, const SongList& workSongs, const SongList& deviceSongs,
                         int ownWorkRow, int ownDeviceRow) {
    if (!IsSixDigits(numberText)) return NoteNotice(kNumberLengthMessage);
    return CheckDuplicateNumber(std::atoi(numberText.c_str()), workSongs, deviceSongs, ownWorkRow, ownDeviceRow);
}

Result<> CheckDuplicateNumber(std::int32_t number, const SongList& workSongs, const SongList& deviceSongs,
                              int ownWorkRow, int ownDeviceRow) {
    if (UsedElsewhere(workSongs, number, ownWorkRow)) return ErrorNotice(kDuplicateInWorkMessage);
    if (UsedElsewhere(deviceSongs, number, ownDeviceRow)) return ErrorNotice(kDuplicateOnDeviceMessage);
    return {};
}

Result<> CheckSongRow(const ROWELEMENT& song, std::size_t rowNumber, const std::string& codePage) {
    SongText text;
    text.codePage = codePage;
    AppendSongTextRow(text, song);
    const Result<ParsedSongText> parse = ParseSongText(text.bytes, text.rowCount, codePage);
    if (parse) return {};
    // The parser numbered the song's row 1; the builder names it by its place in the whole list.
    return Fail(std::to_string(rowNumber) + parse.message().substr(1), kApplicationName, NoticeIcon::None);
}

}  // namespace songloader
