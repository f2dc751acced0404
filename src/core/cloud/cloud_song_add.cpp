// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/cloud_song_add.h"

#include <sys/stat.h>

#include "core/cloud/cloud_song.h"
#include "core/device/device_layout.h"
#include "core/device/device_room.h"

namespace songloader {

Result<AddReport> AddCloudSongs(const CloudClient& client, const SongList& deviceSongs, const SongList& cloudSongs,
                                const SongList& userSongs, const std::filesystem::path& songFolder,
                                const std::string& codePage, const TransferRunner& runner, const WaitRunner& waiter,
                                const AddHooks& hooks) {
    std::vector<SongToPlace> songs;
    std::vector<std::uint64_t> userBytes;
    for (const ROWELEMENT& song : userSongs) {
        struct stat source {};
        if (::stat(song.mediaPath.c_str(), &source) == 0) userBytes.push_back(static_cast<std::uint64_t>(source.st_size));
        songs.push_back(UserSongPlacement(song, songFolder));
    }
    if (auto room = CheckBatchRoom(userBytes, songFolder); !room) return room.failure();
    for (ROWELEMENT song : cloudSongs) {
        song.mediaPath.clear();  // comes from the cloud, not from a file here
        const std::filesystem::path target = MediaFolder(songFolder, song.numberText) / (song.numberText + kSongRemoteSuffix);
        songs.push_back({std::move(song), target});
    }

    bool cancelled = false;
    const PlaceSong place = [&](const SongToPlace& song, const PlaceProgress& progress) -> Result<std::filesystem::path> {
        if (!song.song.mediaPath.empty()) return CopySongFile(song, progress);
        const CloudSongFetch fetch = FetchCloudSong(client, songFolder, song.song, runner, waiter,
                                                    [&](std::int64_t size) {
            return RefuseForRoomIn(song.song.numberText + kSongRemoteSuffix, size, songFolder);
        });
        if (fetch.outcome) return fetch.mediaFile;
        cancelled = fetch.outcome.failure().status == DownloadStatus::Cancelled;
        return Fail(fetch.outcome.message());
    };
    AddHooks batchHooks = hooks;
    batchHooks.stopAfterCurrent = [&] { return cancelled || (hooks.stopAfterCurrent && hooks.stopAfterCurrent()); };
    return AddPlacedSongs(deviceSongs, songs, place, songFolder, codePage, batchHooks);
}

}  // namespace songloader
