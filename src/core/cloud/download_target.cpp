// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/download_target.h"

#include "core/common/temporary_name.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace songloader {

namespace {

// How much is written before its write-out is started.
constexpr off_t kWriteOutWindow = 8 << 20;

// The target's messages go inside a caller's sentence.
std::string LowerFirst(std::string text) {
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z') text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

}  // namespace

DownloadTarget::DownloadTarget(std::filesystem::path target) : DownloadTarget(target, TemporaryNameFor(target)) {}

DownloadTarget::DownloadTarget(std::filesystem::path target, std::filesystem::path temporary)
    : targetName_(target.filename().string()),
      temporaryName_(temporary.filename().string()),
      target_(std::move(target)),
      temporary_(std::move(temporary)) {
    Result<DeviceFolder> folder = OpenFolder(target_.parent_path());
    if (!folder) {
        error_ = LowerFirst(folder.message());
        return;
    }
    folder_ = std::move(*folder);
    Create();
}

DownloadTarget::DownloadTarget(DeviceFolder folder, std::string name)
    : DownloadTarget(std::move(folder), name, TemporaryNameFor(name).string()) {}

DownloadTarget::DownloadTarget(DeviceFolder folder, std::string name, std::string temporaryName)
    : folder_(std::move(folder)),
      targetName_(std::move(name)),
      temporaryName_(std::move(temporaryName)),
      target_(folder_.path() / targetName_),
      temporary_(folder_.path() / temporaryName_) {
    Create();
}

void DownloadTarget::Create() {
    // O_EXCL never opens an existing name, a symbolic link included.
    Result<int> fd = folder_.CreateFile(temporaryName_);
    if (!fd) {
        error_ = LowerFirst(fd.message());
        return;
    }
    fd_ = *fd;
    createdTemporary_ = true;
}

DownloadTarget::~DownloadTarget() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && createdTemporary_) (void)folder_.Remove(temporaryName_);
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
    if (Result<> renamed = folder_.Rename(temporaryName_, targetName_); !renamed) {
        error_ = LowerFirst(renamed.message());
        return false;
    }
    committed_ = true;
    (void)folder_.Sync();
    return true;
}

}  // namespace songloader
