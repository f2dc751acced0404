// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The steps of an add batch once its songs are admitted (device_songs.cpp): the record, the copy
// loop and the files put in place, the catalogue (with the roll-back of what it cannot take) and the report.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "core/catalogue/row_element.h"
#include "core/common/result.h"
#include "core/entry/catalogue_rebuild.h"
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

// The new catalogue of a batch, built on a thread of its own while the batch's files are flushed
// and put in place (the flush mostly waits for the disk): for the device's songs and every song
// whose file came, as if all of them arrive. It is put in place only when they did; else it is
// discarded and the catalogue is built again for those that arrived.
class CatalogueAhead {
public:
    CatalogueAhead(SongList deviceSongs, std::filesystem::path songFolder, std::string codePage);
    // Starts building it with the songs that came (as placed); once.
    void Start(const SongList& came);
    // Waits for it: the catalogue when it was built for `songCount` songs in all (every song
    // that came arrived: the songs that arrive are those that came, less any that failed), else
    // nothing (what was built is discarded).
    std::optional<PreparedCatalogue> Take(std::size_t songCount);

private:
    SongList deviceSongs_;
    std::filesystem::path songFolder_;
    std::string codePage_;
    std::future<Result<PreparedCatalogue>> building_;
};

// Places the admitted songs one by one with `place`, with progress, stop and device checks, then
// puts the files it left to `staged` in place at once (starting `ahead`, when given, just
// before). Songs not placed or not reached go to the report's notAdded; a lost device ends the
// batch with report.deviceLost set (what it staged is not put in place).
ArrivedSongs CopyBatch(const std::vector<SongToPlace>& songs, const AdmittedSongs& admitted, const PlaceSong& place,
                       StagedFiles& staged, const AddHooks& hooks, AddReport& report, CatalogueAhead* ahead = nullptr);

// Writes the catalogue of `deviceSongs` with the arrived songs (the one `ahead` built when it
// fits) and reports them: added; taken off again when the catalogue cannot be written with the
// device still there (notAdded); left recorded when the device went (uncatalogued). The record
// goes once nothing on the device needs it.
void CatalogueBatch(const SongList& deviceSongs, ArrivedSongs arrived, const std::filesystem::path& songFolder,
                    const std::string& codePage, const AddHooks& hooks, AddReport& report,
                    CatalogueAhead* ahead = nullptr);

}  // namespace songloader
