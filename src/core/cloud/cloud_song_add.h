// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

#include "core/catalogue/row_element.h"
#include "core/cloud/cloud_client.h"
#include "core/cloud/download_protocol.h"
#include "core/common/device_folder.h"
#include "core/common/result.h"
#include "core/entry/device_songs.h"

namespace songloader {

// "Add these cloud songs" (with the user songs queued beside them) as one batch: the size of each
// cloud song is asked first, and the whole batch is admitted with the user songs' sizes and the
// announced ones (nothing is written when it does not fit, see AdmitBatch); the batch is recorded,
// each cloud song's video is downloaded as songs/NNN/NUMBER.mp4 and each user song copied, into the
// open song folder `songFolder`, then the catalogue is rebuilt once (see AddPlacedSongs). A
// cancelled download stops the batch after it; what arrived is catalogued.
// `runner` shows a transfer, `waiter` the size probes; `deviceSongs` is the device's list.
Result<AddReport> AddCloudSongs(const CloudClient& client, const SongList& deviceSongs, const SongList& cloudSongs,
                                const SongList& userSongs, const DeviceFolder& songFolder, const std::string& codePage,
                                const TransferRunner& runner, const WaitRunner& waiter = {},
                                const AddHooks& hooks = {});

}  // namespace songloader
