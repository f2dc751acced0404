// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/entry/device_songs.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <string_view>
#include <system_error>

#include "core/device/device_layout.h"
#include "core/device/device_room.h"
#include "core/device/device_write_session.h"
#include "core/entry/add_batch_steps.h"
#include "core/entry/batch_admission.h"
#include "core/entry/media_files.h"
#include "core/entry/placement_journal.h"
#include "core/entry/staged_files.h"
#include "core/common/translatable.h"

namespace songloader {

namespace {

constexpr const char* kDeleteUnfinishedMessage = SL_TRANSLATE_NOOP(
    "Core",
    "The song's files are removed, but the catalogue still lists it; delete it again once the catalogue can be "
    "written.");

std::string WithArgument(const char* pattern, const std::string& argument) {
    const std::string_view text = pattern;
    const auto at = text.find("%s");
    if (at == std::string_view::npos) return std::string(text);
    std::string filled(text.substr(0, at));
    filled.append(argument).append(text.substr(at + 2));
    return filled;
}

Result<AddReport> AddBatch(const SongList& deviceSongs, const std::vector<SongToPlace>& batch, const PlaceSong& place,
                           const DeviceFolder& openSongFolder, const std::string& codePage, const AddHooks& hooks,
                           const std::vector<std::uint64_t>& sizes) {
    const std::filesystem::path& songFolder = openSongFolder.path();
    AddReport report;
    // A file the record of the batch could not name could not be finished or undone.
    std::vector<SongToPlace> recordable;
    std::vector<std::uint64_t> recordableSizes;
    for (std::size_t i = 0; i < batch.size(); ++i) {
        const SongToPlace& placing = batch[i];
        if (!IsPlacedSongFile(placing.target.lexically_relative(songFolder), placing.song.numberText)) {
            report.notAdded.push_back(
                {placing.song, Fail(WithArgument(kNotRecordableMessage, placing.target.filename().string()))});
            continue;
        }
        recordable.push_back(placing);
        if (!sizes.empty()) recordableSizes.push_back(sizes[i]);
    }
    // Every check before the first write: what cannot be written and catalogued is not started.
    Result<AdmittedBatch> admission =
        AdmitBatch(deviceSongs, recordable, recordableSizes, songFolder, codePage, RoomOn(songFolder));
    if (!admission) return admission.failure();
    report.notAdded.insert(report.notAdded.end(), admission->notAdded.begin(), admission->notAdded.end());
    const std::vector<SongToPlace>& songs = admission->songs;
    if (songs.empty()) return report;
    AdmittedSongs admitted;
    for (std::size_t i = 0; i < songs.size(); ++i) {
        admitted.indexes.push_back(i);
        admitted.sizes.push_back(i < admission->bytes.size() ? admission->bytes[i] : 0);
    }
    if (auto recorded = RecordBatch(songs, admitted, songFolder, hooks.writeStep); !recorded) return recorded.failure();
    CatalogueAhead ahead(deviceSongs, songFolder, codePage);
    StagedFiles staged(openSongFolder);
    ArrivedSongs arrived = CopyBatch(songs, admitted, place, staged, hooks, report, &ahead);
    CatalogueBatch(deviceSongs, std::move(arrived), songFolder, codePage, hooks, report, &ahead);
    return report;
}

}  // namespace

SongToPlace UserSongPlacement(const ROWELEMENT& song, const std::filesystem::path& songFolder) {
    return {song, MediaTargetPath(songFolder, song.numberText, song.mediaPath)};
}

namespace {

// A copy this small is left to the batch's writing thread: it is mostly system calls, which the
// next file's then overlap. Its progress is all counted at once.
constexpr std::uint64_t kCopiedLaterBytes = kCopyStepBytes;

Result<std::filesystem::path> StageSongFile(const SongToPlace& song, const PlaceProgress& progress, StagedFiles& staged,
                                            bool mayFinishLater) {
    std::error_code error;
    const std::uint64_t size =
        song.sourceBytes ? *song.sourceBytes : std::filesystem::file_size(song.song.mediaPath, error);
    const ChunkProgress onChunk = [&](std::uint64_t chunks) {
        if (progress) progress(std::min<std::uint64_t>(chunks * kCopyChunkBytes, size), size);
    };
    if (!mayFinishLater || error || size > kCopiedLaterBytes) {
        return StageMediaFile(staged, song.song.mediaPath, song.target, onChunk);
    }
    Result<std::filesystem::path> staging = StageMediaFileLater(staged, song.song.mediaPath, song.target);
    if (staging) {
        for (std::uint64_t chunk = 1; chunk <= MebibytesRoundedUp(size); ++chunk) onChunk(chunk);
    }
    return staging;
}

}  // namespace

Result<std::filesystem::path> CopySongFile(const SongToPlace& song, const PlaceProgress& progress,
                                           StagedFiles& staged) {
    return StageSongFile(song, progress, staged, true);
}

Result<std::filesystem::path> CopySongFileNow(const SongToPlace& song, const PlaceProgress& progress,
                                              StagedFiles& staged) {
    return StageSongFile(song, progress, staged, false);
}

PlaceSong PlaceWhileDeviceHolds(PlaceSong place, std::function<bool()> deviceStillThere) {
    if (!deviceStillThere) return place;
    return [place = std::move(place), deviceStillThere = std::move(deviceStillThere)](
               const SongToPlace& song, const PlaceProgress& progress,
               StagedFiles& staged) -> Result<std::filesystem::path> {
        if (!deviceStillThere()) return Fail(kDeviceChangedMessage);
        return place(song, progress, staged);
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
            const std::string why =
                ::stat(song.mediaPath.c_str(), &source) != 0 ? std::strerror(errno) : "not a regular file";
            unreadable.notAdded.push_back({song, Fail("cannot read " + song.mediaPath + ": " + why)});
            continue;
        }
        placing.push_back(UserSongPlacement(song, songFolder.path()));
        placing.back().sourceBytes = static_cast<std::uint64_t>(source.st_size);
        sizes.push_back(static_cast<std::uint64_t>(source.st_size));
    }
    Result<AddReport> report =
        AddBatch(deviceSongs, placing, PlaceWhileDeviceHolds(CopySongFile, hooks.deviceStillThere), songFolder,
                 codePage, hooks, sizes);
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
                                 const PlaceSong& place, const DeviceFolder& songFolder, const std::string& codePage,
                                 const AddHooks& hooks, const std::vector<std::uint64_t>& sizes) {
    return AddBatch(deviceSongs, songs, PlaceWhileDeviceHolds(place, hooks.deviceStillThere), songFolder, codePage,
                    hooks, sizes);
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
    const RebuildHooks rebuildHooks = StepsBetweenRenames(hooks.rebuildHooks, hooks.writeStep);
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
