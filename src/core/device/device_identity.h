// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

namespace songloader {

// Where the system tells which volume is mounted where; parameters so that fixture files can
// stand in for them.
struct MountFiles {
    std::filesystem::path mountInfo = "/proc/self/mountinfo";
    std::filesystem::path diskLinks = "/dev/disk";  // by-uuid/ and by-label/
};

// Which volume a chosen device is: enough to tell it from another stick, a re-mount of the same
// stick, or the bare mount-point folder left on the system disk when the stick is gone.
struct DeviceIdentity {
    dev_t folderDevice = 0;  // st_dev and inode of the device root
    ino_t folderInode = 0;
    // The mount whose mount point is the device root; -1 and 0 for a plain folder.
    int mountId = -1;
    dev_t mountDevice = 0;
    std::string uuid;  // of the file system, where the system names one
    std::string label;

    friend bool operator==(const DeviceIdentity&, const DeviceIdentity&) = default;
};

// The identity of the volume at `deviceRoot` now; nullopt when there is no folder there.
std::optional<DeviceIdentity> ReadDeviceIdentity(const std::filesystem::path& deviceRoot, const MountFiles& files = {});

// True while `deviceRoot` is still the volume it was when `chosen` was read.
bool DeviceStillHolds(const DeviceIdentity& chosen, const std::filesystem::path& deviceRoot,
                      const MountFiles& files = {});

}  // namespace songloader
