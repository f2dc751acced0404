// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/device/device_write_session.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/statfs.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "core/device/device_layout.h"

namespace songloader {

namespace {

constexpr std::chrono::milliseconds kLockRetry{50};

// The mount table file when it is the kernel's own, which marks every change of the table
// (POLLPRI) for each open file; null otherwise (a plain file never marks one).
std::shared_ptr<const int> OpenKernelMountTable(const std::filesystem::path& mountInfo) {
    const int fd = ::open(mountInfo.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct statfs where {};
    if (::fstatfs(fd, &where) != 0 || where.f_type != PROC_SUPER_MAGIC) {
        ::close(fd);
        return nullptr;
    }
    return std::shared_ptr<const int>(new int(fd), [](const int* p) {
        ::close(*p);
        delete p;
    });
}

}  // namespace

DeviceWriteLock::DeviceWriteLock(const std::filesystem::path& songFolder, std::chrono::milliseconds wait) {
    fd_ = ::open(songFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            locked_ = true;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) return;
        if (std::chrono::steady_clock::now() >= deadline) return;
        std::this_thread::sleep_for(kLockRetry);
    }
}

DeviceWriteLock::~DeviceWriteLock() {
    if (fd_ >= 0) ::close(fd_);  // closing the last descriptor releases the lock
}

DeviceWriteSession::DeviceWriteSession(const DeviceIdentity& chosen, const std::filesystem::path& deviceRoot,
                                       const MountFiles& files, std::chrono::milliseconds wait)
    : chosen_(chosen),
      root_(deviceRoot),
      songFolder_(SongFolderOf(deviceRoot)),
      files_(files),
      mountTable_(OpenKernelMountTable(files.mountInfo)) {
    // Creating the song folder is a write too: only on the chosen volume.
    if (!IdentityHolds()) return;
    if (const Result<> folder = EnsureSongFolder(songFolder_); !folder) {
        unwritable_ = folder.message();
        status_ = DeviceWriteStatus::Unwritable;
        return;
    }
    lock_ = std::make_unique<DeviceWriteLock>(songFolder_, wait);
    if (lock_->folder() < 0) return;
    if (!lock_->locked()) {
        status_ = DeviceWriteStatus::Busy;
        return;
    }
    // The wait may have been long: the device may have gone meanwhile.
    status_ = DeviceWriteStatus::Ready;
    StillHolds();
}

std::string DeviceWriteSession::refusal() const {
    if (status_ == DeviceWriteStatus::Unwritable) return unwritable_;
    return status_ == DeviceWriteStatus::Busy ? kDeviceBusyMessage : kDeviceChangedMessage;
}

bool DeviceWriteSession::StillHolds() {
    if (status_ != DeviceWriteStatus::Ready) return false;
    bool holds = IdentityHolds();
    // The locked folder must still be the song folder of that volume. (A stick pulled without
    // unmounting still shows in the mount table: the next file made in the folder fails, and
    // the caller asks again.)
    struct stat locked {};
    struct stat named {};
    if (holds) {
        holds = ::fstat(lock_->folder(), &locked) == 0 && ::stat(songFolder_.c_str(), &named) == 0 &&
                locked.st_dev == named.st_dev && locked.st_ino == named.st_ino && locked.st_nlink > 0;
    }
    if (!holds) status_ = DeviceWriteStatus::Changed;
    return holds;
}

bool DeviceWriteSession::IdentityHolds() {
    // Reading the identity parses the mount table and the disk links: a batch of thousands of
    // files asks before each one, and the answer can only change with the mount table.
    if (identityChecked_ && mountTable_) {
        pollfd table{*mountTable_, POLLPRI, 0};
        struct stat root {};
        if (::poll(&table, 1, 0) == 0 && ::stat(root_.c_str(), &root) == 0 && root.st_dev == chosen_.folderDevice &&
            root.st_ino == chosen_.folderInode) {
            return true;
        }
    }
    identityChecked_ = true;
    return DeviceStillHolds(chosen_, root_, files_);
}

}  // namespace songloader
