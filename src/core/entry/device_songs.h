// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The device operations both front ends run: add songs (a batch with one rebuild), delete a song.
// Every one runs while its caller holds the device write lock (DeviceWriteSession), records on
// the device what it is about to place or remove before it does (see placement_journal.h), and
// leaves the device so that the next writing command finishes or discards whatever a killed run
// left: no file survives that no listed song owns.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/catalogue/row_element.h"
#include "core/common/device_folder.h"
#include "core/common/notice.h"
#include "core/common/result.h"
#include "core/entry/catalogue_rebuild.h"
#include "core/entry/write_steps.h"
#include "core/common/translatable.h"

namespace songloader {

// How far a batch is, after every step of a file.
struct BatchProgress {
    std::size_t fileIndex = 0;  // the file being placed, 0-based
    std::size_t fileCount = 0;
    std::uint64_t fileBytesDone = 0;
    std::uint64_t fileBytes = 0;  // 0: not known before it arrives
    std::uint64_t batchBytesDone = 0;
    std::uint64_t batchBytes = 0;  // the known sizes of the whole batch
};

// Reports a placing step's bytes: done so far and the file's size (0 when not known).
using PlaceProgress = std::function<void(std::uint64_t done, std::uint64_t total)>;

// What a caller does between the steps of a batch; each may be left out.
struct AddHooks {
    // Before a song's file is placed.
    std::function<void(const ROWELEMENT& song, const BatchProgress& progress)> onFileStart;
    // As its bytes arrive.
    std::function<void(const BatchProgress& progress)> onBytes;
    // After it: the file on the device, or why it was not placed.
    std::function<void(const ROWELEMENT& song, const Result<std::filesystem::path>& placed)> onFileEnd;
    // Asked after each file: true stops the batch there. What was placed is still catalogued;
    // the songs not reached are reported as not added.
    std::function<bool()> stopAfterCurrent;
    // After a failed step: false when the device is gone. The batch then ends at once and
    // nothing more is written (there is nothing to write on).
    std::function<bool()> deviceStillThere;
    // The one catalogue rebuild at the end.
    RebuildHooks rebuildHooks;
    // Before every file-system step (tests).
    WriteStepHook writeStep;
};

struct SongNotAdded {
    ROWELEMENT song;
    Failure why;
};

// Why a song whose copy arrived was not added: the catalogue could not be written with it.
inline constexpr const char* kNotCataloguedMessage = SL_TRANSLATE_NOOP(
    "Core", "not added: the catalogue could not be written with it, so its copy was taken off the device again");

// Why a song was not placed: its file name (the %s) cannot be stored on the device.
inline constexpr const char* kNotRecordableMessage =
    SL_TRANSLATE_NOOP("Core", "%s is not a name a song's file can be stored under on the device");

// What an add did. `added` and `uncatalogued` hold the songs as placed (mediaPath = the file on
// the device), in batch order.
struct AddReport {
    SongList added;                      // on the device and in its catalogue
    SongList uncatalogued;               // on the device and recorded there, not catalogued: the device went (or
                                         // refused to take them off again); its next writing command catalogues
                                         // them or takes them off
    std::vector<SongNotAdded> notAdded;  // in batch order, with the reason; the songs taken off
                                         // again (kNotCataloguedMessage) last
    std::size_t takenOff = 0;            // how many songs of notAdded arrived and were taken off
    bool stopped = false;                // stopAfterCurrent ended the batch
    bool deviceLost = false;             // deviceStillThere said no: nothing more was written
    // Why the catalogue could not be written: the songs that arrived were taken off again and are
    // in notAdded (kNotCataloguedMessage), or stay in `uncatalogued`.
    std::optional<Failure> catalogueFailure;
    Notices notices;                 // the rebuild's messages when it ran: its closing message, or why it failed
    std::vector<std::string> notes;  // the database creation's, for a console
};

// Adds user songs: each song's mediaPath names the file to copy, its number its place on the
// device (songs/NNN/NUMBER.ext). `deviceSongs` is the device's list as read under the lock.
// Before the first copy the whole batch is checked (AdmitBatch, batch_admission.h): a song that
// cannot be written or catalogued is put in notAdded with its reason; a rest that would pass the
// list's song limit or not fit on the device is refused whole with nothing written.
// Then the batch is recorded on the device, the files are copied one by one under temporary names
// into the open song folder `songFolder`, each after deviceStillThere said yes, flushed at once and
// put in place together (StagedFiles), and the catalogue is rebuilt once with every song that
// arrived. When that rebuild fails with the device
// still there, the copies are removed again, the record goes and the songs are not added. A
// failure here is a refusal of the whole batch with nothing written.
Result<AddReport> AddUserSongs(const SongList& deviceSongs, const SongList& songs, const DeviceFolder& songFolder,
                               const std::string& codePage, const AddHooks& hooks = {});
// The same with the song folder opened here (made when missing) for the whole batch.
Result<AddReport> AddUserSongs(const SongList& deviceSongs, const SongList& songs,
                               const std::filesystem::path& songFolder, const std::string& codePage,
                               const AddHooks& hooks = {});

// One song of a batch whose files come from elsewhere (the cloud): where its file goes, and how.
struct SongToPlace {
    ROWELEMENT song;
    std::filesystem::path target;                             // its file on the device, inside songFolder
    std::optional<std::uint64_t> sourceBytes = std::nullopt;  // the size of its source, once read
};
class StagedFiles;
// Writes the file of `song` at `target` (through a temporary name); the file, or why not. A placer
// may instead leave the file to `staged` (StageMediaFile): the batch then puts all of them in place
// at once after the last one arrived.
using PlaceSong = std::function<Result<std::filesystem::path>(const SongToPlace& song, const PlaceProgress& progress,
                                                              StagedFiles& staged)>;

// The same batch for songs placed by `place`: the same checks (the room with `sizes`, each
// file's size or 0 when it is not known before it arrives), the same record, one rebuild.
Result<AddReport> AddPlacedSongs(const SongList& deviceSongs, const std::vector<SongToPlace>& songs,
                                 const PlaceSong& place, const DeviceFolder& songFolder, const std::string& codePage,
                                 const AddHooks& hooks = {}, const std::vector<std::uint64_t>& sizes = {});

// The place of a user song (mediaPath: its source file, which may be a temporary of the computer's
// own, a converted copy say) on the device, and its placer: copies the source to the target in the
// batch's song folder through a temporary name that the batch puts in place, with progress per
// mebibyte. For batches that mix user songs with songs from elsewhere (AddPlacedSongs).
SongToPlace UserSongPlacement(const ROWELEMENT& song, const std::filesystem::path& songFolder);
// A small file's copy may still be under way when CopySongFile returns (StageMediaFileLater);
// CopySongFileNow returns with the copy complete under its temporary name, so that its source
// may go.
Result<std::filesystem::path> CopySongFile(const SongToPlace& song, const PlaceProgress& progress, StagedFiles& staged);
Result<std::filesystem::path> CopySongFileNow(const SongToPlace& song, const PlaceProgress& progress,
                                              StagedFiles& staged);
// `place`, run only while `deviceStillThere` (when given) says the device is the one chosen: the
// first sign that it is gone stops every further file.
PlaceSong PlaceWhileDeviceHolds(PlaceSong place, std::function<bool()> deviceStillThere);

struct DeleteHooks {
    std::function<bool()> deviceStillThere;
    RebuildHooks rebuildHooks;
    // Before every file-system step (tests).
    WriteStepHook writeStep;
};

// Deletes device song `row` of `deviceSongs`: the delete is recorded on the device (a record that
// needs no free space), every file of the song is removed, then the catalogue is written without
// it and the record goes. Works on a full device. When the catalogue cannot be written with the
// device still there, the record goes too: the files are gone and the catalogue still lists the
// song (the message says so; a later delete finishes it).
Result<CatalogueWritten> DeleteDeviceSong(const SongList& deviceSongs, std::size_t row,
                                          const std::filesystem::path& songFolder, const std::string& codePage,
                                          const DeleteHooks& hooks = {});

}  // namespace songloader
