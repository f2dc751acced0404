// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/entry/interrupted_writes.h"

#include "core/catalogue/catalogue_database.h"
#include "core/catalogue/list_file_reader.h"
#include "core/cloud/catalogue_sync.h"
#include "core/common/temporary_name.h"
#include "core/device/device_layout.h"
#include "core/device/device_write_session.h"
#include "core/entry/catalogue_rebuild.h"

namespace songloader {

namespace {

bool ReplacementLeftOver(const std::filesystem::path& songFolder) {
    return PairReplacementLeftOver(songFolder, kDeviceCataloguePairName, {kDeviceListName, kDeviceDatabaseName}) ||
           PairReplacementLeftOver(songFolder, kCloudCataloguePairName, {kCloudDatabaseName, kCloudListName});
}

void FinishReplacements(const std::filesystem::path& songFolder, std::vector<std::string>& problems) {
    for (const PairRecoveryResult& result :
         {FinishDeviceCatalogueReplacement(songFolder), FinishCloudCatalogueReplacement(songFolder)}) {
        if (result.what == PairRecovery::Failed) problems.push_back(result.error);
    }
}

}  // namespace

std::vector<std::string> MendInterruptedWrites(const std::filesystem::path& deviceRoot) {
    std::vector<std::string> problems;
    FinishReplacements(SongFolderOf(deviceRoot), problems);
    for (const auto& left : RemoveTemporaries(DeviceTemporaries(deviceRoot))) {
        problems.push_back("Cannot remove the temporary file " + left.string());
    }
    return problems;
}

std::vector<std::string> FinishInterruptedReplacements(const std::filesystem::path& deviceRoot) {
    std::vector<std::string> problems;
    const std::filesystem::path songFolder = SongFolderOf(deviceRoot);
    if (!ReplacementLeftOver(songFolder)) return problems;
    // A writer that holds the lock may be in the middle of its replacement: wait for it.
    const DeviceWriteLock lock(songFolder, kDeviceLockWait);
    if (!lock.locked()) {
        problems.push_back(kDeviceBusyMessage);
        return problems;
    }
    FinishReplacements(songFolder, problems);
    return problems;
}

std::vector<std::filesystem::path> DeviceTemporaries(const std::filesystem::path& deviceRoot) {
    return FindTemporaries({SongFolderOf(deviceRoot), MidiFolderOf(deviceRoot)});
}

}  // namespace songloader
