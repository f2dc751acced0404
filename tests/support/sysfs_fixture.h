// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/device/linux_drive_system.h"
#include "support/temp_dir.h"

namespace songloader::test {

struct DiskSpec {
    std::string name;       // sdb
    bool usb = true;        // its device path runs through a USB host
    bool removable = true;  // sysfs removable attribute
    std::string vendor = "Kingston";
    std::string model = "DataTraveler 3.0";
    std::string rev = "PMAP";
    int scsiType = 0;  // 5 = optical drive
    int major = 8;
    int firstMinor = 0;
};

// A fixture tree standing in for /sys, /proc/self/mountinfo and the media folders:
// disks laid out as the kernel lays them out (device folders, /sys/block, /sys/dev/block and
// /sys/class/block links), and a mountinfo file written line by line in the kernel's format.
class SysfsFixture {
public:
    SysfsFixture();

    const std::filesystem::path& root() const { return dir_.path(); }
    std::filesystem::path media() const { return dir_ / "media"; }
    std::filesystem::path mnt() const { return dir_ / "mnt"; }

    void AddDisk(const DiskSpec& disk);
    // Partition `number` of a disk added before.
    void AddPartition(const DiskSpec& disk, int number);
    // A mountinfo line; the mount point folder is created unless `createFolder` is false.
    // Blanks and backslashes in the mount point are escaped as the kernel escapes them.
    void Mount(const std::filesystem::path& mountPoint, int major, int minor, const std::string& source,
               const std::string& fsType = "vfat", bool createFolder = true);

    LinuxDriveSystem System() const;
    // The same tables for songloader-cli: its SONGLOADER_* environment entries.
    std::vector<std::string> Environment() const;

private:
    std::filesystem::path DiskFolder(const DiskSpec& disk) const;

    TempDir dir_;
    int nextMountId_ = 100;
};

}  // namespace songloader::test
