// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>

namespace songloader {

// What tells one version of a file from another without reading it: inode, size and change times.
// A file replaced by rename gets a new inode; one rewritten in place a new size or mtime.
struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    std::int64_t size = 0;
    std::int64_t mtimeNs = 0;
    std::int64_t ctimeNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of `path` as it is now (exists false when there is none).
FileStamp StampOf(const std::filesystem::path& path);

}  // namespace songloader
