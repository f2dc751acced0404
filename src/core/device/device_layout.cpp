// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/device/device_layout.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace songloader {

std::filesystem::path SongFolderOf(const std::filesystem::path& deviceRoot) { return deviceRoot / "songs"; }

std::filesystem::path MidiFolderOf(const std::filesystem::path& deviceRoot) { return deviceRoot / "midi"; }

std::filesystem::path MediaFolder(const std::filesystem::path& songFolder, std::string_view numberText) {
    return songFolder / std::string(numberText.substr(0, 3));
}

std::string MediaExtension(const std::filesystem::path& mediaPath) {
    const std::string name = mediaPath.filename().string();
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::filesystem::path MediaTargetPath(const std::filesystem::path& songFolder, std::string_view numberText,
                                      const std::filesystem::path& sourceMedia) {
    return MediaFolder(songFolder, numberText) / (std::string(numberText) + MediaExtension(sourceMedia));
}

Result<> EnsureSongFolder(const std::filesystem::path& songFolder) {
    if (Result<bool> ready = RealFolderForWrite(songFolder); !ready) return ready.failure();
    return {};
}

bool IsRealFolder(const std::filesystem::path& folder) {
    struct stat info {};
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

Result<bool> RealFolderForWrite(const std::filesystem::path& folder) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) {
        if (errno != ENOENT) return Fail("Cannot open " + folder.string() + ": " + std::strerror(errno));
        if (folder.has_parent_path() && folder.parent_path() != folder) {
            if (Result<bool> parent = RealFolderForWrite(folder.parent_path()); !parent) return parent.failure();
        }
        if (::mkdir(folder.c_str(), 0755) == 0) return true;
        // Another command made it meanwhile: then it is checked as any folder that was there.
        if (errno != EEXIST || ::lstat(folder.c_str(), &info) != 0) {
            return Fail("Cannot create " + folder.string() + ": " + std::strerror(errno));
        }
    }
    if (S_ISLNK(info.st_mode)) return Fail(folder.string() + " is a symbolic link: nothing is written through it");
    if (!S_ISDIR(info.st_mode)) return Fail(folder.string() + " is not a folder");
    return false;
}

}  // namespace songloader
