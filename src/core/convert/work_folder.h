// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

#include "core/common/result.h"

namespace songloader {

// A folder of its own on the computer for the converted files of one batch (in $TMPDIR, else
// /tmp), removed with what it holds when this goes. While it lives, the folder is locked (flock on
// the folder itself), so that a killed program's folder can be told from one in use: making a new
// one first removes this user's `songloader-convert-*` folders that no live program holds.
class WorkFolder {
public:
    static Result<WorkFolder> Make();
    // The same in `base` instead of the temporary folder.
    static Result<WorkFolder> MakeIn(const std::filesystem::path& base);
    WorkFolder(WorkFolder&& other) noexcept;
    WorkFolder& operator=(WorkFolder&&) = delete;
    WorkFolder(const WorkFolder&) = delete;
    ~WorkFolder();
    const std::filesystem::path& path() const { return path_; }

private:
    WorkFolder(std::filesystem::path path, int lock) : path_(std::move(path)), lock_(lock) {}
    std::filesystem::path path_;
    int lock_ = -1;  // the open folder, locked
};

// Removes the work folders in `base` whose program is gone (none holds their lock); returns how many.
int SweepStaleWorkFolders(const std::filesystem::path& base);

}  // namespace songloader
