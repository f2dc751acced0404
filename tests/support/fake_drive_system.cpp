// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/fake_drive_system.h"

#include <algorithm>

namespace songloader::test {

std::vector<std::filesystem::path> FakeDriveSystem::DriveTable() const {
    std::vector<std::filesystem::path> table;
    for (const FakeDrive& drive : drives) table.push_back(drive.mount);
    return table;
}

const FakeDrive* FakeDriveSystem::Find(const std::filesystem::path& drive) const {
    auto it = std::find_if(drives.begin(), drives.end(), [&](const FakeDrive& d) { return d.mount == drive; });
    return it == drives.end() ? nullptr : &*it;
}

DriveKind FakeDriveSystem::KindOf(const std::filesystem::path& drive) const {
    const FakeDrive* found = Find(drive);
    return found ? found->kind : DriveKind::Other;
}

bool FakeDriveSystem::IsUsbDisk(const std::filesystem::path& drive) const {
    const FakeDrive* found = Find(drive);
    return found && found->usb;
}

bool FakeDriveSystem::IsAccessible(const std::filesystem::path& drive) const {
    const FakeDrive* found = Find(drive);
    return found && found->accessible;
}

std::optional<std::filesystem::path> FakeDriveSystem::VolumeHolding(const std::filesystem::path& folder) const {
    std::optional<std::filesystem::path> best;
    for (const FakeDrive& drive : drives) {
        const auto [end, rest] = std::mismatch(drive.mount.begin(), drive.mount.end(), folder.begin(), folder.end());
        (void)rest;
        if (end != drive.mount.end()) continue;
        if (!best || drive.mount.string().size() > best->string().size()) best = drive.mount;
    }
    return best;
}

}  // namespace songloader::test
