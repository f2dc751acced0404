// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string_view>

namespace songloader {

// How an entry that is a symbolic link to a folder is told to the caller.
enum class LinkedFolder { CountsAsFolder, CountsAsFile };

// Calls `onEntry(name, isFolder)` for every entry of `folder` but "." and "..", by name: no path
// object per entry, as a device holds tens of thousands of files. Nothing when `folder` cannot be
// opened or is itself a symbolic link.
template <typename OnEntry>
void ForEachFolderEntry(const std::filesystem::path& folder, LinkedFolder linked, OnEntry&& onEntry) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return;
    DIR* listing = ::fdopendir(fd);
    if (!listing) {
        ::close(fd);
        return;
    }
    while (const dirent* item = ::readdir(listing)) {
        const std::string_view name = item->d_name;
        if (name == "." || name == "..") continue;
        bool isFolder = item->d_type == DT_DIR;
        const bool look =
            item->d_type == DT_UNKNOWN || (item->d_type == DT_LNK && linked == LinkedFolder::CountsAsFolder);
        struct stat info {};
        if (look) {
            const int flags = linked == LinkedFolder::CountsAsFolder ? 0 : AT_SYMLINK_NOFOLLOW;
            isFolder = ::fstatat(::dirfd(listing), item->d_name, &info, flags) == 0 && S_ISDIR(info.st_mode);
        }
        onEntry(name, isFolder);
    }
    ::closedir(listing);
}

}  // namespace songloader
