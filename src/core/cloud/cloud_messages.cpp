// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/cloud_messages.h"

namespace songloader {

Notice CheckNetworkNotice() { return {kCheckNetworkMessage, kCaptionErrorUpper, NoticeIcon::Exclamation}; }

bool CloudReachable(const CloudClient& client) { return client.ProbeNetwork().ok() || client.ProbeNetwork().ok(); }

}  // namespace songloader
