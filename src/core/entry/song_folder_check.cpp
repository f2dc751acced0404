// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/entry/song_folder_check.h"

#include <system_error>

#include "core/catalogue/catalogue_database.h"
#include "core/catalogue/list_file_reader.h"
#include "core/device/device_layout.h"

namespace songloader {

bool IsDeviceSongFolder(const DriveSystem& system, const std::filesystem::path& folder) {
    std::error_code error;
    if (std::filesystem::exists(folder / kDeviceListName, error) ||
        std::filesystem::exists(folder / kDeviceDatabaseName, error)) {
        return true;
    }
    std::filesystem::path plain = folder.lexically_normal();
    if (!plain.has_filename()) plain = plain.parent_path();
    return plain == SongFolderOf(plain.parent_path()) && DeviceRootForPickedFolder(system, plain) != plain;
}

}  // namespace songloader
