#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace songloader {

// Writes a file under a temporary name beside its target and moves it over the target only once
// it is complete and flushed, so a failure never leaves a half-written target behind.
// A writer that is neither committed nor published removes its temporary file.
class SafeFileWriter {
public:
    explicit SafeFileWriter(std::filesystem::path target);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // False when the temporary file could not be created or a write failed; error() tells why.
    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    const std::filesystem::path& target() const { return target_; }
    const std::filesystem::path& temporaryPath() const { return temporary_; }

    bool Write(const void* data, std::size_t size);
    bool Write(const std::string& bytes) { return Write(bytes.data(), bytes.size()); }

    // Flushes and closes the temporary file (fsync). Returns ok().
    bool Finish();
    // Renames the finished temporary file over the target and flushes the folder.
    bool Publish();
    // Finish + Publish.
    bool Commit() { return Finish() && Publish(); }
    // Gives up: removes the temporary file, leaves the target as it was.
    void Abort();

private:
    void Fail(const std::string& what, int errorNumber);

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int fd_ = -1;
    bool finished_ = false;
    bool published_ = false;
    std::string error_;
};

// Flushes a folder's entries (after a rename into it). False on failure.
bool SyncFolder(const std::filesystem::path& folder);

// A temporary name beside `target` that no other writer uses at the same time.
std::filesystem::path TemporaryNameFor(const std::filesystem::path& target);

}  // namespace songloader
