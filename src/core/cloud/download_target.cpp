// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/download_target.h"

#include <sys/types.h>

#include <utility>

namespace songloader {

namespace {

// How much is written before its write-out is started.
constexpr off_t kWriteOutWindow = 8 << 20;

}  // namespace

DownloadTarget::DownloadTarget(std::filesystem::path target) : file_(std::move(target)) {
    file_.WriteOutEvery(kWriteOutWindow);
}

DownloadTarget::DownloadTarget(std::filesystem::path target, std::filesystem::path temporary)
    : file_(std::move(target), std::move(temporary)) {
    file_.WriteOutEvery(kWriteOutWindow);
}

DownloadTarget::DownloadTarget(DeviceFolder folder, std::string name) : file_(std::move(folder), std::move(name)) {
    file_.WriteOutEvery(kWriteOutWindow);
}

DownloadTarget::DownloadTarget(DeviceFolder folder, std::string name, std::string temporaryName)
    : file_(std::move(folder), std::move(name), std::move(temporaryName)) {
    file_.WriteOutEvery(kWriteOutWindow);
}

Result<> DownloadTarget::Commit() {
    Result<> committed = file_.Commit();
    // Once renamed the new file is in place: a folder flush that fails after that does not undo it.
    if (!committed && file_.published()) return {};
    return committed;
}

}  // namespace songloader
