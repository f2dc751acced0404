// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/device_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace songloader {

namespace {

std::shared_ptr<const int> Owned(int fd) {
    return std::shared_ptr<const int>(new int(fd), [](const int* p) {
        ::close(*p);
        delete p;
    });
}

// A descriptor opened without waiting, checked to be a regular file, then made blocking.
Result<int> RegularOnly(int fd, const std::filesystem::path& path) {
    if (fd < 0) return SystemFailure("Cannot open", path, errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return SystemFailure("Cannot open", path, error);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return Fail(path.string() + " is not a regular file");
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

}  // namespace

Failure SystemFailure(const std::string& what, const std::filesystem::path& path, int errorNumber) {
    return Fail(what + " " + path.string() + ": " + std::strerror(errorNumber));
}

Result<int> DeviceFolder::CreateFile(const std::string& name, mode_t mode) const {
    const int fd = ::openat(fd_ ? *fd_ : -1, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0) return SystemFailure("Cannot create", path_ / name, errno);
    return fd;
}

Result<int> DeviceFolder::OpenForReading(const std::string& name) const {
    return RegularOnly(::openat(fd(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC), path_ / name);
}

Result<> DeviceFolder::Rename(const std::string& from, const std::string& to) const {
    if (::renameat(fd(), from.c_str(), fd(), to.c_str()) != 0)
        return SystemFailure("Cannot replace", path_ / to, errno);
    return {};
}

Result<> DeviceFolder::Remove(const std::string& name) const {
    if (::unlinkat(fd(), name.c_str(), 0) != 0 && errno != ENOENT)
        return SystemFailure("Cannot remove", path_ / name, errno);
    return {};
}

Result<> DeviceFolder::RemoveFolder(const std::string& name) const {
    if (::unlinkat(fd(), name.c_str(), AT_REMOVEDIR) != 0) return SystemFailure("Cannot remove", path_ / name, errno);
    return {};
}

bool DeviceFolder::Holds(const std::string& name) const {
    struct stat info {};
    return ::fstatat(fd(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

bool DeviceFolder::SameFile(const std::string& first, const std::string& second) const {
    struct stat a {};
    struct stat b {};
    return ::fstatat(fd(), first.c_str(), &a, AT_SYMLINK_NOFOLLOW) == 0 &&
           ::fstatat(fd(), second.c_str(), &b, AT_SYMLINK_NOFOLLOW) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

std::vector<std::string> DeviceFolder::Names() const {
    std::vector<std::string> names;
    const int fd = ::openat(this->fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return names;
    DIR* listing = ::fdopendir(fd);
    if (!listing) {
        ::close(fd);
        return names;
    }
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(listing);
    return names;
}

Result<> DeviceFolder::Sync() const {
    // Some file systems cannot flush a folder (EINVAL): their entries are written anyway.
    if (::fsync(fd()) != 0 && errno != EINVAL) return SystemFailure("Cannot flush", path_, errno);
    return {};
}

Result<DeviceFolder> DeviceFolder::Below(const std::string& name, bool create) const {
    const std::filesystem::path path = path_ / name;
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) {
        return Fail(path.string() + " is not a folder of the device");
    }
    bool made = false;
    int fd = ::openat(this->fd(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT && create) {
        if (::mkdirat(this->fd(), name.c_str(), 0755) == 0) {
            made = true;
        } else if (errno != EEXIST) {
            return SystemFailure("Cannot create", path, errno);
        }
        fd = ::openat(this->fd(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    }
    if (fd < 0) {
        const int error = errno;
        struct stat info {};
        if (::fstatat(this->fd(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
            if (S_ISLNK(info.st_mode))
                return Fail(path.string() + " is a symbolic link: nothing is written through it");
            if (!S_ISDIR(info.st_mode)) return Fail(path.string() + " is not a folder");
        }
        return SystemFailure("Cannot open", path, error);
    }
    DeviceFolder folder;
    folder.fd_ = Owned(fd);
    folder.path_ = path;
    folder.created_ = made;
    return folder;
}

Result<DeviceFolder> OpenFolder(const std::filesystem::path& folder) {
    const std::filesystem::path path = folder.empty() ? std::filesystem::path(".") : folder;
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return SystemFailure("Cannot open", folder, errno);
    DeviceFolder opened;
    opened.fd_ = Owned(fd);
    opened.path_ = folder;
    return opened;
}

Result<DeviceFolder> ReopenFolder(int folder, const std::filesystem::path& path) {
    const int fd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return SystemFailure("Cannot open", path, errno);
    DeviceFolder opened;
    opened.fd_ = Owned(fd);
    opened.path_ = path;
    return opened;
}

Result<DeviceFolder> OpenFolderBelow(const std::filesystem::path& root, const std::filesystem::path& relative,
                                     bool create) {
    Result<DeviceFolder> folder = OpenFolder(root);
    for (const auto& part : relative) {
        if (!folder) break;
        const std::string name = part.string();
        if (name.empty() || name == ".") continue;
        folder = folder->Below(name, create);
    }
    return folder;
}

Result<int> OpenRegularFile(const std::filesystem::path& path) {
    return RegularOnly(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC), path);
}

}  // namespace songloader
