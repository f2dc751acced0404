// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/statvfs.h>

#include <cstdio>
#include <system_error>

#include "device_access.h"
#include "core/catalogue/list_file_reader.h"
#include "core/device/device_layout.h"
#include "core/device/drive_system.h"
#include "core/common/translatable.h"

namespace songloader::cli {

namespace {

// The volume's size for people, in decimal units as disks are sold; "?" when unknown.
std::string VolumeSize(const std::filesystem::path& drive) {
    struct statvfs facts {};
    if (::statvfs(drive.c_str(), &facts) != 0) return "?";
    const double bytes = static_cast<double>(facts.f_blocks) * static_cast<double>(facts.f_frsize);
    char text[32];
    if (bytes >= 1e9) std::snprintf(text, sizeof text, "%.1f GB", bytes / 1e9);
    else std::snprintf(text, sizeof text, "%.0f MB", bytes / 1e6);
    return text;
}

std::string KindText(const DriveSystem& system, const std::filesystem::path& drive) {
    std::string kind;
    switch (system.KindOf(drive)) {
        case DriveKind::Removable: kind = "removable"; break;
        case DriveKind::Fixed: kind = "fixed"; break;
        case DriveKind::Other: kind = "other"; break;
    }
    return system.IsUsbDisk(drive) ? kind + ",usb" : kind;
}

int Devices(Console& console) {
    const LinuxDriveSystem system = DriveSystemFromEnvironment();
    const auto chosen = ChooseDeviceDrive(system);
    for (const std::filesystem::path& drive : system.DriveTable()) {
        std::error_code error;
        const bool hasList = std::filesystem::exists(SongFolderOf(drive) / kDeviceListName, error);
        console.out << (chosen == drive ? '*' : ' ') << '\t' << drive.string() << '\t' << system.Label(drive) << '\t'
                    << VolumeSize(drive) << '\t' << KindText(system, drive) << '\t'
                    << (hasList ? "songs/SgList.dat" : "-") << '\n';
    }
    if (!chosen) {
        console.Fail() << "Please insert device!!\n";
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace

void AddDevicesCommand(CommandSet& commands) {
    commands.Add(
        "devices", SL_TRANSLATE_NOOP("Cli", "list the volumes that can be the device"), "",
        SL_TRANSLATE_NOOP("Cli",
                          "Lists the mounted volumes the automatic search considers, one a line, tab-separated:\n"
                          "a * for the one it chooses (the one commands take without DEVICE), the mount point,\n"
                          "the label, the size, removable or fixed (with usb for a disk on USB), and\n"
                          "songs/SgList.dat when the volume holds a song list, else -.\n"
                          "Exit 1 with \"Please insert device!!\" when it would choose none.\n"),
        [](const Operands&, Console& console) { return Devices(console); });
}

}  // namespace songloader::cli
