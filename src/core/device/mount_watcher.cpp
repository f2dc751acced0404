// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/device/mount_watcher.h"

#include <fcntl.h>
#include <libmount/libmount.h>
#include <poll.h>
#include <unistd.h>

#include <memory>

namespace songloader {

namespace {

struct TableDeleter {
    void operator()(libmnt_table* table) const { mnt_unref_table(table); }
};
struct IterDeleter {
    void operator()(libmnt_iter* iter) const { mnt_free_iter(iter); }
};

}  // namespace

MountWatcher::MountWatcher(std::filesystem::path mountInfo, const DriveSystem& drives)
    : mountInfo_(std::move(mountInfo)), drives_(drives) {
    fd_ = ::open(mountInfo_.c_str(), O_RDONLY | O_CLOEXEC);
    mounts_ = ReadMounts();
    devices_ = NewDeviceCandidates();
}

MountWatcher::~MountWatcher() {
    if (fd_ >= 0) ::close(fd_);
}

bool MountWatcher::WaitForChange(std::chrono::milliseconds timeout) const {
    if (fd_ < 0) return false;
    pollfd watched{fd_, POLLPRI, 0};
    if (::poll(&watched, 1, static_cast<int>(timeout.count())) <= 0) return false;
    // The mark stays until the file is read again from the start.
    char buffer[4096];
    ::lseek(fd_, 0, SEEK_SET);
    while (::read(fd_, buffer, sizeof buffer) > 0) {
    }
    return (watched.revents & (POLLPRI | POLLERR)) != 0;
}

MountWatcher::Mounts MountWatcher::ReadMounts() const {
    Mounts mounts;
    std::unique_ptr<libmnt_table, TableDeleter> table(mnt_new_table_from_file(mountInfo_.c_str()));
    std::unique_ptr<libmnt_iter, IterDeleter> iter(mnt_new_iter(MNT_ITER_FORWARD));
    if (!table || !iter) return mounts;
    libmnt_fs* entry = nullptr;
    while (mnt_table_next_fs(table.get(), iter.get(), &entry) == 0) {
        if (const char* target = mnt_fs_get_target(entry)) {
            mounts.emplace(std::filesystem::path(target).lexically_normal(), mnt_fs_get_id(entry));
        }
    }
    return mounts;
}

std::set<std::filesystem::path> MountWatcher::NewDeviceCandidates() const {
    std::set<std::filesystem::path> devices;
    for (const std::filesystem::path& drive : drives_.DriveTable()) {
        if (drives_.KindOf(drive) == DriveKind::Removable || drives_.IsUsbDisk(drive)) devices.insert(drive);
    }
    return devices;
}

std::vector<MountEvent> MountWatcher::Changes() {
    std::vector<MountEvent> events;
    Mounts mounts = ReadMounts();
    for (const auto& mount : mounts_) {
        if (!mounts.count(mount)) events.push_back({MountEvent::Kind::Unmounted, mount.first});
    }
    std::set<std::filesystem::path> devices = NewDeviceCandidates();
    for (const auto& device : devices) {
        if (!devices_.count(device)) events.push_back({MountEvent::Kind::NewDevice, device});
    }
    mounts_ = std::move(mounts);
    devices_ = std::move(devices);
    return events;
}

}  // namespace songloader
