// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

#include "core/device/drive_system.h"

namespace songloader {

// A device's songs folder given in place of the device: it holds a catalogue, or it is the songs
// folder of a removable or USB volume. Taking it as a device would write songs/songs/.
bool IsDeviceSongFolder(const DriveSystem& system, const std::filesystem::path& folder);

}  // namespace songloader
