// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "core/common/device_folder.h"
#include "core/common/result.h"
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

    // Fine while every step so far worked; else the first failure (creating the temporary file
    // included). Every later step returns that failure again and does nothing.
    Result<> status() const;
    const std::filesystem::path& target() const { return target_; }
    const std::filesystem::path& temporaryPath() const { return temporary_; }
    const std::string& temporaryName() const { return temporaryName_; }

    Result<> Write(const void* data, std::size_t size);
    Result<> Write(const std::string& bytes) { return Write(bytes.data(), bytes.size()); }
    // Copies up to `size` bytes from the open file `in` (in-kernel where the file systems allow it,
    // else through a buffer): the bytes copied, 0 at the end of `in`.
    Result<std::size_t> CopyFrom(int in, std::size_t size);
    // From now on what Write writes is put on its way to the disk once `window` bytes wait (see
    // WriteOut), so that the final flush of a big file is short.
    void WriteOutEvery(off_t window) { writeOutWindow_ = window; }

    // Flushes and closes the temporary file (fsync).
    Result<> Finish();
    // Closes the temporary file without flushing it: for a caller that flushes many files at once
    // (StagedFiles) and only then puts them in place. Release hands the file over.
    Result<> Close();
    // Renames the finished temporary file over the target and flushes the folder.
    Result<> Publish();
    // Finish + Publish.
    Result<> Commit();
    // Gives up: removes the temporary file, leaves the target as it was.
    void Abort();
    // After Finish or Close: the temporary file is left for the caller to put in place.
    void Release() { published_ = true; }
    // Publish renamed the file over the target, or Release handed it to the caller.
    bool published() const { return published_; }

private:
    Result<> Fault(const std::string& what, int errorNumber);
    Result<> Keep(const Failure& failure);
    void Create();

    DeviceFolder folder_;
    std::string targetName_;
    std::string temporaryName_;
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    static constexpr std::size_t kCopyBufferBytes = 1 << 20;
    // A copy starts writing out once this much waits. A smaller file is left to the closing flush
    // (its own, or the one of its batch): a write-out started for each small file on its own makes
    // the file system allocate and commit file by file, and the next file's creation waits for it.
    static constexpr off_t kCopyWriteOutBytes = 8 << 20;
    int fd_ = -1;
    bool useCopyRange_ = true;
    off_t written_ = 0;          // bytes Write and CopyFrom have written
    off_t writeOutWindow_ = -1;  // below 0: only CopyFrom starts write-outs
    WriteOut writeOut_;          // written steps go to the disk while the next is written
    bool finished_ = false;
    bool published_ = false;
    bool createdTemporary_ = false;  // only a file this writer made is removed
    std::optional<Failure> failure_;
};

// Flushes a folder's entries (after a rename into it).
Result<> SyncFolder(const std::filesystem::path& folder);

}  // namespace songloader
