// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/common/result.h"

namespace songloader {

// An open folder. Every file made, renamed or removed through it lands in this very folder, even
// when a name on the way to it is swapped for a symbolic link later: the writer works relative to
// the open folder, never through its path again. The path is kept for messages.
class DeviceFolder {
public:
    DeviceFolder() = default;

    bool open() const { return fd_ != nullptr; }
    int fd() const { return fd_ ? *fd_ : -1; }
    const std::filesystem::path& path() const { return path_; }
    // True when the last folder of the path was made by the call that opened it.
    bool created() const { return created_; }

    // A new file `name` for writing; never opens an existing name (a symbolic link included).
    Result<int> CreateFile(const std::string& name, mode_t mode = 0644) const;
    // Opens the regular file `name` for reading without following a link or waiting on a FIFO.
    Result<int> OpenForReading(const std::string& name) const;
    // Renames `from` over `to`, both in this folder.
    Result<> Rename(const std::string& from, const std::string& to) const;
    // Removes the file `name`; a missing file counts as removed.
    Result<> Remove(const std::string& name) const;
    // Removes the empty folder `name`.
    Result<> RemoveFolder(const std::string& name) const;
    // The entry `name` itself (a link is not followed); false when missing.
    bool Holds(const std::string& name) const;
    // True when both names are the same file (a folder that ignores letter case).
    bool SameFile(const std::string& first, const std::string& second) const;
    // The names the folder lists, in its own order ("." and ".." left out).
    std::vector<std::string> Names() const;
    // Flushes the folder's entries.
    Result<> Sync() const;
    // The sub-folder `name`, not through a link; made when missing and `create` is set.
    Result<DeviceFolder> Below(const std::string& name, bool create) const;

private:
    friend Result<DeviceFolder> OpenFolder(const std::filesystem::path& folder);
    friend Result<DeviceFolder> ReopenFolder(int folder, const std::filesystem::path& path);
    std::shared_ptr<const int> fd_;
    std::filesystem::path path_;
    bool created_ = false;
};

// `relative` below `root`, opened one folder at a time with no symbolic link followed (the root
// itself is opened as given: how the user reached the device is theirs). With `create`, missing
// folders are made. A link, a file where a folder should be or ".." on the way is refused.
Result<DeviceFolder> OpenFolderBelow(const std::filesystem::path& root, const std::filesystem::path& relative,
                                     bool create = false);

// A folder opened as given, links included (a place the user chose, not one on the device).
Result<DeviceFolder> OpenFolder(const std::filesystem::path& folder);

// The folder open as the descriptor `folder` once more (a descriptor of its own; no path is looked
// up, so it is that very folder even when its name now leads elsewhere); `path` is for messages.
Result<DeviceFolder> ReopenFolder(int folder, const std::filesystem::path& path);

// Opens `path` for reading only when it is a regular file: a FIFO, a device node or a folder is
// refused without waiting. The descriptor is blocking again when returned.
Result<int> OpenRegularFile(const std::filesystem::path& path);

// "<what> <path>: <system's reason>"
Failure SystemFailure(const std::string& what, const std::filesystem::path& path, int errorNumber);

}  // namespace songloader
