// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

namespace songloader {

inline constexpr const char* kEjectedMessage = "The USB drive can now be removed safely.";

enum class EjectStatus {
    Ejected,      // unmounted and powered off (or at least unmounted, see detail)
    Busy,         // another program holds files open on it
    NoService,    // the system's disk service cannot be reached
    NotFound,     // no drive of the disk service is mounted there
    Failed,       // the service refused; detail says why
};

struct EjectResult {
    EjectStatus status = EjectStatus::Failed;
    std::string detail;  // the service's own words, when it gave any
};

// Unmounts the volume mounted at a mount point and powers its drive off, through the system's
// disk service. The desktop program and the CLI share one implementation (src/udisks).
class DriveEjector {
public:
    virtual ~DriveEjector() = default;
    virtual EjectResult Eject(const std::filesystem::path& mountPoint) = 0;
};

struct EjectOutcome {
    bool ok = false;
    std::string message;  // for people: the success text or why not
};

// Safe removal of the device whose volume is mounted at `mountPoint`: its file system flushed
// (syncfs), then unmounted and powered off by `ejector`. Refused with the busy text while another
// song loader command writes the device.
EjectOutcome EjectDevice(DriveEjector& ejector, const std::filesystem::path& mountPoint,
                         const std::filesystem::path& songFolder);

}  // namespace songloader
