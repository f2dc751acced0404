// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/device/drive_ejector.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>

#include "core/device/device_write_session.h"

namespace songloader {

namespace {

std::string WithDetail(std::string text, const std::string& detail) {
    return detail.empty() ? text : text + " (" + detail + ")";
}

}  // namespace

Failure EjectFailure(EjectRefusal why, const std::filesystem::path& mountPoint, const std::string& detail) {
    switch (why) {
        case EjectRefusal::Busy: return Fail(mountPoint.string() + " is in use by another program");
        case EjectRefusal::NoService:
            return Fail(
                WithDetail("The USB drive cannot be ejected here: the system's disk service (UDisks2) "
                           "is not available. Unmount it with the file manager.",
                           detail));
        case EjectRefusal::NotFound: return Fail(mountPoint.string() + " is not a drive that can be ejected.");
        case EjectRefusal::Failed: break;
    }
    return Fail(WithDetail("The USB drive could not be ejected.", detail));
}

Result<> EjectDevice(DriveEjector& ejector, const std::filesystem::path& mountPoint,
                     const std::filesystem::path& songFolder) {
    std::error_code error;
    if (std::filesystem::is_directory(songFolder, error)) {
        // Only a look: a held lock would keep the folder open and the volume busy.
        const DeviceWriteLock probe(songFolder, std::chrono::milliseconds(0));
        if (probe.folder() >= 0 && !probe.locked()) return Fail(kDeviceBusyMessage);
    }
    const int root = ::open(mountPoint.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (root < 0) return Fail("The USB drive cannot be ejected: " + mountPoint.string() + ": " + std::strerror(errno));
    const bool synced = ::syncfs(root) == 0;
    const int syncError = errno;
    ::close(root);
    if (!synced) {
        return Fail("The USB drive could not be flushed and was not ejected: " + std::string(std::strerror(syncError)));
    }
    return ejector.Eject(mountPoint);
}

}  // namespace songloader
