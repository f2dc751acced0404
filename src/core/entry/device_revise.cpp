#include "core/entry/device_revise.h"

#include <system_error>

#include "core/entry/add_queue.h"

namespace songloader {

namespace {

std::string WithArgument(const char* pattern, const std::string& argument) {
    std::string text = pattern;
    const auto at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, argument);
    return text;
}

ReviseResult Refused(Notice notice) {
    ReviseResult result;
    result.notices.push_back(std::move(notice));
    return result;
}

Notice Exclaimed(std::string text) { return {std::move(text), kApplicationName, NoticeIcon::Exclamation}; }

}  // namespace

ReviseResult ReviseDeviceSong(SongList& songs, std::size_t row, ROWELEMENT revised,
                              const std::filesystem::path& songFolder, const std::string& codePage,
                              const ReviseHooks& hooks) {
    if (row >= songs.size()) return {};
    const ROWELEMENT old = songs[row];
    if (revised.title.empty()) return Refused({kNeedTitleMessage, kCaptionErrorUpper, NoticeIcon::Exclamation});
    const bool numberChanged = revised.numberText != old.numberText;
    // A number that stays was checked when it came; device songs may carry numbers of any form.
    if (numberChanged) {
        if (auto refused = CheckSongNumber(revised.numberText, {}, songs, -1, static_cast<int>(row))) {
            return Refused(*refused);
        }
    }
    if (auto refused = CheckSongRow(revised, row + 1)) return Refused(*refused);
    // The path box is disabled while a device song is edited: its file stays where it is.
    revised.mediaPath = old.mediaPath;

    if (numberChanged) {
        const auto media = FindDeviceSongMedia(songFolder, old.numberText);
        if (!media) return Refused(Exclaimed(WithArgument(kMediaMissingMessage, old.numberText)));
        std::error_code error;
        if (hooks.onMoveStart) hooks.onMoveStart(std::filesystem::file_size(*media, error));
        const MediaResult moved = MoveDeviceSongMedia(songFolder, old.numberText, revised.numberText, hooks.onChunk);
        if (!moved.ok) return Refused(Exclaimed(WithArgument(kMoveFailedMessage, moved.error)));
        if (!old.mediaPath.empty()) revised.mediaPath = moved.path.string();
    }

    songs[row] = revised;
    const RebuildResult rebuilt = RebuildDeviceCatalogue(songs, songFolder, RebuildMode::Revise, hooks.rebuild, codePage);
    ReviseResult result{rebuilt.ok, rebuilt.notices, rebuilt.diagnostics};
    if (!rebuilt.ok) {
        // The catalogue still lists the old song: put its files and its record back.
        if (numberChanged) MoveDeviceSongMedia(songFolder, revised.numberText, old.numberText);
        songs[row] = old;
    }
    return result;
}

}  // namespace songloader
