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

Result<> SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // Some file systems cannot sync folders (EINVAL): nothing more can be done there.
    const int error = fd < 0 ? errno : ::fsync(fd) == 0 ? 0 : errno;
    if (fd >= 0) ::close(fd);
    if (error == 0 || error == EINVAL) return {};
    return Fail("Cannot flush " + folder.string() + ": " + std::strerror(error));
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
        failure_ = songloader::Fail(LowerFirst(folder.message()));
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
        failure_ = songloader::Fail(LowerFirst(fd.message()));
        return;
    }
    fd_ = *fd;
    createdTemporary_ = true;
}

SafeFileWriter::~SafeFileWriter() {
    if (!published_) Abort();
}

Result<> SafeFileWriter::status() const {
    if (failure_) return *failure_;
    return {};
}

Result<> SafeFileWriter::Keep(const Failure& failure) {
    if (!failure_) failure_ = failure;
    return *failure_;
}

Result<> SafeFileWriter::Fault(const std::string& what, int errorNumber) {
    return Keep(songloader::Fail(what + ": " + std::strerror(errorNumber)));
}

Result<> SafeFileWriter::Write(const void* data, std::size_t size) {
    if (failure_) return *failure_;
    if (finished_) return Keep(songloader::Fail("cannot write " + temporary_.string() + ": it is closed"));
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = ::write(fd_, p, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Fault("cannot write " + temporary_.string(), errno);
        }
        // No room and no reason given: the usual one.
        if (n == 0) return Fault("cannot write " + temporary_.string(), ENOSPC);
        p += n;
        size -= static_cast<std::size_t>(n);
        written_ += n;
    }
    if (writeOutWindow_ >= 0) writeOut_.Advance(fd_, written_, writeOutWindow_);
    return {};
}

Result<std::size_t> SafeFileWriter::CopyFrom(int in, std::size_t size) {
    if (Result<> fine = status(); !fine) return fine.failure();
    if (finished_) return Keep(songloader::Fail("cannot write " + temporary_.string() + ": it is closed")).failure();
    if (useCopyRange_) {
        for (;;) {
            const ssize_t n = ::copy_file_range(in, nullptr, fd_, nullptr, size, 0);
            if (n >= 0) {
                writeOut_.Advance(fd_, written_ += n, kCopyWriteOutBytes);
                return static_cast<std::size_t>(n);
            }
            if (errno == EINTR) continue;
            // Across file systems, or where a file system cannot: copy through a buffer.
            if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
                return Fault("cannot write " + temporary_.string(), errno).failure();
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
        if (n < 0) return Fault("cannot read the source of " + temporary_.string(), errno).failure();
        if (n == 0) break;
        filled += static_cast<std::size_t>(n);
    }
    if (Result<> written = Write(buffer.data(), filled); !written) return written.failure();
    writeOut_.Advance(fd_, written_, kCopyWriteOutBytes);
    return filled;
}

Result<> SafeFileWriter::Finish() {
    if (finished_) return status();
    if (fd_ >= 0 && !failure_ && ::fsync(fd_) != 0) (void)Fault("cannot flush " + temporary_.string(), errno);
    return Close();
}

Result<> SafeFileWriter::Close() {
    if (finished_) return status();
    finished_ = true;
    if (fd_ >= 0) {
        if (::close(fd_) != 0) (void)Fault("cannot close " + temporary_.string(), errno);
        fd_ = -1;
    }
    return status();
}

Result<> SafeFileWriter::Publish() {
    if (failure_) return *failure_;
    if (published_) return {};
    if (!finished_) return Keep(songloader::Fail("cannot rename " + temporary_.string() + ": it is not finished"));
    if (Result<> renamed = folder_.Rename(temporaryName_, targetName_); !renamed) {
        return Keep(songloader::Fail(LowerFirst(renamed.message())));
    }
    published_ = true;
    if (Result<> synced = folder_.Sync(); !synced) return Keep(songloader::Fail(LowerFirst(synced.message())));
    return {};
}

Result<> SafeFileWriter::Commit() {
    if (Result<> finished = Finish(); !finished) return finished;
    return Publish();
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
