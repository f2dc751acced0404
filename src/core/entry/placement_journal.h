// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/catalogue/row_element.h"
#include "core/common/result.h"

namespace songloader {

// What a writing command is about to do to the media files of a device, written down before it
// does it, so that the next writing command can finish or undo what a killed one left:
//  - placing a song's file (add, fetch): the song and its target;
//  - moving a song's files to a new number (revise): every file's old and new place;
//  - removing a song (delete): an empty file whose name says which song, so that a full device
//    can still record it.
// The record goes once the catalogue names what was placed (or no longer names what was removed).
// Only the holder of the device write lock writes or reads it.

// The record file of placements and moves, in the song folder.
inline constexpr const char* kPlacementJournalName = "placements.sljournal";
// Delete records: delete-<number in hex>.sljournal in the song folder.
inline constexpr const char* kJournalSuffix = ".sljournal";

struct JournalPlacement {
    ROWELEMENT song;                // mediaPath: the target, as a path inside the song folder
};
struct JournalMove {
    std::string oldNumberText;
    std::string newNumberText;
    std::filesystem::path from;     // inside the song folder
    std::filesystem::path to;
};

struct PlacementJournal {
    std::vector<JournalPlacement> placements;
    std::vector<JournalMove> moves;
};

// Writes the record (complete and flushed before it replaces an earlier one).
Result<> WritePlacementJournal(const std::filesystem::path& songFolder, const PlacementJournal& journal);
// Removes the record of placements and moves.
Result<> RemovePlacementJournal(const std::filesystem::path& songFolder);
// Records and forgets the delete of the song `numberText`.
Result<> RecordDelete(const std::filesystem::path& songFolder, const std::string& numberText);
Result<> ForgetDelete(const std::filesystem::path& songFolder, const std::string& numberText);

// Tests: a function that runs before every file-system step of the device operations, so that a
// test can end the process there as a kill would. Not for production use.
void SetWriteStepHook(void (*hook)());
void WriteStep();

// True when a record of either kind stands in the song folder.
bool JournalLeftOver(const std::filesystem::path& songFolder);
// True for the name of a record file (not a media file, not a temporary).
bool IsJournalName(const std::string& fileName);

struct JournalRecovery {
    bool catalogueChanged = false;  // the catalogue was written anew
    SongList catalogued;            // placed songs the catalogue names now
    std::vector<std::string> removed;  // numbers of deleted songs whose delete was finished
};

// Holding the write lock, after the catalogue pair was finished: finishes or undoes what an
// interrupted add, fetch, revise or delete left. A placed file the catalogue does not name is
// catalogued; files of an interrupted move follow the catalogue (moved on when it names the new
// number, moved back otherwise); an interrupted delete is finished. `codePage` is the device's.
// A failure leaves the records for the next try.
Result<JournalRecovery> FinishInterruptedPlacements(const std::filesystem::path& songFolder,
                                                    const std::string& codePage);

}  // namespace songloader
