// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/device/device_identity.h"

#include <libmount/libmount.h>
#include <sys/stat.h>

#include <memory>
#include <system_error>

namespace songloader {

namespace {

namespace fs = std::filesystem;

struct TableDeleter {
    void operator()(libmnt_table* table) const { mnt_unref_table(table); }
};

// The name in `folder` (by-uuid, by-label) whose link leads to the block device `source`.
std::string LinkNameFor(const fs::path& folder, const std::string& source) {
    std::error_code error;
    if (source.rfind("/dev/", 0) != 0) return {};
    const fs::path device = fs::path(source).filename();
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path target = fs::read_symlink(it->path(), error);
        if (error) {
            error.clear();
            continue;
        }
        if (target.filename() == device) return it->path().filename().string();
    }
    return {};
}

}  // namespace

std::optional<DeviceIdentity> ReadDeviceIdentity(const fs::path& deviceRoot, const MountFiles& files) {
    struct stat folder {};
    if (::stat(deviceRoot.c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode)) return std::nullopt;
    DeviceIdentity identity;
    identity.folderDevice = folder.st_dev;
    identity.folderInode = folder.st_ino;

    std::error_code error;
    const fs::path wanted = fs::weakly_canonical(deviceRoot, error).lexically_normal();
    std::unique_ptr<libmnt_table, TableDeleter> table(mnt_new_table_from_file(files.mountInfo.c_str()));
    if (!table || error) return identity;
    // The last mount on the folder is the one seen there.
    libmnt_fs* mount = mnt_table_find_target(table.get(), wanted.c_str(), MNT_ITER_BACKWARD);
    if (!mount) return identity;
    identity.mountId = mnt_fs_get_id(mount);
    identity.mountDevice = mnt_fs_get_devno(mount);
    const char* source = mnt_fs_get_source(mount);
    if (source) {
        identity.uuid = LinkNameFor(files.diskLinks / "by-uuid", source);
        identity.label = LinkNameFor(files.diskLinks / "by-label", source);
    }
    return identity;
}

bool DeviceStillHolds(const DeviceIdentity& chosen, const fs::path& deviceRoot, const MountFiles& files) {
    const auto now = ReadDeviceIdentity(deviceRoot, files);
    return now && *now == chosen;
}

}  // namespace songloader
