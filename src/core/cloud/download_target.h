// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <utility>

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
    // Named as a SafeFileWriter names its file: a path, or a name in an open folder, each with an
    // optional temporary name of the caller's choice.
    template <typename... Names>
    explicit DownloadTarget(Names&&... names) : file_(std::forward<Names>(names)...) {
        file_.WriteOutEvery(kWriteOutWindow);
    }

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
    // How much is written before its write-out is started.
    static constexpr off_t kWriteOutWindow = 8 << 20;

    SafeFileWriter file_;
};

}  // namespace songloader
