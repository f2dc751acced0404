// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/catalogue/row_element.h"
#include "core/common/result.h"
#include "core/entry/write_steps.h"

namespace songloader {

// Finishing or undoing what the records of placement_journal.h say. Every file is reached through
// the song folder opened without following a link, one folder at a time, and only by the names a
// record may hold.

// Takes placed songs off the device again: removes the files `targets` (inside the song folder,
// as recorded), then the record. A file that cannot be removed keeps the record, for the next
// writing command to try again.
Result<> RollBackPlacements(const std::filesystem::path& songFolder, const std::vector<std::filesystem::path>& targets,
                            const WriteStepHook& step = {});

// "Song N (its file) was not added: the catalogue could not be written with it (WHY); its file was
// taken off the device again."
std::string RolledBackMessage(const std::string& numberText, const std::filesystem::path& file, const std::string& why);

struct JournalRecovery {
    bool catalogueChanged = false;      // the catalogue was written anew
    SongList catalogued;                // placed songs the catalogue names now
    std::vector<std::string> removed;   // numbers of deleted songs whose delete was finished
    SongList rolledBack;                // placed songs the catalogue could not take: their files are gone
    std::vector<std::string> problems;  // records set aside, songs rolled back, deletes left unfinished
};

// Holding the write lock, after the catalogue pair was finished: finishes or undoes what an
// interrupted add, fetch, revise or delete left. A placed file the catalogue does not name is
// catalogued; files of an interrupted move follow the catalogue (moved on when it names the new
// number, moved back otherwise); an interrupted delete is finished. When the catalogue cannot be
// written with the placed songs they are rolled back (RollBackPlacements) and the catalogue is
// written without them; when it cannot be written at all, a recorded delete is left as it is (its
// files are gone, the catalogue still lists the song) and said in `problems`. Records that cannot
// be read are set aside. A failure (the device failed: a record could not be read, a file could not
// be moved or removed) leaves the records for the next try. `codePage` is the device's.
Result<JournalRecovery> FinishInterruptedPlacements(const std::filesystem::path& songFolder,
                                                    const std::string& codePage, const WriteStepHook& step = {});

}  // namespace songloader
