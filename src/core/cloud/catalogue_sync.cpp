// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/catalogue_sync.h"

#include "core/catalogue/list_file_reader.h"
#include "core/common/device_folder.h"
#include "core/common/temporary_name.h"

namespace songloader {

namespace {

// A download that arrived whole but failed its check.
void Reject(DownloadResult& outcome, std::string why) {
    outcome = FailDownload(DownloadStatus::Rejected, std::move(why), outcome->httpStatus, outcome->bytes);
}

}  // namespace

PairReplacement CloudCataloguePair(const std::filesystem::path& songFolder) {
    return {songFolder, kCloudCataloguePairName, {{kCloudDatabaseName, true}, {kCloudListName, true}}};
}

Result<PairRecovery> FinishCloudCatalogueReplacement(const std::filesystem::path& songFolder) {
    return FinishPairReplacement(songFolder, kCloudCataloguePairName, {kCloudDatabaseName, kCloudListName});
}

CatalogueFetch FetchCloudCatalogue(const CloudClient& client, const std::filesystem::path& songFolder,
                                   CloudCatalogue& catalogue) {
    CatalogueFetch fetch;
    // What a killed sync left is finished or discarded first: the fixed names are this run's now.
    (void)FinishCloudCatalogueReplacement(songFolder);
    const PairReplacement pair = CloudCataloguePair(songFolder);
    // The song folder is reached without following a link out of the device.
    const Result<DeviceFolder> folder = OpenFolderBelow(songFolder.parent_path(), songFolder.filename());
    if (!folder) {
        fetch.list = FailDownload(DownloadStatus::WriteFailure, folder.message());
        fetch.database = fetch.list;
        fetch.reopened = catalogue.OpenCatalogueDatabase(songFolder);
        return fetch;
    }
    DownloadTarget list(*folder, kCloudListName, PairTemporaryNameFor(kCloudListName).string());
    fetch.list = client.DownloadUnplaced(kCloudListRemoteName, list, kListFileMaxBytes);
    // The open database must not be in use while its file is replaced.
    catalogue.CloseCatalogueDatabase();
    DownloadTarget database(*folder, kCloudDatabaseName, PairTemporaryNameFor(kCloudDatabaseName).string());
    if (!fetch.list && fetch.list.failure().status == DownloadStatus::Cancelled) {
        fetch.database = fetch.list;  // a cancel ends the whole sync
    } else {
        fetch.database = client.DownloadUnplaced(kCloudDatabaseRemoteName, database, kCloudDatabaseMaxBytes);
    }

    if (fetch.list.ok()) {
        // The whole list is checked; only its numbers are kept, as nothing here shows the songs.
        const Result<std::vector<std::int32_t>> read = ReadListNumbers(list.temporaryPath());
        if (!read) {
            std::string why = read.message();
            while (!why.empty() && why.back() == ' ') why.pop_back();
            Reject(fetch.list, "not a song list (" + why + ")");
        }
    }
    if (fetch.database.ok()) {
        // The download is checked by opening it as the catalogue itself: once it is in place the
        // open catalogue is the new file (renaming keeps it open), so it is read once, not twice.
        if (!catalogue.OpenCatalogueFile(database.temporaryPath()) || !catalogue.isSongCatalogue()) {
            Reject(fetch.database, "not a song catalogue");
        }
    }
    // Both are complete, flushed and checked: they go in place together, the database first.
    if (fetch.list.ok() && fetch.database.ok()) {
        list.Release();
        database.Release();
        if (Result<> committed = CommitPairReplacement(pair); !committed) {
            fetch.database = FailDownload(DownloadStatus::WriteFailure, committed.message(), fetch.database->httpStatus,
                                          fetch.database->bytes);
        }
        // A commit cut short is finished here (or by the next command), a refused one discarded.
        (void)FinishCloudCatalogueReplacement(songFolder);
    }
    if (fetch.list.ok() && fetch.database.ok()) {
        fetch.reopened = Result<>();
    } else {
        // The old files stayed: the catalogue is theirs again.
        fetch.reopened = catalogue.OpenCatalogueDatabase(songFolder);
    }
    return fetch;
}

}  // namespace songloader
