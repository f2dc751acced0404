// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/convert/work_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace songloader {

namespace {

constexpr std::string_view kPrefix = "songloader-convert-";
// A new folder lost to another program's sweep between its making and its lock is made again.
constexpr int kMakeAttempts = 5;

// The folder itself, opened without following a link; -1 when it is not a folder.
int OpenFolder(const std::filesystem::path& folder) {
    return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

}  // namespace

int SweepStaleWorkFolders(const std::filesystem::path& base) {
    int removed = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator it(base, error), end; !error && it != end; it.increment(error)) {
        const std::filesystem::path folder = it->path();
        if (folder.filename().string().rfind(kPrefix, 0) != 0) continue;
        const int fd = OpenFolder(folder);
        if (fd < 0) continue;
        struct stat facts {};
        // Another user's folders are theirs to clear; a held lock is a live program's folder.
        if (::fstat(fd, &facts) == 0 && facts.st_uid == ::geteuid() && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            std::error_code removeError;
            if (std::filesystem::remove_all(folder, removeError) > 0 && !removeError) ++removed;
        }
        ::close(fd);
    }
    return removed;
}

Result<WorkFolder> WorkFolder::Make() {
    const char* base = std::getenv("TMPDIR");
    return MakeIn(base && *base ? base : "/tmp");
}

Result<WorkFolder> WorkFolder::MakeIn(const std::filesystem::path& base) {
    SweepStaleWorkFolders(base);
    for (int attempt = 0; attempt < kMakeAttempts; ++attempt) {
        std::string pattern = (base / (std::string(kPrefix) + "XXXXXX")).string();
        if (!::mkdtemp(pattern.data())) {
            return Fail("cannot make a folder for converted files in " + base.string() + ": " + std::strerror(errno));
        }
        const int fd = OpenFolder(pattern);
        if (fd < 0 || ::flock(fd, LOCK_EX) != 0) {
            const std::string why = std::strerror(errno);
            if (fd >= 0) ::close(fd);
            std::error_code ignored;
            std::filesystem::remove(pattern, ignored);
            return Fail("cannot lock the folder for converted files " + pattern + ": " + why);
        }
        // A sweep that locked the folder first has removed it: it has no name any more.
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && held.st_nlink > 0 && ::lstat(pattern.c_str(), &named) == 0 &&
            named.st_ino == held.st_ino && named.st_dev == held.st_dev) {
            return WorkFolder(pattern, fd);
        }
        ::close(fd);
    }
    return Fail("cannot keep a folder for converted files in " + base.string());
}

WorkFolder::WorkFolder(WorkFolder&& other) noexcept : path_(std::move(other.path_)), lock_(other.lock_) {
    other.path_.clear();
    other.lock_ = -1;
}

WorkFolder::~WorkFolder() {
    if (!path_.empty()) {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    // The lock goes last: until the folder is gone, no sweep takes it.
    if (lock_ >= 0) ::close(lock_);
}

}  // namespace songloader
