// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/safe_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>
#include <algorithm>
#include <system_error>

namespace songloader {

namespace {

// The writer's messages go inside a caller's sentence.
std::string LowerFirst(std::string text) {
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z') text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

}  // namespace

bool SyncFolder(const std::filesystem::path& folder) {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0 || errno == EINVAL;  // some file systems cannot sync folders
    ::close(fd);
    return ok;
}

SafeFileWriter::SafeFileWriter(std::filesystem::path target) : SafeFileWriter(target, TemporaryNameFor(target)) {}

SafeFileWriter::SafeFileWriter(std::filesystem::path target, std::filesystem::path temporary)
    : targetName_(target.filename().string()),
      temporaryName_(temporary.filename().string()),
      target_(std::move(target)),
      temporary_(std::move(temporary)) {
    Result<DeviceFolder> folder = OpenFolder(target_.parent_path());
    if (!folder) {
        finished_ = true;
        error_ = LowerFirst(folder.message());
        return;
    }
    folder_ = std::move(*folder);
    Create();
}

SafeFileWriter::SafeFileWriter(DeviceFolder folder, std::string name)
    : SafeFileWriter(std::move(folder), name, TemporaryNameFor(name).string()) {}

SafeFileWriter::SafeFileWriter(DeviceFolder folder, std::string name, std::string temporaryName)
    : folder_(std::move(folder)),
      targetName_(std::move(name)),
      temporaryName_(std::move(temporaryName)),
      target_(folder_.path() / targetName_),
      temporary_(folder_.path() / temporaryName_) {
    Create();
}

void SafeFileWriter::Create() {
    // O_EXCL never opens an existing name, a symbolic link included.
    Result<int> fd = folder_.CreateFile(temporaryName_);
    if (!fd) {
        finished_ = true;
        error_ = LowerFirst(fd.message());
        return;
    }
    fd_ = *fd;
    createdTemporary_ = true;
}

SafeFileWriter::~SafeFileWriter() {
    if (!published_) Abort();
}

void SafeFileWriter::Fail(const std::string& what, int errorNumber) {
    if (error_.empty()) error_ = what + ": " + std::strerror(errorNumber);
}

bool SafeFileWriter::Write(const void* data, std::size_t size) {
    if (!ok() || finished_) return false;
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = ::write(fd_, p, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail("cannot write " + temporary_.string(), errno);
            return false;
        }
        if (n == 0) {  // no room and no reason given: the usual one
            Fail("cannot write " + temporary_.string(), ENOSPC);
            return false;
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

long long SafeFileWriter::CopyFrom(int in, std::size_t size) {
    if (!ok() || finished_) return -1;
    if (useCopyRange_) {
        for (;;) {
            const ssize_t n = ::copy_file_range(in, nullptr, fd_, nullptr, size, 0);
            if (n >= 0) {
                writeOut_.Advance(fd_, copied_ += n);
                return n;
            }
            if (errno == EINTR) continue;
            // Across file systems, or where a file system cannot: copy through a buffer.
            if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
                Fail("cannot write " + temporary_.string(), errno);
                return -1;
            }
            useCopyRange_ = false;
            break;
        }
    }
    std::vector<char> buffer(std::min<std::size_t>(size, kCopyBufferBytes));
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        const ssize_t n = ::read(in, buffer.data() + filled, buffer.size() - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            Fail("cannot read the source of " + temporary_.string(), errno);
            return -1;
        }
        if (n == 0) break;
        filled += static_cast<std::size_t>(n);
    }
    if (!Write(buffer.data(), filled)) return -1;
    writeOut_.Advance(fd_, copied_ += static_cast<off_t>(filled));
    return static_cast<long long>(filled);
}

bool SafeFileWriter::Finish() {
    if (finished_) return ok();
    finished_ = true;
    if (fd_ >= 0) {
        if (ok() && ::fsync(fd_) != 0) Fail("cannot flush " + temporary_.string(), errno);
        if (::close(fd_) != 0) Fail("cannot close " + temporary_.string(), errno);
        fd_ = -1;
    }
    return ok();
}

bool SafeFileWriter::Publish() {
    if (!finished_ || !ok() || published_) return ok() && published_;
    if (Result<> renamed = folder_.Rename(temporaryName_, targetName_); !renamed) {
        error_ = LowerFirst(renamed.message());
        return false;
    }
    published_ = true;
    if (Result<> synced = folder_.Sync(); !synced) error_ = LowerFirst(synced.message());
    return ok();
}

void SafeFileWriter::Abort() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    finished_ = true;
    if (!published_ && createdTemporary_) {
        (void)folder_.Remove(temporaryName_);
    }
}

}  // namespace songloader
