#include "core/cloud/partial_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace songloader {

namespace {

// Large enough that a fast transfer writes in big blocks, small enough to keep memory flat.
constexpr std::size_t kStreamBufferBytes = 1 << 20;

void SetError(std::string* error, const std::string& what) {
    if (error) *error = what + ": " + std::strerror(errno);
}

std::filesystem::path TemporaryNameFor(const std::filesystem::path& target, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    std::string name = "." + target.filename().string() + ".part-" + std::to_string(::getpid()) + "-" +
                       std::to_string(counter.fetch_add(1)) + "-" + std::to_string(attempt);
    return target.parent_path() / name;
}

void SyncFolder(const std::filesystem::path& folder) {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // some file systems refuse to sync a folder; the rename itself has happened
    ::close(fd);
}

}  // namespace

PartialFile::~PartialFile() { Discard(); }

bool PartialFile::Create(const std::filesystem::path& target, std::string* error) {
    Discard();
    target_ = target;
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate = TemporaryNameFor(target, attempt);
        int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            SetError(error, "cannot create " + candidate.string());
            return false;
        }
        file_ = ::fdopen(fd, "wb");
        if (!file_) {
            SetError(error, "cannot open " + candidate.string());
            ::close(fd);
            ::unlink(candidate.c_str());
            return false;
        }
        temporary_ = std::move(candidate);
        buffer_ = std::make_unique<char[]>(kStreamBufferBytes);
        std::setvbuf(file_, buffer_.get(), _IOFBF, kStreamBufferBytes);
        return true;
    }
    errno = EEXIST;
    SetError(error, "cannot create a temporary file beside " + target.string());
    return false;
}

bool PartialFile::Commit(std::string* error) {
    if (!file_) {
        if (error) *error = "no file to commit";
        return false;
    }
    bool ok = std::fflush(file_) == 0;
    if (!ok) SetError(error, "cannot write " + temporary_.string());
    if (ok && ::fsync(::fileno(file_)) != 0) {
        SetError(error, "cannot flush " + temporary_.string());
        ok = false;
    }
    if (std::fclose(file_) != 0 && ok) {
        SetError(error, "cannot close " + temporary_.string());
        ok = false;
    }
    file_ = nullptr;
    buffer_.reset();
    if (ok && std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        SetError(error, "cannot replace " + target_.string());
        ok = false;
    }
    if (!ok) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
        return false;
    }
    temporary_.clear();
    SyncFolder(target_.parent_path());
    return true;
}

void PartialFile::Discard() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    buffer_.reset();
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

}  // namespace songloader
