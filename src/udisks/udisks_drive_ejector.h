// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>

#include "core/device/drive_ejector.h"

namespace songloader {

// Ejects through UDisks2 on the system bus: the block device whose file system is mounted at the
// mount point is unmounted (Filesystem.Unmount), then its drive powered off (Drive.PowerOff).
// Works without a running Qt event loop; the system bus address comes from
// DBUS_SYSTEM_BUS_ADDRESS when set.
class UdisksDriveEjector final : public DriveEjector {
public:
    explicit UdisksDriveEjector(std::chrono::milliseconds timeout = std::chrono::seconds(25));
    Result<> Eject(const std::filesystem::path& mountPoint) override;

private:
    std::chrono::milliseconds timeout_;
};

}  // namespace songloader
