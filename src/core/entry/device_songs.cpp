// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/entry/device_songs.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <set>
#include <system_error>

#include "core/device/device_layout.h"
#include "core/device/device_room.h"
#include "core/entry/add_batch_steps.h"
#include "core/entry/add_queue.h"
#include "core/entry/media_files.h"
#include "core/entry/placement_journal.h"

namespace songloader {

namespace {

constexpr const char* kTargetTakenMessage = "%s already exists on the device and is not replaced";
constexpr const char* kDeleteUnfinishedMessage =
    "The song's files are removed, but the catalogue still lists it; delete it again once the catalogue can be "
    "written.";
constexpr const char* kNotRecordableMessage = "%s is not a name a song's file can be stored under on the device";

std::string WithArgument(const char* pattern, const std::string& argument) {
    std::string text = pattern;
    const auto at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, argument);
    return text;
}

bool Occupied(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::not_found;
}

// The number checks and the target check of every song, in batch order: the songs that may be
// placed; the others go to notAdded.
std::vector<std::size_t> Admitted(const SongList& deviceSongs, const std::vector<SongToPlace>& songs,
                                  const std::filesystem::path& songFolder, AddReport& report) {
    std::set<std::int32_t> used;
    for (const ROWELEMENT& song : deviceSongs) used.insert(song.number);
    std::set<std::int32_t> batch;
    std::vector<std::size_t> admitted;
    for (std::size_t i = 0; i < songs.size(); ++i) {
        const SongToPlace& placing = songs[i];
        if (used.count(placing.song.number)) {
            report.notAdded.push_back({placing.song, Fail(kDuplicateOnDeviceMessage)});
        } else if (!batch.insert(placing.song.number).second) {
            report.notAdded.push_back({placing.song, Fail(kDuplicateInWorkMessage)});
        } else if (!IsPlacedSongFile(placing.target.lexically_relative(songFolder), placing.song.numberText)) {
            // The record of the batch could not name it, so it could not be finished or undone.
            report.notAdded.push_back(
                {placing.song, Fail(WithArgument(kNotRecordableMessage, placing.target.filename().string()))});
        } else if (Occupied(placing.target)) {
            // A file no listed song owns may be the user's: never replaced.
            report.notAdded.push_back({placing.song, Fail(WithArgument(kTargetTakenMessage, placing.target.string()))});
        } else {
            admitted.push_back(i);
        }
    }
    return admitted;
}

Result<AddReport> AddBatch(const SongList& deviceSongs, const std::vector<SongToPlace>& songs, const PlaceSong& place,
                           const std::filesystem::path& songFolder, const std::string& codePage, const AddHooks& hooks,
                           const std::vector<std::uint64_t>& sizes, bool checkRoom) {
    AddReport report;
    std::vector<std::size_t> admitted = Admitted(deviceSongs, songs, songFolder, report);
    if (admitted.empty()) return report;
    std::uint64_t batchBytes = 0;
    std::vector<std::uint64_t> admittedSizes;
    for (std::size_t i : admitted) {
        admittedSizes.push_back(sizes.empty() ? 0 : sizes[i]);
        batchBytes += admittedSizes.back();
    }
    if (checkRoom) {
        // A song that could not fit even alone is refused by itself; the rest is then checked whole.
        if (const auto room = RoomOn(songFolder)) {
            std::vector<std::size_t> fitting;
            std::vector<std::uint64_t> fittingSizes;
            for (std::size_t n = 0; n < admitted.size(); ++n) {
                const ROWELEMENT& song = songs[admitted[n]].song;
                const std::string name = std::filesystem::path(song.mediaPath).filename().string();
                if (Result<> fits = RefuseForRoom(name, admittedSizes[n], *room); !fits) {
                    report.notAdded.push_back({song, fits.failure()});
                    continue;
                }
                fitting.push_back(admitted[n]);
                fittingSizes.push_back(admittedSizes[n]);
            }
            admitted = std::move(fitting);
            admittedSizes = std::move(fittingSizes);
            batchBytes = 0;
            for (std::uint64_t size : admittedSizes) batchBytes += size;
            if (admitted.empty()) return report;
        }
        if (auto room = CheckBatchRoom(admittedSizes, songFolder); !room) return room.failure();
    }
    const AdmittedSongs batch{std::move(admitted), std::move(admittedSizes)};
    if (auto recorded = RecordBatch(songs, batch, songFolder, hooks.writeStep); !recorded) return recorded.failure();
    ArrivedSongs arrived = CopyBatch(songs, batch, place, hooks, report);
    CatalogueBatch(deviceSongs, std::move(arrived), songFolder, codePage, hooks, report);
    return report;
}

}  // namespace

Result<> CheckBatchRoom(const std::vector<std::uint64_t>& bytes, const std::filesystem::path& songFolder) {
    const auto room = RoomOn(songFolder);
    if (!room) return {};
    std::uint64_t total = 0;
    for (std::uint64_t size : bytes) {
        if (room->largestFile && size > *room->largestFile) {
            return Fail("A song's file (" + SizeText(size) +
                        ") is too large for the device: its file system (FAT) holds no file of 4 GiB or more. "
                        "Nothing was copied.");
        }
        total += size;
    }
    if (total > room->freeBytes) {
        return Fail("The songs need " + SizeText(total) + " but the device has only " + SizeText(room->freeBytes) +
                    " free: " + SizeText(total - room->freeBytes) + " more is needed. Nothing was copied.");
    }
    return {};
}

SongToPlace UserSongPlacement(const ROWELEMENT& song, const std::filesystem::path& songFolder) {
    return {song, MediaTargetPath(songFolder, song.numberText, song.mediaPath)};
}

Result<std::filesystem::path> CopySongFile(const SongToPlace& song, const PlaceProgress& progress) {
    std::error_code error;
    const std::uint64_t size = std::filesystem::file_size(song.song.mediaPath, error);
    return CopyMediaFile(song.song.mediaPath, song.target, [&](std::uint64_t chunks) {
        if (progress) progress(std::min<std::uint64_t>(chunks * kCopyChunkBytes, size), size);
    });
}

Result<AddReport> AddUserSongs(const SongList& deviceSongs, const SongList& songs,
                               const std::filesystem::path& songFolder, const std::string& codePage,
                               const AddHooks& hooks) {
    std::vector<SongToPlace> placing;
    std::vector<std::uint64_t> sizes;
    AddReport unreadable;
    for (const ROWELEMENT& song : songs) {
        struct stat source {};
        // Only a regular file is copied: a FIFO or a device would never end.
        if (::stat(song.mediaPath.c_str(), &source) != 0 || !S_ISREG(source.st_mode)) {
            const std::string why = ::stat(song.mediaPath.c_str(), &source) != 0 ? std::strerror(errno)
                                                                                  : "not a regular file";
            unreadable.notAdded.push_back({song, Fail("cannot read " + song.mediaPath + ": " + why)});
            continue;
        }
        placing.push_back(UserSongPlacement(song, songFolder));
        sizes.push_back(static_cast<std::uint64_t>(source.st_size));
    }
    Result<AddReport> report = AddBatch(deviceSongs, placing, CopySongFile, songFolder, codePage, hooks, sizes, true);
    if (report && !unreadable.notAdded.empty()) {
        report->notAdded.insert(report->notAdded.begin(), unreadable.notAdded.begin(), unreadable.notAdded.end());
    }
    return report;
}

Result<AddReport> AddPlacedSongs(const SongList& deviceSongs, const std::vector<SongToPlace>& songs,
                                 const PlaceSong& place, const std::filesystem::path& songFolder,
                                 const std::string& codePage, const AddHooks& hooks) {
    return AddBatch(deviceSongs, songs, place, songFolder, codePage, hooks, {}, false);
}

Result<CatalogueWritten> DeleteDeviceSong(const SongList& deviceSongs, std::size_t row,
                                          const std::filesystem::path& songFolder, const std::string& codePage,
                                          const DeleteHooks& hooks) {
    if (row >= deviceSongs.size()) return Fail("There is no such song on the device.");
    const std::string numberText = deviceSongs[row].numberText;
    StepTaken(hooks.writeStep);
    if (auto recorded = RecordDelete(songFolder, numberText); !recorded) return recorded.failure();
    // The files go first: on a full device that makes the room the new catalogue needs.
    StepTaken(hooks.writeStep);
    DeleteDeviceSongFiles(songFolder, numberText);
    SongList rest = deviceSongs;
    rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(row));
    RebuildHooks rebuildHooks = hooks.rebuildHooks;
    rebuildHooks.betweenRenames = [&] {
        StepTaken(hooks.writeStep);
        if (hooks.rebuildHooks.betweenRenames) hooks.rebuildHooks.betweenRenames();
    };
    StepTaken(hooks.writeStep);
    Result<CatalogueWritten> rebuilt =
        RebuildDeviceCatalogue(rest, songFolder, RebuildMode::Delete, rebuildHooks, codePage);
    if (!rebuilt) {
        const std::string why = NoticesText(rebuilt.failure().AsNotices());
        // A lost device keeps the record: its next writing command finishes the delete.
        if (hooks.deviceStillThere && !hooks.deviceStillThere()) return Fail(why);
        // A catalogue that cannot be written now would not be later either: a record kept for it
        // would stop every later write.
        StepTaken(hooks.writeStep);
        (void)ForgetDelete(songFolder, numberText);
        return Fail(why + "\n" + kDeleteUnfinishedMessage);
    }
    StepTaken(hooks.writeStep);
    (void)ForgetDelete(songFolder, numberText);
    return rebuilt;
}

}  // namespace songloader
