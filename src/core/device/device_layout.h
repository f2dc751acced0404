// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/common/result.h"

namespace songloader {

// Where things live on a device: the device root holds songs/ and midi/;
// a song's media file is songs/<first three digits>/<number><extension>.
std::filesystem::path SongFolderOf(const std::filesystem::path& deviceRoot);
std::filesystem::path MidiFolderOf(const std::filesystem::path& deviceRoot);

// songs/<first three characters of numberText>
std::filesystem::path MediaFolder(const std::filesystem::path& songFolder, std::string_view numberText);

// The extension of a media file name, with its dot, from the last "." of the file name
// (a dot in a folder name does not count); empty when the name has none.
std::string MediaExtension(const std::filesystem::path& mediaPath);

// songs/<first three>/<numberText><extension of sourceMedia>
std::filesystem::path MediaTargetPath(const std::filesystem::path& songFolder, std::string_view numberText,
                                      const std::filesystem::path& sourceMedia);

// Creates the song folder when missing; fails when it cannot exist as a folder (with the system's
// reason). A song folder that is a symbolic link is refused.
Result<> EnsureSongFolder(const std::filesystem::path& songFolder);

// True when `folder` is a folder itself, not a symbolic link to one.
bool IsRealFolder(const std::filesystem::path& folder);

// `folder` as a place to write: an existing real folder, or one made now (with missing parents)
// when missing; the value says whether it was made now. A failure says why not (a symbolic link is
// refused, so no write follows a link out of the device's song folder).
Result<bool> RealFolderForWrite(const std::filesystem::path& folder);

}  // namespace songloader
