#include "core/cloud/catalogue_sync.h"

#include "core/catalogue/list_file_reader.h"

namespace songloader {

CatalogueFetch FetchCloudCatalogue(const CloudClient& client, const std::filesystem::path& songFolder,
                                   CloudCatalogue& catalogue) {
    CatalogueFetch fetch;
    fetch.list = client.DownloadFile(kCloudListRemoteName, songFolder / kCloudListName);
    // The open database must not be in use while its file is replaced.
    catalogue.CloseCatalogueDatabase();
    fetch.database = client.DownloadFile(kCloudDatabaseRemoteName, songFolder / kCloudDatabaseName);
    fetch.reopened = catalogue.OpenCatalogueDatabase(songFolder);
    return fetch;
}

}  // namespace songloader
