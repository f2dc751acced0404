// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace songloader {

// The drive table holds at most this many volumes; only the first kAutoChoiceRows of them can be
// chosen by the automatic search; it leaves the last rows alone.
inline constexpr std::size_t kDriveTableSize = 23;
inline constexpr std::size_t kAutoChoiceRows = 20;

// A disk enumeration value that starts with this names a card reader of the "Generic" vendor.
inline constexpr std::string_view kGenericReaderPrefix = "USBSTOR\\Disk&Ven_Gen";

enum class DriveKind { Other, Removable, Fixed };

// What the device search asks of the platform. A drive is named by its mount point.
class DriveSystem {
public:
    virtual ~DriveSystem() = default;

    // The volumes that can be a device, in table order, at most kDriveTableSize.
    virtual std::vector<std::filesystem::path> DriveTable() const = 0;
    virtual DriveKind KindOf(const std::filesystem::path& drive) const = 0;
    // True when the volume's disk sits on a USB bus; false when that cannot be found out.
    virtual bool IsUsbDisk(const std::filesystem::path& drive) const = 0;
    // Whether the drive can be used as a folder right now.
    virtual bool IsAccessible(const std::filesystem::path& drive) const = 0;
    // The system's ordered disk enumeration list; nullopt when it cannot be read.
    virtual std::optional<std::vector<std::string>> DiskEnumList() const = 0;
    // The mount point of the volume that holds `folder`; nullopt when none is known.
    virtual std::optional<std::filesystem::path> VolumeHolding(const std::filesystem::path& folder) const = 0;
};

// The automatic device search: the first removable volume or the first fixed USB disk among the
// choosable rows; when both exist, the accessible one, else the disk enumeration decides.
std::optional<std::filesystem::path> ChooseDeviceDrive(const DriveSystem& system);

// True when the first "Generic" card reader of the disk enumeration list stands at index 2 or
// later, or when there is none and the list has at least two disks; false when unreadable.
bool CheckDiskEnum(const DriveSystem& system);

// The device root for a folder the user picked: the mount point holding it when that volume is
// removable or on USB, else the picked folder itself (so any folder can serve as a device).
std::filesystem::path DeviceRootForPickedFolder(const DriveSystem& system, const std::filesystem::path& folder);

}  // namespace songloader
