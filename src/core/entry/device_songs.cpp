// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/entry/device_songs.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "core/device/device_layout.h"
#include "core/device/device_room.h"
#include "core/device/device_write_session.h"
#include "core/entry/batch_admission.h"
#include "core/entry/media_files.h"
#include "core/entry/placement_journal.h"

namespace songloader {

namespace {

constexpr const char* kStoppedMessage = "not copied: the batch was stopped before it";
constexpr const char* kJournalPendingMessage =
    "An interrupted change of the USB drive is not finished yet; nothing was added.";
constexpr const char* kDeleteUnfinishedMessage =
    "The song's files are removed; the next change of the USB drive finishes its delete.";

std::string Joined(const Notices& notices) {
    std::string text;
    for (const Notice& notice : notices) text += (text.empty() ? "" : "\n") + notice.text;
    return text;
}

Result<AddReport> AddBatch(const SongList& deviceSongs, const std::vector<SongToPlace>& batch, const PlaceSong& place,
                           const std::filesystem::path& songFolder, const std::string& codePage, const AddHooks& hooks,
                           const std::vector<std::uint64_t>& sizes) {
    AddReport report;
    // Every check before the first write: what cannot be written and catalogued is not started.
    Result<AdmittedBatch> admission = AdmitBatch(deviceSongs, batch, sizes, songFolder, codePage, RoomOn(songFolder));
    if (!admission) return admission.failure();
    report.notAdded = std::move(admission->notAdded);
    const std::vector<SongToPlace>& songs = admission->songs;
    const std::vector<std::uint64_t>& admittedSizes = admission->bytes;
    if (songs.empty()) return report;
    std::uint64_t batchBytes = 0;
    for (std::uint64_t size : admittedSizes) batchBytes += size;
    // Records left by a run that could not be finished would be lost under a new one.
    if (JournalLeftOver(songFolder)) return Fail(kJournalPendingMessage);

    PlacementJournal journal;
    for (const SongToPlace& placing : songs) {
        ROWELEMENT song = placing.song;
        song.mediaPath = placing.target.lexically_relative(songFolder).string();
        journal.placements.push_back({song});
    }
    WriteStep();
    if (auto recorded = WritePlacementJournal(songFolder, journal); !recorded) return recorded.failure();

    const auto deviceStillThere = [&] { return !hooks.deviceStillThere || hooks.deviceStillThere(); };
    SongList placed;
    BatchProgress progress;
    progress.fileCount = songs.size();
    progress.batchBytes = batchBytes;
    std::uint64_t bytesBefore = 0;
    for (std::size_t n = 0; n < songs.size(); ++n) {
        const SongToPlace& placing = songs[n];
        if (n > 0 && hooks.stopAfterCurrent && hooks.stopAfterCurrent()) {
            report.stopped = true;
            for (std::size_t rest = n; rest < songs.size(); ++rest) {
                report.notAdded.push_back({songs[rest].song, Fail(kStoppedMessage)});
            }
            break;
        }
        progress.fileIndex = n;
        progress.fileBytes = admittedSizes[n];
        progress.fileBytesDone = 0;
        progress.batchBytesDone = bytesBefore;
        if (hooks.onFileStart) hooks.onFileStart(placing.song, progress);
        WriteStep();
        Result<std::filesystem::path> file = place(placing, [&](std::uint64_t done, std::uint64_t total) {
            WriteStep();
            progress.fileBytesDone = done;
            if (total) progress.fileBytes = total;
            progress.batchBytesDone = bytesBefore + done;
            if (hooks.onBytes) hooks.onBytes(progress);
        });
        bytesBefore += progress.fileBytes;
        if (hooks.onFileEnd) hooks.onFileEnd(placing.song, file);
        if (!file) {
            if (!deviceStillThere()) {
                // What arrived before is recorded on the device: its next writing command catalogues it.
                report.deviceLost = true;
                report.uncatalogued = std::move(placed);
                return report;
            }
            report.notAdded.push_back({placing.song, file.failure()});
            continue;
        }
        ROWELEMENT song = placing.song;
        song.mediaPath = file->string();
        placed.push_back(song);
    }
    if (placed.empty()) {
        WriteStep();
        (void)RemovePlacementJournal(songFolder);
        return report;
    }

    SongList all = deviceSongs;
    all.insert(all.end(), placed.begin(), placed.end());
    if (!deviceStillThere()) {
        report.deviceLost = true;
        report.uncatalogued = std::move(placed);
        return report;
    }
    RebuildHooks rebuildHooks = hooks.rebuildHooks;
    rebuildHooks.betweenRenames = [&] {
        WriteStep();
        if (hooks.rebuildHooks.betweenRenames) hooks.rebuildHooks.betweenRenames();
    };
    WriteStep();
    Result<CatalogueWritten> rebuilt = RebuildDeviceCatalogue(all, songFolder, RebuildMode::Add, rebuildHooks, codePage);
    if (!rebuilt) {
        if (!deviceStillThere()) {
            report.deviceLost = true;
            report.uncatalogued = std::move(placed);
            return report;
        }
        // The record stays: the next writing command on this device catalogues them.
        report.uncatalogued = std::move(placed);
        report.notices = rebuilt.failure().AsNotices();
        report.catalogueFailure = Fail(Joined(report.notices));
        return report;
    }
    report.added = std::move(placed);
    report.notices = std::move(rebuilt->notices);
    report.notes = std::move(rebuilt->notes);
    WriteStep();
    // The catalogue names every placed song: a record left here would only be dropped next time.
    (void)RemovePlacementJournal(songFolder);
    return report;
}

}  // namespace

SongToPlace UserSongPlacement(const ROWELEMENT& song, const std::filesystem::path& songFolder) {
    return {song, MediaTargetPath(songFolder, song.numberText, song.mediaPath)};
}

Result<std::filesystem::path> CopySongFile(const DeviceFolder& songFolder, const SongToPlace& song,
                                           const PlaceProgress& progress) {
    std::error_code error;
    const std::uint64_t size = std::filesystem::file_size(song.song.mediaPath, error);
    return CopyMediaFile(songFolder, song.song.mediaPath, song.target, [&](std::uint64_t chunks) {
        if (progress) progress(std::min<std::uint64_t>(chunks * kCopyChunkBytes, size), size);
    });
}

PlaceSong PlaceWhileDeviceHolds(PlaceSong place, std::function<bool()> deviceStillThere) {
    if (!deviceStillThere) return place;
    return [place = std::move(place), deviceStillThere = std::move(deviceStillThere)](
               const SongToPlace& song, const PlaceProgress& progress) -> Result<std::filesystem::path> {
        if (!deviceStillThere()) return Fail(kDeviceChangedMessage);
        return place(song, progress);
    };
}

Result<AddReport> AddUserSongs(const SongList& deviceSongs, const SongList& songs, const DeviceFolder& songFolder,
                               const std::string& codePage, const AddHooks& hooks) {
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
        placing.push_back(UserSongPlacement(song, songFolder.path()));
        sizes.push_back(static_cast<std::uint64_t>(source.st_size));
    }
    const PlaceSong copy = [&songFolder](const SongToPlace& song, const PlaceProgress& progress) {
        return CopySongFile(songFolder, song, progress);
    };
    Result<AddReport> report = AddBatch(deviceSongs, placing, PlaceWhileDeviceHolds(copy, hooks.deviceStillThere),
                                        songFolder.path(), codePage, hooks, sizes);
    if (report && !unreadable.notAdded.empty()) {
        report->notAdded.insert(report->notAdded.begin(), unreadable.notAdded.begin(), unreadable.notAdded.end());
    }
    return report;
}

Result<AddReport> AddUserSongs(const SongList& deviceSongs, const SongList& songs,
                               const std::filesystem::path& songFolder, const std::string& codePage,
                               const AddHooks& hooks) {
    const Result<DeviceFolder> folder = OpenSongFolder(songFolder);
    if (!folder) return folder.failure();
    return AddUserSongs(deviceSongs, songs, *folder, codePage, hooks);
}

Result<AddReport> AddPlacedSongs(const SongList& deviceSongs, const std::vector<SongToPlace>& songs,
                                 const PlaceSong& place, const std::filesystem::path& songFolder,
                                 const std::string& codePage, const AddHooks& hooks,
                                 const std::vector<std::uint64_t>& sizes) {
    return AddBatch(deviceSongs, songs, PlaceWhileDeviceHolds(place, hooks.deviceStillThere), songFolder, codePage,
                    hooks, sizes);
}

Result<CatalogueWritten> DeleteDeviceSong(const SongList& deviceSongs, std::size_t row,
                                          const std::filesystem::path& songFolder, const std::string& codePage,
                                          const DeleteHooks& hooks) {
    if (row >= deviceSongs.size()) return Fail("There is no such song on the device.");
    const std::string numberText = deviceSongs[row].numberText;
    WriteStep();
    if (auto recorded = RecordDelete(songFolder, numberText); !recorded) return recorded.failure();
    // The files go first: on a full device that makes the room the new catalogue needs.
    WriteStep();
    DeleteDeviceSongFiles(songFolder, numberText);
    SongList rest = deviceSongs;
    rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(row));
    RebuildHooks rebuildHooks = hooks.rebuildHooks;
    rebuildHooks.betweenRenames = [&] {
        WriteStep();
        if (hooks.rebuildHooks.betweenRenames) hooks.rebuildHooks.betweenRenames();
    };
    WriteStep();
    Result<CatalogueWritten> rebuilt =
        RebuildDeviceCatalogue(rest, songFolder, RebuildMode::Delete, rebuildHooks, codePage);
    if (!rebuilt) {
        const std::string why = Joined(rebuilt.failure().AsNotices());
        if (hooks.deviceStillThere && !hooks.deviceStillThere()) return Fail(why);
        return Fail(why + "\n" + kDeleteUnfinishedMessage);
    }
    WriteStep();
    (void)ForgetDelete(songFolder, numberText);
    return rebuilt;
}

}  // namespace songloader
