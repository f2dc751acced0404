// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace songloader {

// What killed runs leave on a device, and how the next command deals with it.

// Holding the device write lock: finishes or discards an interrupted replacement of the device
// catalogue (SgList.dat + usbsong.db) and of the cloud catalogue (Msong.db + MgList.dat), then
// removes every stale temporary of the song folder, its sub-folders and midi/. The messages of
// what could not be done (empty when all went well).
std::vector<std::string> MendInterruptedWrites(const std::filesystem::path& deviceRoot);

// For a command that opens a device: when a pair replacement was interrupted there, takes the
// write lock for the moment it needs and finishes or discards it; messages as above.
std::vector<std::string> FinishInterruptedReplacements(const std::filesystem::path& deviceRoot);

// The temporaries on the device that no run is using any more (shown by verify).
std::vector<std::filesystem::path> DeviceTemporaries(const std::filesystem::path& deviceRoot);

}  // namespace songloader
