// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>
#include <system_error>

#include "cloud_access.h"
#include "device_access.h"
#include "core/catalogue/cloud_catalogue.h"
#include "core/catalogue/language_table.h"
#include "core/catalogue/numbered_song_list.h"
#include "core/catalogue/list_file_reader.h"
#include "core/cloud/catalogue_sync.h"
#include "core/cloud/cloud_messages.h"
#include "core/device/device_layout.h"
#include "core/common/translatable.h"

namespace songloader::cli {

namespace {

int CloudSync(const CloudOptions& options, const Operands& operands, Console& console) {
    const auto device = OpenDevice(operands.device, options.encoding, console);
    if (!device) return kExitFailure;
    const CloudClient client = MakeCloudClient(options);
    if (!CheckNetwork(client, console)) return kExitFailure;
    const auto session = BeginDeviceWrite(*device, console);
    if (!session) return kExitFailure;

    CloudCatalogue catalogue;
    CatalogueFetch fetch;
    RunShowingDownload(client.progress(), console, "downloading the cloud catalogue",
                       [&] { fetch = FetchCloudCatalogue(client, device->songFolder, catalogue); });
    if (!DeviceStillThere(*session, console)) return kExitFailure;
    bool failed = false;
    for (const auto& [name, outcome] :
         {std::pair{kCloudListName, fetch.list}, std::pair{kCloudDatabaseName, fetch.database}}) {
        if (outcome.ok()) continue;
        console.Fail() << "cannot download " << client.CloudBaseUrl() << name << ": " << outcome.message() << "\n";
        failed = true;
    }
    if (!failed && !fetch.reopened) {
        console.Fail() << "cannot open " << (device->songFolder / kCloudDatabaseName).string() << "\n";
        failed = true;
    }
    if (failed) return kExitFailure;

    const auto deviceNumbers = ReadDeviceNumbers(*device, console);
    if (!deviceNumbers) return kExitFailure;
    const Result<std::vector<std::int32_t>> cloud = ReadListNumbers(device->songFolder / kCloudListName);
    if (!cloud) {
        console.Fail() << cloud.message() << "\n";
        return kExitFailure;
    }
    std::size_t onDevice = 0;
    for (const std::int32_t number : *cloud) onDevice += deviceNumbers->Contains(number) ? 1 : 0;
    console.out << cloud->size() << " cloud songs, " << onDevice << " of them on the device\n"
                << "check cloud database ok\n";
    return kExitOk;
}

}  // namespace

void AddCloudSyncCommand(CommandSet& commands) {
    AddCommandWith<CloudOptions>(
        commands, "cloud-sync", SL_TRANSLATE_NOOP("Cli", "download the cloud song list and catalogue onto the device"),
        "[DEVICE]",
        SL_TRANSLATE_NOOP("Cli",
                          "Downloads the cloud song list (MgList.dat) and the cloud catalogue (Msong.db)\n"
                          "into DEVICE/songs/ and tells how many cloud songs there are and how many of\n"
                          "them the device already holds. Both files are checked first; a failed\n"
                          "download or check keeps both old files. Ctrl-C stops it.\n"),
        Progress::Shown, CloudSync, AddCloudOptions);
}

}  // namespace songloader::cli
