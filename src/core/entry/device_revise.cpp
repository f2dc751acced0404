// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/entry/device_revise.h"

#include <system_error>

#include "core/entry/add_queue.h"
#include "core/entry/placement_journal.h"
#include "core/entry/placement_recovery.h"

namespace songloader {

namespace {

std::string WithArgument(const char* pattern, const std::string& argument) {
    std::string text = pattern;
    const auto at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, argument);
    return text;
}

Failure Refused(const Notice& notice) { return Fail(notice.text, notice.caption, notice.icon); }

Notice Exclaimed(std::string text) { return {std::move(text), kApplicationName, NoticeIcon::Exclamation}; }

}  // namespace

Result<CatalogueWritten> ReviseDeviceSong(const SongList& songs, std::size_t row, ROWELEMENT revised,
                                          const StoreRow& storeRow, const std::filesystem::path& songFolder,
                                          const std::string& codePage, const ReviseHooks& hooks,
                                          const SongList& queuedSongs) {
    if (row >= songs.size()) return FailQuietly();
    const ROWELEMENT old = songs[row];
    if (revised.title.empty()) return Fail(kNeedTitleMessage, kCaptionErrorUpper, NoticeIcon::Exclamation);
    const bool numberChanged = revised.numberText != old.numberText;
    // A number that stays was checked when it came; device songs may carry numbers of any form.
    if (numberChanged) {
        if (Result<> free = CheckSongNumber(revised.numberText, queuedSongs, songs, -1, static_cast<int>(row)); !free) {
            return free.failure();
        }
    }
    if (Result<> fits = CheckSongRow(revised, row + 1); !fits) return fits.failure();
    // The path box is disabled while a device song is edited: its file stays where it is.
    revised.mediaPath = old.mediaPath;
    if (hooks.beginWrite && !hooks.beginWrite()) return FailQuietly();
    const auto deviceStillThere = [&] { return !hooks.deviceStillThere || hooks.deviceStillThere(); };

    if (numberChanged) {
        const auto media = FindDeviceSongMedia(songFolder, old.numberText);
        if (!media) {
            const std::string number = hooks.messageText ? hooks.messageText(old.numberText) : old.numberText;
            return Refused(Exclaimed(WithArgument(kMediaMissingMessage, number)));
        }
        std::error_code error;
        const std::uint64_t bytes = std::filesystem::file_size(*media, error);
        if (hooks.onMoveStart) hooks.onMoveStart(bytes);
        const Result<std::filesystem::path> moved =
            MoveDeviceSongMedia(songFolder, old.numberText, revised.numberText, hooks.writeStep);
        if (hooks.onMoveEnd) hooks.onMoveEnd();
        if (!moved) {
            if (!deviceStillThere()) return FailQuietly();
            return Refused(Exclaimed(WithArgument(kMoveFailedMessage, moved.message())));
        }
        // A rename is done at once: the progress goes to its end.
        if (hooks.onChunk) hooks.onChunk(MebibytesRoundedUp(bytes));
        if (!old.mediaPath.empty()) revised.mediaPath = moved->string();
    }

    storeRow(revised);
    const RebuildHooks rebuildHooks = StepsBetweenRenames(hooks.rebuildHooks, hooks.writeStep);
    StepTaken(hooks.writeStep);
    Result<CatalogueWritten> rebuilt =
        hooks.rebuild ? hooks.rebuild()
                      : RebuildDeviceCatalogue(songs, songFolder, RebuildMode::Revise, rebuildHooks, codePage);
    if (rebuilt) {
        // The catalogue names the new number: the record of the move is done with.
        StepTaken(hooks.writeStep);
        if (numberChanged) (void)RemovePlacementJournal(songFolder);
        return rebuilt;
    }
    // A lost device took its list with it: nothing to put back (its record mends it when it returns).
    if (!deviceStillThere()) return FailQuietly();
    // The catalogue still lists the old song: its files go back as the next command would put them.
    if (numberChanged) (void)FinishInterruptedPlacements(songFolder, codePage, hooks.writeStep);
    storeRow(old);
    return rebuilt;
}

}  // namespace songloader
