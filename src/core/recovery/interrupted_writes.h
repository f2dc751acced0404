// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/catalogue/row_element.h"
#include "core/common/result.h"
#include "core/entry/write_steps.h"

namespace songloader {

// What killed runs leave on a device, and how the next command deals with it. This sits above
// every subsystem that writes a device, so it knows all their records without any of them
// reaching up: the device catalogue pair and the placement record (entry), the cloud catalogue
// pair (cloud).

struct MendReport {
    bool catalogueChanged = false;  // the device catalogue was written to finish a change
    SongList catalogued;            // placed songs the catalogue names now
    SongList notAdded;              // placed songs the catalogue could not take: taken off again
    // Said once each: records set aside, songs not added and why, deletes left unfinished, what
    // could not be cleared away (temporaries).
    std::vector<std::string> problems;
};

// Holding the device write lock: finishes or discards an interrupted replacement of the device
// catalogue (SgList.dat + usbsong.db) and of the cloud catalogue (Msong.db + MgList.dat), finishes
// or undoes what an interrupted add, fetch, revise or delete recorded (see FinishInterruptedPlacements:
// what the catalogue cannot take is taken off again, an unreadable record is set aside), then
// removes every stale temporary of the song folder, its sub-folders and midi/. A failure means the
// device failed while a record was finished: nothing else should be written before it is.
// `codePage` is the device's; `step` runs before every file-system step (tests).
Result<MendReport> MendInterruptedWrites(const std::filesystem::path& deviceRoot, const std::string& codePage,
                                         const WriteStepHook& step = {});

// The same for a device being chosen: takes the write lock for the moment it needs (waiting
// for another writer).
Result<MendReport> MendChosenDevice(const std::filesystem::path& deviceRoot, const std::string& codePage);

// For a command that only reads a device: when a pair replacement was interrupted there, takes the
// write lock for the moment it needs and finishes or discards it (nothing else is touched).
Result<> FinishInterruptedReplacements(const std::filesystem::path& deviceRoot);

// The temporaries on the device that no run is using any more (shown by verify).
std::vector<std::filesystem::path> DeviceTemporaries(const std::filesystem::path& deviceRoot);

}  // namespace songloader
