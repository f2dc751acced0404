// SPDX-License-Identifier: GPL-3.0-or-later
// The writes a session runs for both front ends: each in the locked song folder, with the device's
// code page and the session's check that the device is still the one chosen.
#include <utility>

#include "core/cloud/cloud_song_add.h"
#include "core/session/device_session.h"

namespace songloader {

Result<WorkFolder> SongConversion::Ready(const Result<std::filesystem::path>& program, const PlayerProfile& profile) {
    if (!program) return program.failure();
    Result<WorkFolder> folder = WorkFolder::Make();
    if (folder) setup = {*program, profile, folder->path()};
    return folder;
}

Result<AddReport> DeviceSession::Added(Result<AddReport> report) {
    if (report && !report->deviceLost && !report->catalogueFailure && writing()) TakeListAsWritten();
    return report;
}

Result<AddReport> DeviceSession::AddSongs(const SongList& deviceSongs, const SongList& songs, AddHooks hooks,
                                          const SongConversion& conversion) {
    const Result<DeviceFolder> folder = OpenSongFolder();
    if (!folder) return folder.failure();
    hooks.deviceStillThere = [this] { return StillHolds(); };
    if (!conversion.plan.AnyNeeded()) return Added(AddUserSongs(deviceSongs, songs, *folder, codePage_, hooks));
    return Added(AddConvertedUserSongs(deviceSongs, songs, conversion.plan, conversion.setup, *folder, codePage_, hooks,
                                       conversion.hooks));
}

Result<AddReport> DeviceSession::AddCloudSongs(const CloudClient& client, const SongList& deviceSongs,
                                               const SongList& cloudSongs, const SongList& userSongs,
                                               const TransferRunner& runner, const WaitRunner& waiter, AddHooks hooks) {
    const Result<DeviceFolder> folder = OpenSongFolder();
    if (!folder) return folder.failure();
    hooks.deviceStillThere = [this] { return StillHolds(); };
    return Added(songloader::AddCloudSongs(client, deviceSongs, cloudSongs, userSongs, *folder, codePage_, runner,
                                           waiter, hooks));
}

Result<CatalogueWritten> DeviceSession::DeleteSong(const SongList& deviceSongs, std::size_t row, DeleteHooks hooks) {
    // Its first step already removes: another volume put in the chosen one's place is not touched.
    if (!StillHolds()) return FailQuietly();
    hooks.deviceStillThere = [this] { return StillHolds(); };
    Result<CatalogueWritten> deleted = DeleteDeviceSong(deviceSongs, row, songFolder_, codePage_, hooks);
    if (deleted && writing()) TakeListAsWritten();
    return deleted;
}

Result<CatalogueWritten> DeviceSession::ReviseSong(const SongList& deviceSongs, std::size_t row, ROWELEMENT revised,
                                                   const StoreRow& storeRow, ReviseHooks hooks,
                                                   const SongList& queuedSongs) {
    // Checked once the caller holds the device, before the first file moves.
    hooks.beginWrite = [this, begin = std::move(hooks.beginWrite)] { return (!begin || begin()) && StillHolds(); };
    hooks.deviceStillThere = [this] { return StillHolds(); };
    Result<CatalogueWritten> revisedSong =
        ReviseDeviceSong(deviceSongs, row, std::move(revised), storeRow, songFolder_, codePage_, hooks, queuedSongs);
    if (revisedSong && writing()) TakeListAsWritten();
    return revisedSong;
}

}  // namespace songloader
