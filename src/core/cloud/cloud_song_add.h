// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

#include "core/catalogue/row_element.h"
#include "core/cloud/cloud_client.h"
#include "core/cloud/download_protocol.h"
#include "core/common/result.h"
#include "core/entry/device_songs.h"

namespace songloader {

// "Add these cloud songs" (with the user songs queued beside them) as one batch: the room of the
// user songs is checked first (nothing is written when they do not fit), the batch is recorded,
// each cloud song's video is downloaded as songs/NNN/NUMBER.mp4 (its announced size checked
// against the room) and each user song copied, then the catalogue is rebuilt once (see
// AddPlacedSongs). A cancelled download stops the batch after it; what arrived is catalogued.
// `runner` shows a transfer, `waiter` a size probe; `deviceSongs` is the device's list.
Result<AddReport> AddCloudSongs(const CloudClient& client, const SongList& deviceSongs, const SongList& cloudSongs,
                                const SongList& userSongs, const std::filesystem::path& songFolder,
                                const std::string& codePage, const TransferRunner& runner,
                                const WaitRunner& waiter = {}, const AddHooks& hooks = {});

}  // namespace songloader
