// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/file_stamp.h"

#include <sys/stat.h>

namespace songloader {

FileStamp StampOf(const std::filesystem::path& path) {
    struct stat info {};
    FileStamp stamp;
    if (::stat(path.c_str(), &info) != 0) return stamp;
    stamp.exists = true;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.mtimeNs = std::int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec;
    stamp.ctimeNs = std::int64_t{info.st_ctim.tv_sec} * 1000000000 + info.st_ctim.tv_nsec;
    return stamp;
}

}  // namespace songloader
