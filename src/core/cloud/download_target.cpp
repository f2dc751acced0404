// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/download_target.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/common/safe_file.h"

namespace songloader {

namespace {

// How much is written before its write-out is started.
constexpr off_t kWriteOutWindow = 8 << 20;

}  // namespace

DownloadTarget::DownloadTarget(std::filesystem::path target) : DownloadTarget(target, TemporaryNameFor(target)) {}

DownloadTarget::DownloadTarget(std::filesystem::path target, std::filesystem::path temporary)
    : target_(std::move(target)), temporary_(std::move(temporary)) {
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd_ < 0) Fail("cannot create " + temporary_.string(), errno);
}

DownloadTarget::~DownloadTarget() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
}

void DownloadTarget::Fail(const std::string& what, int errorNumber) {
    if (error_.empty()) error_ = what + ": " + std::strerror(errorNumber);
}

bool DownloadTarget::Write(const char* data, std::size_t size) {
    if (!ok() || fd_ < 0) return false;
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail("cannot write " + temporary_.string(), errno);
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
        written_ += n;
    }
    writeOut_.Advance(fd_, written_, kWriteOutWindow);
    return true;
}

bool DownloadTarget::Finish() {
    if (!ok() || fd_ < 0) return false;
    if (::fsync(fd_) != 0) Fail("cannot flush " + temporary_.string(), errno);
    if (::close(fd_) != 0) Fail("cannot close " + temporary_.string(), errno);
    fd_ = -1;
    return ok();
}

bool DownloadTarget::Commit() {
    if (fd_ >= 0 && !Finish()) return false;
    if (!ok() || committed_) return false;
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        Fail("cannot replace " + target_.string(), errno);
        return false;
    }
    committed_ = true;
    SyncFolder(target_.parent_path());
    return true;
}

}  // namespace songloader
