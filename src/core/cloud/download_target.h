// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <string>

#include "core/common/device_folder.h"
#include "core/common/write_out.h"

namespace songloader {

// The file a download lands in: a temporary name beside the target, written as the data arrives,
// flushed by Finish (it can then be checked under temporaryPath()) and renamed over the target only
// by Commit. Its write-out to the disk is started every
// few MiB while the transfer goes on, so that the final flush of a big video is short and the dirty
// data in memory stays small. Removes its temporary file unless committed.
class DownloadTarget {
public:
    explicit DownloadTarget(std::filesystem::path target);
    // With a temporary name of the caller's choice (the fixed names of a pair replacement).
    DownloadTarget(std::filesystem::path target, std::filesystem::path temporary);
    // The file `name` in an open folder (one opened below the device root without links).
    DownloadTarget(DeviceFolder folder, std::string name);
    DownloadTarget(DeviceFolder folder, std::string name, std::string temporaryName);
    ~DownloadTarget();
    DownloadTarget(const DownloadTarget&) = delete;
    DownloadTarget& operator=(const DownloadTarget&) = delete;

    // False once creating or writing failed; error() tells why.
    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }

    const std::filesystem::path& temporaryPath() const { return temporary_; }

    bool Write(const char* data, std::size_t size);
    // fsync and close; the file stays under its temporary name.
    bool Finish();
    // Finish when not done yet, rename over the target, flush the folder.
    bool Commit();
    // After Finish: the temporary file is left for the caller to put in place.
    void Release() { committed_ = true; }

private:
    void Fail(const std::string& what, int errorNumber);
    void Create();

    DeviceFolder folder_;
    std::string targetName_;
    std::string temporaryName_;
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int fd_ = -1;
    off_t written_ = 0;
    WriteOut writeOut_;
    bool committed_ = false;
    bool createdTemporary_ = false;  // only a file this target made is removed
    std::string error_;
};

}  // namespace songloader
