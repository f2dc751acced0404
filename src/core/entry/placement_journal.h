// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/row_element.h"
#include "core/common/device_folder.h"
#include "core/common/result.h"

namespace songloader {

// What a writing command is about to do to the media files of a device, written down before it
// does it, so that the next writing command can finish or undo what a killed one left:
//  - placing a song's file (add, fetch): the song and its target;
//  - moving a song's files to a new number (revise): every file's old and new place;
//  - removing a song (delete): an empty file whose name says which song, so that a full device
//    can still record it.
// The record goes once the catalogue names what was placed (or no longer names what was removed).
// Only the holder of the device write lock writes or reads it. This file holds the format: how a
// record is written, read and checked; placement_recovery.h finishes or undoes what it says.
//
// The device is not trusted: a record is read through the open song folder without following a
// link, and names only files the program itself writes (see the checks below). A record that does
// not read as one is renamed aside (<name>.bad, then .bad-2, ...) and writing goes on.

// The record file of placements and moves, in the song folder.
inline constexpr const char* kPlacementJournalName = "placements.sljournal";
// Delete records: delete-<number in hex>.sljournal in the song folder.
inline constexpr const char* kJournalSuffix = ".sljournal";
// What a record set aside is renamed to: its name and this, numbered from 2 when taken.
inline constexpr const char* kSetAsideSuffix = ".bad";

struct JournalPlacement {
    ROWELEMENT song;  // mediaPath: the target, as a path inside the song folder
};
struct JournalMove {
    std::string oldNumberText;
    std::string newNumberText;
    std::filesystem::path from;  // inside the song folder
    std::filesystem::path to;
};

struct PlacementJournal {
    std::vector<JournalPlacement> placements;
    std::vector<JournalMove> moves;
};

// The names a record may hold, the only ones the program writes:
// a song number: 1 to 10 decimal digits, a "-" before them allowed (user songs have six; the list
// of a device holds any 32-bit number);
bool IsRecordableNumber(std::string_view numberText);
// a placed song's file: NNN/NUMBER.ext, NNN the first three characters of NUMBER and .ext an
// extension of a file the player plays (any letter case);
bool IsPlacedSongFile(const std::filesystem::path& relative, std::string_view numberText);
// a moved song's file: NNN/NUMBER followed by nothing or by "." and what followed the number
// (its video, the lyrics beside it, a temporary a killed copy left).
bool IsMovedSongFile(const std::filesystem::path& relative, std::string_view numberText);

// The song folder as the records are read and written: the folder itself, never a link to one.
Result<DeviceFolder> OpenRecordFolder(const std::filesystem::path& songFolder);

// Writes the record (complete and flushed before it replaces an earlier one). A name the reader
// would not accept is refused before anything is written.
Result<> WritePlacementJournal(const std::filesystem::path& songFolder, const PlacementJournal& journal);
// Removes the record of placements and moves.
Result<> RemovePlacementJournal(const std::filesystem::path& songFolder);
// Records and forgets the delete of the song `numberText`.
Result<> RecordDelete(const std::filesystem::path& songFolder, const std::string& numberText);
Result<> ForgetDelete(const std::filesystem::path& songFolder, const std::string& numberText);

// True when a record of either kind stands in the song folder.
bool JournalLeftOver(const std::filesystem::path& songFolder);
// True for the name of a record file (not a media file, not a temporary).
bool IsJournalName(const std::string& fileName);
// True for the name of a record that was set aside.
bool IsSetAsideJournalName(const std::string& fileName);

// The records of a song folder by name, as listed (for verify): those a command will finish, and
// those set aside.
struct RecordNames {
    std::vector<std::string> pending;
    std::vector<std::string> setAside;
};
RecordNames ListRecords(const std::filesystem::path& songFolder);

// What the records of a song folder say.
struct RecordsRead {
    bool placementRecord = false;  // a record of placements and moves was read
    PlacementJournal journal;
    std::vector<std::string> deletes;   // numbers of songs whose delete was recorded, sorted
    std::vector<std::string> setAside;  // one message per record that could not be read
};
// Reads every record of the open song folder. A record that cannot be read as one (a link, a
// folder, a FIFO, larger than a record can be, a line the writer never writes, a name the program
// never writes, a delete record whose name says no song number) is renamed aside and named in
// `setAside`. Fails only when a record cannot be read for a reason of the device (an input error)
// or cannot be set aside: it stays for the next try.
Result<RecordsRead> ReadRecords(const DeviceFolder& songFolder);

}  // namespace songloader
