// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/device/drive_system.h"

#include <algorithm>
#include <functional>

namespace songloader {

namespace {

// The first drive of the table that passes `test`, counted only when it is choosable.
std::optional<std::filesystem::path> FirstChoosable(const std::vector<std::filesystem::path>& table,
                                                    const std::function<bool(const std::filesystem::path&)>& test) {
    const auto rows = std::min(table.size(), kDriveTableSize);
    for (std::size_t i = 0; i < rows; ++i) {
        if (!test(table[i])) continue;
        if (i < kAutoChoiceRows) return table[i];
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::filesystem::path> ChooseDeviceDrive(const DriveSystem& system) {
    const auto table = system.DriveTable();
    const auto removable =
        FirstChoosable(table, [&](const auto& drive) { return system.KindOf(drive) == DriveKind::Removable; });
    const auto usb = FirstChoosable(
        table, [&](const auto& drive) { return system.KindOf(drive) == DriveKind::Fixed && system.IsUsbDisk(drive); });
    if (!removable || !usb) return removable ? removable : usb;

    const bool removableOpen = system.IsAccessible(*removable);
    const bool usbOpen = system.IsAccessible(*usb);
    if (removableOpen != usbOpen) return removableOpen ? removable : usb;
    return CheckDiskEnum(system) ? removable : usb;
}

bool CheckDiskEnum(const DriveSystem& system) {
    const auto list = system.DiskEnumList();
    if (!list) return false;
    std::size_t stop = list->size();
    for (std::size_t i = 0; i < list->size(); ++i) {
        if (std::string_view((*list)[i]).substr(0, kGenericReaderPrefix.size()) == kGenericReaderPrefix) {
            stop = i;
            break;
        }
    }
    return stop > 1;
}

std::filesystem::path DeviceRootForPickedFolder(const DriveSystem& system, const std::filesystem::path& folder) {
    const auto volume = system.VolumeHolding(folder);
    if (volume && (system.KindOf(*volume) == DriveKind::Removable || system.IsUsbDisk(*volume))) return *volume;
    return folder;
}

}  // namespace songloader
