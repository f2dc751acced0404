// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "core/common/device_folder.h"
#include "core/common/result.h"
#include "core/common/safe_file.h"

namespace songloader {

// The file a download lands in: a safely written file (SafeFileWriter) filled as the data arrives,
// flushed by Finish (it can then be checked under temporaryPath()) and renamed over the target only
// by Commit. Its write-out to the disk is started every few MiB while the transfer goes on, so that
// the final flush of a big video is short and the dirty data in memory stays small. Removes its
// temporary file unless committed.
class DownloadTarget {
public:
    explicit DownloadTarget(std::filesystem::path target);
    // With a temporary name of the caller's choice (the fixed names of a pair replacement).
    DownloadTarget(std::filesystem::path target, std::filesystem::path temporary);
    // The file `name` in an open folder (one opened below the device root without links).
    DownloadTarget(DeviceFolder folder, std::string name);
    DownloadTarget(DeviceFolder folder, std::string name, std::string temporaryName);

    // Fine while creating and writing worked; else why not.
    Result<> status() const { return file_.status(); }
    const std::filesystem::path& temporaryPath() const { return file_.temporaryPath(); }

    Result<> Write(const char* data, std::size_t size) { return file_.Write(data, size); }
    // fsync and close; the file stays under its temporary name.
    Result<> Finish() { return file_.Finish(); }
    // Finish when not done yet, rename over the target, flush the folder.
    Result<> Commit();
    // After Finish: the temporary file is left for the caller to put in place.
    void Release() { file_.Release(); }

private:
    SafeFileWriter file_;
};

}  // namespace songloader
