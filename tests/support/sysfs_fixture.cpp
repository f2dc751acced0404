// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/sysfs_fixture.h"

#include <fstream>
#include <stdexcept>

namespace songloader::test {

namespace fs = std::filesystem;

namespace {

void WriteAttribute(const fs::path& file, const std::string& value) { WriteBytes(file, value + "\n"); }

std::string Escaped(const std::string& path) {
    std::string out;
    for (char c : path) {
        switch (c) {
            case ' ': out += "\\040"; break;
            case '\t': out += "\\011"; break;
            case '\n': out += "\\012"; break;
            case '\\': out += "\\134"; break;
            default: out += c;
        }
    }
    return out;
}

std::string DevNumber(int major, int minor) { return std::to_string(major) + ":" + std::to_string(minor); }

}  // namespace

SysfsFixture::SysfsFixture() {
    fs::create_directories(dir_ / "sys" / "block");
    fs::create_directories(dir_ / "sys" / "dev" / "block");
    fs::create_directories(dir_ / "sys" / "class" / "block");
    fs::create_directories(media());
    fs::create_directories(mnt());
    WriteBytes(dir_ / "mountinfo",
               "22 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw\n"
               "23 22 0:21 / /proc rw,nosuid shared:12 - proc proc rw\n");
}

fs::path SysfsFixture::DiskFolder(const DiskSpec& disk) const {
    const fs::path bus =
        disk.usb ? fs::path("pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0") : fs::path("pci0000:00/0000:00:17.0/ata1");
    return dir_ / "sys" / "devices" / bus / ("host_" + disk.name) / "target" / "0:0:0:0" / "block" / disk.name;
}

void SysfsFixture::AddDisk(const DiskSpec& disk) {
    const fs::path folder = DiskFolder(disk);
    const fs::path scsi = folder.parent_path().parent_path();
    fs::create_directories(folder);
    WriteAttribute(folder / "removable", disk.removable ? "1" : "0");
    WriteAttribute(folder / "dev", DevNumber(disk.major, disk.firstMinor));
    WriteAttribute(scsi / "vendor", disk.vendor + "  ");  // the kernel pads these fields
    WriteAttribute(scsi / "model", disk.model + "    ");
    WriteAttribute(scsi / "rev", disk.rev);
    WriteAttribute(scsi / "type", std::to_string(disk.scsiType));
    fs::create_directory_symlink("../..", folder / "device");
    fs::create_directory_symlink(fs::relative(folder, dir_ / "sys" / "block"), dir_ / "sys" / "block" / disk.name);
    fs::create_directory_symlink(fs::relative(folder, dir_ / "sys" / "dev" / "block"),
                                 dir_ / "sys" / "dev" / "block" / DevNumber(disk.major, disk.firstMinor));
    fs::create_directory_symlink(fs::relative(folder, dir_ / "sys" / "class" / "block"),
                                 dir_ / "sys" / "class" / "block" / disk.name);
}

void SysfsFixture::AddPartition(const DiskSpec& disk, int number) {
    const std::string name = disk.name + std::to_string(number);
    const fs::path folder = DiskFolder(disk) / name;
    fs::create_directories(folder);
    WriteAttribute(folder / "partition", std::to_string(number));
    WriteAttribute(folder / "dev", DevNumber(disk.major, disk.firstMinor + number));
    fs::create_directory_symlink(fs::relative(folder, dir_ / "sys" / "dev" / "block"),
                                 dir_ / "sys" / "dev" / "block" / DevNumber(disk.major, disk.firstMinor + number));
    fs::create_directory_symlink(fs::relative(folder, dir_ / "sys" / "class" / "block"),
                                 dir_ / "sys" / "class" / "block" / name);
}

void SysfsFixture::Mount(const fs::path& mountPoint, int major, int minor, const std::string& source,
                         const std::string& fsType, bool createFolder) {
    if (createFolder) fs::create_directories(mountPoint);
    std::ofstream out(dir_ / "mountinfo", std::ios::app);
    out << nextMountId_++ << " 22 " << DevNumber(major, minor) << " / " << Escaped(mountPoint.string())
        << " rw,nosuid,nodev,relatime shared:200 - " << fsType << " " << source << " rw\n";
    if (!out) throw std::runtime_error("cannot write mountinfo");
}

LinuxDriveSystem SysfsFixture::System() const {
    LinuxDriveSystem::Paths paths;
    paths.mountInfo = dir_ / "mountinfo";
    paths.sysRoot = dir_ / "sys";
    paths.mountRoots = {media(), dir_ / "run" / "media", mnt()};
    return LinuxDriveSystem(paths);
}

std::vector<std::string> SysfsFixture::Environment() const {
    return {
        "SONGLOADER_MOUNTINFO=" + (dir_ / "mountinfo").string(), "SONGLOADER_SYSFS=" + (dir_ / "sys").string(),
        "SONGLOADER_MOUNT_ROOTS=" + media().string() + ":" + (dir_ / "run" / "media").string() + ":" + mnt().string()};
}

}  // namespace songloader::test
