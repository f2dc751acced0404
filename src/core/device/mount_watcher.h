// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <filesystem>
#include <set>
#include <utility>
#include <vector>

#include "core/device/drive_system.h"

namespace songloader {

struct MountEvent {
    enum class Kind {
        Unmounted,  // a mount went away (or was replaced by another on the same folder)
        NewDevice,  // a removable or USB volume appeared in the drive table
    };
    Kind kind;
    std::filesystem::path mountPoint;

    friend bool operator==(const MountEvent&, const MountEvent&) = default;
};

// Turns changes of the mount table into events by comparing snapshots: the mounts (mount point
// and mount id) of the mountinfo file, and the drive table of the drive system. The kernel marks
// /proc/self/mountinfo with POLLPRI/POLLERR when the table changes, so a window can watch
// fileDescriptor() and call Changes() when it fires; Changes() may also be called on a timer.
class MountWatcher {
public:
    MountWatcher(std::filesystem::path mountInfo, const DriveSystem& drives);
    ~MountWatcher();
    MountWatcher(const MountWatcher&) = delete;
    MountWatcher& operator=(const MountWatcher&) = delete;

    // The open mountinfo file to poll for POLLPRI; -1 when it could not be opened.
    int fileDescriptor() const { return fd_; }
    // Waits up to `timeout` for the kernel to mark a change; false when none came (or for a
    // plain file, which never marks one).
    bool WaitForChange(std::chrono::milliseconds timeout) const;
    // What changed since the last call (or since construction); empty when nothing did.
    std::vector<MountEvent> Changes();

private:
    using Mounts = std::set<std::pair<std::filesystem::path, int>>;
    Mounts ReadMounts() const;
    std::set<std::filesystem::path> NewDeviceCandidates() const;

    std::filesystem::path mountInfo_;
    const DriveSystem& drives_;
    int fd_ = -1;
    Mounts mounts_;
    std::set<std::filesystem::path> devices_;
};

}  // namespace songloader
