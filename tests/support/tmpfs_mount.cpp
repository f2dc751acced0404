// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/tmpfs_mount.h"

#include <sys/mount.h>

#include <cerrno>
#include <cstring>

namespace songloader::test {

TmpfsMount::TmpfsMount(const std::filesystem::path& folder, std::uint64_t bytes) : folder_(folder) {
    std::filesystem::create_directories(folder_);
    const std::string options = "size=" + std::to_string(bytes);
    if (::mount("tmpfs", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0) {
        mounted_ = true;
    } else {
        whyNot_ = std::string("cannot mount a tmpfs here: ") + std::strerror(errno);
    }
}

TmpfsMount::~TmpfsMount() { Unmount(); }

void TmpfsMount::Unmount() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
    mounted_ = false;
}

}  // namespace songloader::test
