// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "core/common/device_folder.h"
#include "core/common/temporary_name.h"
#include "core/common/write_out.h"

namespace songloader {

// Writes a file under a temporary name beside its target and moves it over the target only once
// it is complete and flushed, so a failure never leaves a half-written target behind.
// A writer that is neither committed nor published removes its temporary file.
class SafeFileWriter {
public:
    // A file in a folder the user chose: the folder is opened as given, links included.
    explicit SafeFileWriter(std::filesystem::path target);
    // With a temporary name of the caller's choice (the fixed names of a pair replacement).
    SafeFileWriter(std::filesystem::path target, std::filesystem::path temporary);
    // The file `name` in an open folder (one opened below the device root without links).
    SafeFileWriter(DeviceFolder folder, std::string name);
    SafeFileWriter(DeviceFolder folder, std::string name, std::string temporaryName);
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
    // Copies up to `size` bytes from the open file `in` (in-kernel where the file systems allow it,
    // else through a buffer). The bytes copied (0 at the end of `in`), or -1 with error() set.
    long long CopyFrom(int in, std::size_t size);

    // Flushes and closes the temporary file (fsync). Returns ok().
    bool Finish();
    // Renames the finished temporary file over the target and flushes the folder.
    bool Publish();
    // Finish + Publish.
    bool Commit() { return Finish() && Publish(); }
    // Gives up: removes the temporary file, leaves the target as it was.
    void Abort();
    // After Finish: the temporary file is left for the caller to put in place.
    void Release() { published_ = true; }

private:
    void Fail(const std::string& what, int errorNumber);
    void Create();

    DeviceFolder folder_;
    std::string targetName_;
    std::string temporaryName_;
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    static constexpr std::size_t kCopyBufferBytes = 1 << 20;
    int fd_ = -1;
    bool useCopyRange_ = true;
    off_t copied_ = 0;  // bytes CopyFrom has written
    WriteOut writeOut_;  // copied steps go to the disk while the next is copied
    bool finished_ = false;
    bool published_ = false;
    bool createdTemporary_ = false;  // only a file this writer made is removed
    std::string error_;
};

// Flushes a folder's entries (after a rename into it). False on failure.
bool SyncFolder(const std::filesystem::path& folder);

}  // namespace songloader
