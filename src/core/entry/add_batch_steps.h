// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The steps of an add batch once its songs are admitted (device_songs.cpp): the record, the copy
// loop and the files put in place, the catalogue (with the roll-back of what it cannot take) and the report.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/catalogue/row_element.h"
#include "core/common/result.h"
#include "core/entry/device_songs.h"
#include "core/entry/staged_files.h"

namespace songloader {

// The admitted songs of a batch: indexes into its songs, with their known sizes (0: not known).
struct AdmittedSongs {
    std::vector<std::size_t> indexes;
    std::vector<std::uint64_t> sizes;
};

// Records the admitted songs on the device before the first copy (see placement_journal.h).
Result<> RecordBatch(const std::vector<SongToPlace>& songs, const AdmittedSongs& admitted,
                     const std::filesystem::path& songFolder, const WriteStepHook& step);

// The songs whose files arrived: as placed (mediaPath = the file on the device) and where from.
struct ArrivedSongs {
    SongList placed;
    std::vector<const SongToPlace*> from;
};

// Places the admitted songs one by one with `place`, with progress, stop and device checks, then
// puts the files it left to `staged` in place at once. Songs not placed or not reached go to the
// report's notAdded; a lost device ends the batch with report.deviceLost set (what it staged is
// not put in place).
ArrivedSongs CopyBatch(const std::vector<SongToPlace>& songs, const AdmittedSongs& admitted, const PlaceSong& place,
                       StagedFiles& staged, const AddHooks& hooks, AddReport& report);

// Writes the catalogue of `deviceSongs` with the arrived songs and reports them: added; taken off
// again when the catalogue cannot be written with the device still there (notAdded); left
// recorded when the device went (uncatalogued). The record goes once nothing on the device needs it.
void CatalogueBatch(const SongList& deviceSongs, ArrivedSongs arrived, const std::filesystem::path& songFolder,
                    const std::string& codePage, const AddHooks& hooks, AddReport& report);

}  // namespace songloader
