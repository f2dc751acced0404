// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/recovery/interrupted_writes.h"

#include "core/catalogue/cloud_catalogue.h"
#include "core/catalogue/list_file_reader.h"
#include "core/cloud/catalogue_sync.h"
#include "core/common/temporary_name.h"
#include "core/device/device_layout.h"
#include "core/device/device_write_session.h"
#include "core/entry/catalogue_rebuild.h"
#include "core/entry/placement_recovery.h"

namespace songloader {

namespace {

bool ReplacementLeftOver(const std::filesystem::path& songFolder) {
    return PairReplacementLeftOver(songFolder, kDeviceCataloguePairName, {kDeviceListName, kDeviceDatabaseName}) ||
           PairReplacementLeftOver(songFolder, kCloudCataloguePairName, {kCloudDatabaseName, kCloudListName});
}

Result<> FinishReplacements(const std::filesystem::path& songFolder) {
    std::string problems;
    for (const Result<PairRecovery>& result :
         {FinishDeviceCatalogueReplacement(songFolder), FinishCloudCatalogueReplacement(songFolder)}) {
        if (!result) problems += (problems.empty() ? "" : "\n") + result.message();
    }
    if (!problems.empty()) return Fail(problems);
    return {};
}

}  // namespace

Result<MendReport> MendInterruptedWrites(const std::filesystem::path& deviceRoot, const std::string& codePage,
                                         const WriteStepHook& step) {
    MendReport report;
    const std::filesystem::path songFolder = SongFolderOf(deviceRoot);
    if (auto finished = FinishReplacements(songFolder); !finished) return finished.failure();
    // The catalogue pair is whole again: the records are finished against what it lists.
    Result<JournalRecovery> recovered = FinishInterruptedPlacements(songFolder, codePage, step);
    if (!recovered) return recovered.failure();
    report.catalogueChanged = recovered->catalogueChanged;
    report.catalogued = std::move(recovered->catalogued);
    report.notAdded = std::move(recovered->rolledBack);
    report.problems = std::move(recovered->problems);
    for (const auto& left : RemoveTemporaries(DeviceTemporaries(deviceRoot))) {
        report.problems.push_back("Cannot remove the temporary file " + left.string());
    }
    return report;
}

Result<MendReport> MendChosenDevice(const std::filesystem::path& deviceRoot, const std::string& codePage) {
    const std::filesystem::path songFolder = SongFolderOf(deviceRoot);
    // A writer that holds the lock may be in the middle of its work: wait for it.
    const DeviceWriteLock lock(songFolder, kDeviceLockWait);
    if (lock.folder() < 0) return MendReport{};  // no song folder: nothing was left there
    if (!lock.locked()) return Fail(kDeviceBusyMessage);
    return MendInterruptedWrites(deviceRoot, codePage);
}

Result<> FinishInterruptedReplacements(const std::filesystem::path& deviceRoot) {
    const std::filesystem::path songFolder = SongFolderOf(deviceRoot);
    if (!ReplacementLeftOver(songFolder)) return {};
    const DeviceWriteLock lock(songFolder, kDeviceLockWait);
    if (!lock.locked()) return Fail(kDeviceBusyMessage);
    return FinishReplacements(songFolder);
}

std::vector<std::filesystem::path> DeviceTemporaries(const std::filesystem::path& deviceRoot) {
    return FindTemporaries({SongFolderOf(deviceRoot), MidiFolderOf(deviceRoot)});
}

}  // namespace songloader
