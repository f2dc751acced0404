// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/device/drive_system.h"

namespace songloader::test {

struct FakeDrive {
    std::filesystem::path mount;
    DriveKind kind = DriveKind::Removable;
    bool usb = true;
    bool accessible = true;
};

// A drive table given by the test, in table order.
class FakeDriveSystem final : public DriveSystem {
public:
    std::vector<FakeDrive> drives;
    std::optional<std::vector<std::string>> diskEnum = std::vector<std::string>{};

    std::vector<std::filesystem::path> DriveTable() const override;
    DriveKind KindOf(const std::filesystem::path& drive) const override;
    bool IsUsbDisk(const std::filesystem::path& drive) const override;
    bool IsAccessible(const std::filesystem::path& drive) const override;
    std::optional<std::vector<std::string>> DiskEnumList() const override { return diskEnum; }
    // The drive whose mount point is the longest prefix of `folder`.
    std::optional<std::filesystem::path> VolumeHolding(const std::filesystem::path& folder) const override;

private:
    const FakeDrive* Find(const std::filesystem::path& drive) const;
};

}  // namespace songloader::test
