// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/device/drive_system.h"

namespace songloader {

// Drives on Linux: the mounted block devices below the usual removable-media folders, with the
// facts about their disks taken from sysfs. Every path is a parameter so that fixture trees can
// stand in for the real system; the tables are read afresh on each question, as devices come and go.
class LinuxDriveSystem final : public DriveSystem {
public:
    struct Paths {
        std::filesystem::path mountInfo = "/proc/self/mountinfo";
        std::filesystem::path sysRoot = "/sys";
        // Volumes mounted at or below these folders can be a device.
        std::vector<std::filesystem::path> mountRoots = {"/media", "/run/media", "/mnt"};
        // Links named after file system labels, to the devices that carry them.
        std::filesystem::path labelLinks = "/dev/disk/by-label";
    };

    LinuxDriveSystem();
    explicit LinuxDriveSystem(Paths paths);

    std::vector<std::filesystem::path> DriveTable() const override;
    DriveKind KindOf(const std::filesystem::path& drive) const override;
    bool IsUsbDisk(const std::filesystem::path& drive) const override;
    bool IsAccessible(const std::filesystem::path& drive) const override;
    std::optional<std::vector<std::string>> DiskEnumList() const override;
    std::optional<std::filesystem::path> VolumeHolding(const std::filesystem::path& folder) const override;

    // The file system label of a drive, else the name of its mount folder (which desktops name
    // after the label).
    std::string Label(const std::filesystem::path& drive) const;

private:
    struct Mount {
        std::filesystem::path target;
        std::string source;
        dev_t devno = 0;
    };

    std::vector<Mount> ReadMounts() const;
    std::optional<Mount> MountAt(const std::filesystem::path& target) const;
    // The sysfs folder of the whole disk a mount lives on; nullopt for anything but a block device.
    std::optional<std::filesystem::path> DiskFolder(const Mount& mount) const;
    bool UnderMountRoot(const std::filesystem::path& target) const;

    Paths paths_;
};

}  // namespace songloader
