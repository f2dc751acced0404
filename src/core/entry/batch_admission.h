// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What every batch of new songs must pass before its first file is written, whatever road it came
// by (the window's queue, add, import, fetch, the cloud list): each song's row must be one the list
// builder takes, its texts must be text of the device's code page, the list must have room for the
// songs, and the device for their files and the new catalogue. A batch that could be written and
// then not catalogued would leave a record the next command cannot finish. (Whether a user's file
// is media the player plays is asked where the file enters: ProbeMedia in "Queue to Add", import's
// plan, add and the revise of a queued song.)

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/catalogue/row_element.h"
#include "core/common/result.h"
#include "core/device/device_room.h"
#include "core/entry/device_songs.h"

namespace songloader {

// Kept free beyond what a batch is counted to need (file-system bookkeeping, the database's own
// journal while the new catalogue is built).
inline constexpr std::uint64_t kRoomMarginBytes = 64 * 1024;
// What one more song adds at most to SgList.dat and to usbsong.db.
inline constexpr std::uint64_t kListBytesPerSong = 256;
inline constexpr std::uint64_t kDatabaseBytesPerSong = 512;

// The songs of a batch that may be written, with their texts as the device stores them.
struct AdmittedBatch {
    std::vector<SongToPlace> songs;      // in batch order
    std::vector<std::uint64_t> bytes;    // each one's file size; 0 when not known before it arrives
    std::vector<SongNotAdded> notAdded;  // refused one by one, in batch order, with the reason
};

// Checks the batch `songs` (`bytes`: each file's size, 0 when not known; may be empty) for a device
// holding `deviceSongs` in `songFolder`, whose file system has `room` (nullopt: it cannot tell).
// A song is refused alone for a number in use, a target already standing, a row the builder
// refuses, texts outside `codePage`, or a file too large for the device even alone. Texts are cut
// to their slots first (StoredTexts), so that the record, the list and the database agree. The rest is refused whole,
// with nothing written, when it would take the list past its song limit (saying how many can still be added) or not fit
// on the device (saying how much is missing).
Result<AdmittedBatch> AdmitBatch(const SongList& deviceSongs, const std::vector<SongToPlace>& songs,
                                 const std::vector<std::uint64_t>& bytes, const std::filesystem::path& songFolder,
                                 const std::string& codePage, const std::optional<DeviceRoom>& room);

// The bytes writing `songs` (files of `bytes`) into `songFolder` takes on a file system of
// `blockBytes` blocks: each file and each new song sub-folder in whole blocks, the record of the
// batch, a new SgList.dat and usbsong.db beside the old ones, and the margin.
std::uint64_t BatchBytesNeeded(const std::vector<SongToPlace>& songs, const std::vector<std::uint64_t>& bytes,
                               const std::filesystem::path& songFolder, std::uint64_t blockBytes);

}  // namespace songloader
