#include "core/cloud/catalogue_sync.h"

#include "core/catalogue/list_file_reader.h"

namespace songloader {

namespace {

void Reject(DownloadOutcome& outcome, std::string why) {
    outcome.status = DownloadStatus::Rejected;
    outcome.detail = std::move(why);
}

}  // namespace

CatalogueFetch FetchCloudCatalogue(const CloudClient& client, const std::filesystem::path& songFolder,
                                   CloudCatalogue& catalogue) {
    CatalogueFetch fetch;
    DownloadTarget list(songFolder / kCloudListName);
    fetch.list = client.DownloadUnplaced(kCloudListRemoteName, list);
    // The open database must not be in use while its file is replaced.
    catalogue.CloseCatalogueDatabase();
    DownloadTarget database(songFolder / kCloudDatabaseName);
    fetch.database = client.DownloadUnplaced(kCloudDatabaseRemoteName, database);

    if (fetch.list.ok()) {
        const ListReadResult read = ReadListFile(list.temporaryPath(), ListKind::Cloud);
        if (!read.ok) {
            std::string why = read.failure.text;
            while (!why.empty() && why.back() == ' ') why.pop_back();
            Reject(fetch.list, "not a song list (" + why + ")");
        }
    }
    if (fetch.database.ok()) {
        CloudCatalogue check;
        if (check.OpenCatalogueFile(database.temporaryPath()) != 0 || !check.isSongCatalogue()) {
            Reject(fetch.database, "not a song catalogue");
        }
    }
    // The database first: a list is only ever shown beside the catalogue it came with or a newer one.
    if (fetch.list.ok() && fetch.database.ok()) {
        if (!database.Commit()) {
            fetch.database = {DownloadStatus::WriteFailure, fetch.database.httpStatus, fetch.database.bytes,
                              database.error()};
        } else if (!list.Commit()) {
            fetch.list = {DownloadStatus::WriteFailure, fetch.list.httpStatus, fetch.list.bytes, list.error()};
        }
    }
    fetch.reopened = catalogue.OpenCatalogueDatabase(songFolder);
    return fetch;
}

}  // namespace songloader
