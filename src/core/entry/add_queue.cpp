#include "core/entry/add_queue.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/catalogue/language_table.h"

namespace songloader {

namespace {

Notice ErrorNotice(const char* text) { return {text, kCaptionErrorUpper, NoticeIcon::Exclamation}; }
Notice NoteNotice(const char* text) { return {text, kCaptionNote, NoticeIcon::None}; }

bool Exists(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::exists(path, error);
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

QueueCheck CheckQueueToAdd(const EntryForm& form, bool deviceChosen, const SongList& workSongs,
                           const SongList& deviceSongs) {
    QueueCheck check;
    auto fail = [&check](Notice notice) {
        check.failure = std::move(notice);
        return check;
    };
    if (!deviceChosen) return fail(ErrorNotice(kNeedDeviceMessage));
    if (!Exists(form.mediaPath)) return fail(ErrorNotice(kInvalidPathMessage));
    if (form.numberText.size() < 6) return fail(NoteNotice(kNumberLengthMessage));
    check.song = SongFromForm(form);
    if (check.song.title.empty()) return fail(ErrorNotice(kNeedTitleMessage));
    if (check.song.mediaPath.empty()) return fail(ErrorNotice(kInvalidPathMessage));
    if (IsOnDevice(workSongs, check.song.number)) return fail(ErrorNotice(kDuplicateInWorkMessage));
    if (IsOnDevice(deviceSongs, check.song.number)) return fail(ErrorNotice(kDuplicateOnDeviceMessage));
    return check;
}

}  // namespace songloader
