// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/cloud_song.h"

#include <string>
#include <system_error>

#include "core/common/device_folder.h"
#include "core/device/device_layout.h"

namespace songloader {

CloudSongFetch FetchCloudSong(const CloudClient& client, const std::filesystem::path& songFolder,
                              const ROWELEMENT& record, const TransferRunner& runner,
                              const WaitRunner& waiter, const DownloadAdmission& admit) {
    const std::string numberText = std::to_string(record.number);
    const std::filesystem::path basePath = MediaFolder(songFolder, numberText) / numberText;

    CloudSongFetch fetch;
    fetch.mediaFile = basePath;
    fetch.mediaFile += kSongRemoteSuffix;
    auto refuse = [&fetch](std::string why) {
        fetch.outcome = FailDownload(DownloadStatus::WriteFailure, std::move(why));
        return fetch;
    };
    // No cloud song has number 0 or below: such a record is damage, not a song to store.
    if (record.number <= 0) return refuse("no cloud song has the number " + numberText);
    // The song's folder is reached without following a link out of the device.
    const Result<DeviceFolder> folder = OpenFolderBelow(
        songFolder.parent_path(), songFolder.filename() / MediaFolder({}, numberText), true);
    if (!folder) return refuse(folder.message());
    RunWait(waiter, [&] { fetch.remoteSize = AnnouncedSizeOrNone(client.RemoteSongSize(numberText)); });
    if (admit) {
        if (Result<> admitted = admit(fetch.remoteSize); !admitted) return refuse(admitted.message());
    }
    fetch.outcome = RunDownloadProtocol(
        client.progress(), ProgressStepsFor(fetch.remoteSize), record.title,
        [&] { return client.DownloadSong(numberText, *folder, fetch.remoteSize); }, runner);
    return fetch;
}

}  // namespace songloader
