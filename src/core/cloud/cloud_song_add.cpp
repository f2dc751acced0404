// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/cloud_song_add.h"

#include <sys/stat.h>

#include <map>

#include "core/cloud/cloud_song.h"
#include "core/device/device_layout.h"
#include "core/device/device_room.h"

namespace songloader {

Result<AddReport> AddCloudSongs(const CloudClient& client, const SongList& deviceSongs, const SongList& cloudSongs,
                                const SongList& userSongs, const DeviceFolder& songFolder, const std::string& codePage,
                                const TransferRunner& runner, const WaitRunner& waiter, const AddHooks& hooks) {
    std::vector<SongToPlace> songs;
    std::vector<std::uint64_t> sizes;
    for (const ROWELEMENT& song : userSongs) {
        struct stat source {};
        sizes.push_back(::stat(song.mediaPath.c_str(), &source) == 0 ? static_cast<std::uint64_t>(source.st_size) : 0);
        songs.push_back(UserSongPlacement(song, songFolder.path()));
    }
    // The sizes the cloud announces count in the room of the batch before anything is written.
    std::map<std::int32_t, std::int64_t> announced;
    RunWait(waiter, [&] {
        for (const ROWELEMENT& song : cloudSongs) {
            announced[song.number] = AnnouncedSizeOrNone(client.RemoteSongSize(std::to_string(song.number)));
        }
    });
    for (ROWELEMENT song : cloudSongs) {
        song.mediaPath.clear();  // comes from the cloud, not from a file here
        const std::int64_t size = announced[song.number];
        sizes.push_back(size > 0 ? static_cast<std::uint64_t>(size) : 0);
        const std::filesystem::path target =
            MediaFolder(songFolder.path(), song.numberText) / (song.numberText + kSongRemoteSuffix);
        songs.push_back({std::move(song), target});
    }

    bool cancelled = false;
    const PlaceSong place = [&](const SongToPlace& song, const PlaceProgress& progress,
                                StagedFiles& staged) -> Result<std::filesystem::path> {
        if (!song.song.mediaPath.empty()) return CopySongFile(song, progress, staged);
        const CloudSongFetch fetch = FetchCloudSong(
            client, songFolder, song.song, runner, waiter,
            [&](std::int64_t size) {
                return RefuseForRoomIn(song.song.numberText + kSongRemoteSuffix, size, songFolder.path());
            },
            announced[song.song.number]);
        if (fetch.outcome) return fetch.mediaFile;
        cancelled = fetch.outcome.failure().status == DownloadStatus::Cancelled;
        return Fail(fetch.outcome.message());
    };
    AddHooks batchHooks = hooks;
    batchHooks.stopAfterCurrent = [&] { return cancelled || (hooks.stopAfterCurrent && hooks.stopAfterCurrent()); };
    return AddPlacedSongs(deviceSongs, songs, place, songFolder, codePage, batchHooks, sizes);
}

}  // namespace songloader
