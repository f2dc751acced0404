#pragma once

#include <filesystem>

#include "core/catalogue/catalogue_database.h"
#include "core/cloud/cloud_client.h"

namespace songloader {

struct CatalogueFetch {
    DownloadOutcome list;      // MgList.dat
    DownloadOutcome database;  // Msong.db
    int reopened = -1;         // OpenCatalogueDatabase's result: 0, or -1

    bool ok() const { return list.ok() && database.ok() && reopened == 0; }
};

// Fetches the cloud catalogue into the song folder, in this order: MgList.dat downloaded,
// the catalogue database closed, Msong.db downloaded, the catalogue database reopened on it.
// A failed download leaves the old file in place. The caller has checked the network.
CatalogueFetch FetchCloudCatalogue(const CloudClient& client, const std::filesystem::path& songFolder,
                                   CloudCatalogue& catalogue);

}  // namespace songloader
