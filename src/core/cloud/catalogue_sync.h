// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

#include "core/catalogue/cloud_catalogue.h"
#include "core/cloud/cloud_client.h"
#include "core/common/pair_replacement.h"

namespace songloader {

// No song catalogue the list format can describe comes near this; a larger Msong.db is refused
// before it can fill the stick.
inline constexpr std::int64_t kCloudDatabaseMaxBytes = std::int64_t{512} << 20;

// Msong.db and MgList.dat change as a pair (see PairReplacement), the database first.
inline constexpr const char* kCloudCataloguePairName = "cloud-catalogue";
PairReplacement CloudCataloguePair(const std::filesystem::path& songFolder);
// Finishes (or discards) a replacement of the pair that a killed run left in the song folder.
Result<PairRecovery> FinishCloudCatalogueReplacement(const std::filesystem::path& songFolder);

struct CatalogueFetch {
    DownloadResult list = FailDownload(DownloadStatus::NetworkFailure);       // MgList.dat
    DownloadResult database = FailDownload(DownloadStatus::NetworkFailure);   // Msong.db
    Result<> reopened = Fail("the catalogue database was not opened again");  // OpenCatalogueDatabase's

    // Both files arrived whole, passed their checks and are in place.
    bool ok() const { return list.ok() && database.ok() && reopened.ok(); }
};

// Fetches the cloud catalogue into the song folder, in this order: MgList.dat downloaded, the
// catalogue database closed, Msong.db downloaded, both checked (the list reads without error, the
// database is a song catalogue), both put in place, the catalogue database reopened.
// The two change together: when either download or check fails, both old files stay and the
// outcome of each file that was wrong is not ok (a check failure is Rejected). An outcome that is
// ok then only means that file was fine. The caller has checked the network.
CatalogueFetch FetchCloudCatalogue(const CloudClient& client, const std::filesystem::path& songFolder,
                                   CloudCatalogue& catalogue);

}  // namespace songloader
