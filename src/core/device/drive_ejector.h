// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

#include "core/common/result.h"
#include "core/common/translatable.h"

namespace songloader {

inline constexpr const char* kEjectedMessage = SL_TRANSLATE_NOOP("Core", "The USB drive can now be removed safely.");

// Why the disk service did not eject a volume.
enum class EjectRefusal {
    Busy,       // another program holds files open on it
    NoService,  // the system's disk service cannot be reached
    NotFound,   // no drive of the disk service is mounted there
    Failed,     // the service refused; its own words say why
};

// The failure, in words for people, of an eject of the volume at `mountPoint`; `detail` is the
// service's own words, when it gave any.
Failure EjectFailure(EjectRefusal why, const std::filesystem::path& mountPoint, const std::string& detail = {});

// Unmounts the volume mounted at a mount point and powers its drive off, through the system's
// disk service (a drive that cannot be powered off is still ejected once unmounted). A refusal is
// an EjectFailure. The desktop program and the CLI share one implementation (src/udisks).
class DriveEjector {
public:
    virtual ~DriveEjector() = default;
    virtual Result<> Eject(const std::filesystem::path& mountPoint) = 0;
};

// Safe removal of the device whose volume is mounted at `mountPoint`: its file system flushed
// (syncfs), then unmounted and powered off by `ejector`. Refused with the busy text while another
// song loader command writes the device. On success the caller says kEjectedMessage.
Result<> EjectDevice(DriveEjector& ejector, const std::filesystem::path& mountPoint,
                     const std::filesystem::path& songFolder);

}  // namespace songloader
