// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/cloud/cloud_client.h"
#include "core/common/notice.h"
#include "core/common/translatable.h"

namespace songloader {

inline constexpr const char* kCheckNetworkMessage = SL_TRANSLATE_NOOP("Core", "Please check network!!");
inline constexpr const char* kNoNewSongsMessage = SL_TRANSLATE_NOOP("Core", "No new songs available!");

// "Please check network!!" as every cloud command shows it.
Notice CheckNetworkNotice();

// The reachability rule of every cloud command: ProbeNetwork, and once more when it fails.
bool CloudReachable(const CloudClient& client);

}  // namespace songloader
