// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "core/catalogue/row_element.h"
#include "core/cloud/cloud_client.h"
#include "core/cloud/download_protocol.h"
#include "core/common/device_folder.h"

namespace songloader {

struct CloudSongFetch {
    std::filesystem::path mediaFile;  // songs/NNN/n.mp4, whether or not it arrived
    std::int64_t remoteSize = -1;     // the size probe's answer; -1: it failed or announced none
    DownloadResult outcome = FailDownload(DownloadStatus::NetworkFailure);
};

// The device side of fetching one cloud song: its folder (song folder + first three digits)
// created when missing, its size probed, and its video downloaded as NNN/n.mp4 (held to the probed size) with the
// download start protocol (progressSteps = size / 1460, the title as download name). Only a complete download leaves a
// new file; the caller adds the song to the device list for that one alone. The size probe runs through `waiter`. A
// download that `admit` refuses is a WriteFailure with its reason, and nothing is written. Asked with the announced
// size before a download starts; a failure refuses the download.
using DownloadAdmission = std::function<Result<>(std::int64_t remoteSize)>;

CloudSongFetch FetchCloudSong(const CloudClient& client, const std::filesystem::path& songFolder,
                              const ROWELEMENT& record, const TransferRunner& runner = {},
                              const WaitRunner& waiter = {}, const DownloadAdmission& admit = {});
// The same into the open song folder of a command (the song's folder is made relative to it);
// with `announced` the size probed before (-1: none announced), which is not asked again.
CloudSongFetch FetchCloudSong(const CloudClient& client, const DeviceFolder& songFolder, const ROWELEMENT& record,
                              const TransferRunner& runner, const WaitRunner& waiter, const DownloadAdmission& admit,
                              std::optional<std::int64_t> announced = std::nullopt);

}  // namespace songloader
