// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/cloud_song.h"

#include <string>
#include <system_error>

#include "core/device/device_layout.h"

namespace songloader {

CloudSongFetch FetchCloudSong(const CloudClient& client, const std::filesystem::path& songFolder,
                              const ROWELEMENT& record, const TransferRunner& runner,
                              const WaitRunner& waiter, const DownloadAdmission& admit) {
    const std::string numberText = std::to_string(record.number);
    const std::filesystem::path folder = MediaFolder(songFolder, numberText);
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) std::filesystem::create_directory(folder, error);
    const std::filesystem::path basePath = folder / numberText;

    CloudSongFetch fetch;
    fetch.mediaFile = basePath;
    fetch.mediaFile += kSongRemoteSuffix;
    RunWait(waiter, [&] { fetch.remoteSize = client.RemoteSongSize(numberText); });
    if (const auto refusal = admit ? admit(fetch.remoteSize) : std::nullopt) {
        fetch.outcome.status = DownloadStatus::WriteFailure;
        fetch.outcome.detail = *refusal;
        return fetch;
    }
    fetch.outcome = RunDownloadProtocol(
        client.progress(), ProgressStepsFor(fetch.remoteSize), record.title,
        [&] { return client.DownloadSong(numberText, basePath, fetch.remoteSize); }, runner);
    return fetch;
}

}  // namespace songloader
