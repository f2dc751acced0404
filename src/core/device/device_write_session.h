// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <memory>
#include <filesystem>
#include <string>

#include "core/device/device_identity.h"
#include "core/common/translatable.h"

namespace songloader {

inline constexpr const char* kDeviceBusyMessage =
    SL_TRANSLATE_NOOP("Core", "The device is busy with another song loader command.");
inline constexpr const char* kDeviceChangedMessage = SL_TRANSLATE_NOOP(
    "Core", "The USB drive was removed or changed. Choose it again with Auto-Check USB Drive or Select USB Drive.");

// How long a writer waits for another one to finish with the same device.
inline constexpr std::chrono::milliseconds kDeviceLockWait{10000};

// An exclusive lock on a device's song folder (flock on the folder itself, so nothing is left on
// the stick), held until destruction. Every song loader process that writes a device takes it.
class DeviceWriteLock {
public:
    // Waits up to `wait` for another holder to let go; locked() tells whether it succeeded.
    DeviceWriteLock(const std::filesystem::path& songFolder, std::chrono::milliseconds wait);
    ~DeviceWriteLock();
    DeviceWriteLock(const DeviceWriteLock&) = delete;
    DeviceWriteLock& operator=(const DeviceWriteLock&) = delete;

    bool locked() const { return locked_; }
    // The open song folder; -1 when it could not be opened.
    int folder() const { return fd_; }

private:
    int fd_ = -1;
    bool locked_ = false;
};

// Unwritable: the device is the chosen one but its song folder cannot be made (a read-only stick).
enum class DeviceWriteStatus { Ready, Busy, Changed, Unwritable };

// One writing command's hold on the device it was told to write: the write lock, and the check
// that the device is still the volume that was chosen, before every write and after any failure.
class DeviceWriteSession {
public:
    // Checks the identity, creates the song folder when missing, takes the lock and checks again.
    DeviceWriteSession(const DeviceIdentity& chosen, const std::filesystem::path& deviceRoot,
                       const MountFiles& files = {}, std::chrono::milliseconds wait = kDeviceLockWait);

    DeviceWriteStatus status() const { return status_; }
    bool ready() const { return status_ == DeviceWriteStatus::Ready; }
    // The message for a session that is not ready: the busy or the changed text, or why the song
    // folder cannot be made (with the system's reason).
    std::string refusal() const;

    // Call before each write, and after a write failed: false (for good) once the device was
    // removed or replaced, or its song folder is gone or answers with an I/O error.
    bool StillHolds();

    const std::filesystem::path& songFolder() const { return songFolder_; }
    // The descriptor of the locked song folder (-1 when none): the command's writes go in relative
    // to it (ReopenFolder), so nothing lands on whatever its path leads to once the device is gone.
    int lockedFolder() const { return lock_ ? lock_->folder() : -1; }

private:
    // The volume at the device's folder is still the chosen one: checked in full the first time and
    // whenever the kernel marked a change of the mount table since, assumed otherwise.
    bool IdentityHolds();

    DeviceIdentity chosen_;
    std::filesystem::path root_;
    std::filesystem::path songFolder_;
    MountFiles files_;
    DeviceWriteStatus status_ = DeviceWriteStatus::Changed;
    std::string unwritable_;
    std::unique_ptr<DeviceWriteLock> lock_;
    // The kernel's mount table, open to be polled for changes; null when the mount files are not
    // the kernel's (every check is then a full one).
    std::shared_ptr<const int> mountTable_;
    bool identityChecked_ = false;
};

}  // namespace songloader
