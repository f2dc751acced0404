#include "core/common/safe_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace songloader {

std::filesystem::path TemporaryNameFor(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    std::filesystem::path name = target;
    name += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    return name;
}

bool SyncFolder(const std::filesystem::path& folder) {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0 || errno == EINVAL;  // some file systems cannot sync folders
    ::close(fd);
    return ok;
}

SafeFileWriter::SafeFileWriter(std::filesystem::path target)
    : target_(std::move(target)), temporary_(TemporaryNameFor(target_)) {
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd_ < 0) Fail("cannot create " + temporary_.string(), errno);
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
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
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
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        Fail("cannot replace " + target_.string(), errno);
        return false;
    }
    published_ = true;
    if (!SyncFolder(target_.parent_path())) Fail("cannot flush the folder of " + target_.string(), errno);
    return ok();
}

void SafeFileWriter::Abort() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    finished_ = true;
    if (!published_) {
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
    }
}

}  // namespace songloader
