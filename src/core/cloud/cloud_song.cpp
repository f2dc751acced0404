// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/cloud_song.h"

#include <string>
#include <system_error>

#include "core/common/device_folder.h"
#include "core/device/device_layout.h"
#include "core/entry/media_files.h"

namespace songloader {

CloudSongFetch FetchCloudSong(const CloudClient& client, const DeviceFolder& songFolder, const ROWELEMENT& record,
                              const TransferRunner& runner, const WaitRunner& waiter, const DownloadAdmission& admit,
                              std::optional<std::int64_t> announced) {
    const std::string numberText = std::to_string(record.number);
    CloudSongFetch fetch;
    fetch.mediaFile = MediaFolder(songFolder.path(), numberText) / (numberText + kSongRemoteSuffix);
    auto refuse = [&fetch](std::string why) {
        fetch.outcome = FailDownload(DownloadStatus::WriteFailure, std::move(why));
        return fetch;
    };
    // No cloud song has number 0 or below: such a record is damage, not a song to store.
    if (record.number <= 0) return refuse("no cloud song has the number " + numberText);
    // The song's folder is reached from the open song folder without following a link.
    const Result<DeviceFolder> folder = songFolder.Below(MediaFolder({}, numberText).string(), true);
    if (!folder) return refuse(folder.message());
    if (announced) {
        fetch.remoteSize = *announced;
    } else {
        RunWait(waiter, [&] { fetch.remoteSize = AnnouncedSizeOrNone(client.RemoteSongSize(numberText)); });
    }
    if (admit) {
        if (Result<> admitted = admit(fetch.remoteSize); !admitted) return refuse(admitted.message());
    }
    fetch.outcome = RunDownloadProtocol(
        client.progress(), ProgressStepsFor(fetch.remoteSize), record.title,
        [&] { return client.DownloadSong(numberText, *folder, fetch.remoteSize); }, runner);
    return fetch;
}

CloudSongFetch FetchCloudSong(const CloudClient& client, const std::filesystem::path& songFolder,
                              const ROWELEMENT& record, const TransferRunner& runner, const WaitRunner& waiter,
                              const DownloadAdmission& admit) {
    const Result<DeviceFolder> folder = OpenSongFolder(songFolder);
    if (!folder) {
        CloudSongFetch fetch;
        fetch.mediaFile = MediaFolder(songFolder, std::to_string(record.number)) /
                          (std::to_string(record.number) + kSongRemoteSuffix);
        fetch.outcome = FailDownload(DownloadStatus::WriteFailure, folder.message());
        return fetch;
    }
    return FetchCloudSong(client, *folder, record, runner, waiter, admit);
}

}  // namespace songloader
