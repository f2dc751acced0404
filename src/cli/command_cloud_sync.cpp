#include <system_error>

#include "cloud_access.h"
#include "device_access.h"
#include "core/catalogue/catalogue_database.h"
#include "core/catalogue/language_table.h"
#include "core/catalogue/list_file_reader.h"
#include "core/cloud/catalogue_sync.h"
#include "core/cloud/cloud_messages.h"
#include "core/device/device_layout.h"

namespace songloader::cli {

int RunCloudSync(const std::vector<std::string>& rawArgs, Console& console) {
    const Arguments args = ParseArguments(rawArgs, kCloudOptions);
    if (args.help) {
        return PrintHelp("cloud-sync DEVICE [--cloud-url URL]",
                         "Downloads the cloud song list (MgList.dat) and the cloud catalogue (Msong.db)\n"
                         "into DEVICE/songs/ and tells how many cloud songs there are and how many of\n"
                         "them the device already holds. Both files are checked first; a failed\n"
                         "download or check keeps both old files. Ctrl-C stops it.\n",
                         console);
    }
    RequirePositional(args, 1, "DEVICE");
    const auto device = OpenDevice(args.positional[0], args, console);
    if (!device) return kExitFailure;
    const CloudClient client = MakeCloudClient(args);
    if (!CloudReachable(client)) {
        console.err << kCheckNetworkMessage << "\n";
        return kExitFailure;
    }
    const auto session = BeginDeviceWrite(*device, console);
    if (!session) return kExitFailure;

    CloudCatalogue catalogue;
    CatalogueFetch fetch;
    {
        // Ctrl-C or SIGTERM ends the running download; the old files stay, nothing is left behind.
        InterruptCancels interrupt(client.progress());
        fetch = FetchCloudCatalogue(client, device->songFolder, catalogue);
    }
    if (!DeviceStillThere(*session, console)) return kExitFailure;
    bool failed = false;
    for (const auto& [name, outcome] : {std::pair{kCloudListName, fetch.list},
                                        std::pair{kCloudDatabaseName, fetch.database}}) {
        if (outcome.ok()) continue;
        console.err << "cannot download " << name << ": " << DescribeOutcome(outcome) << "\n";
        failed = true;
    }
    if (!failed && fetch.reopened != 0) {
        console.err << "cannot open " << (device->songFolder / kCloudDatabaseName).string() << "\n";
        failed = true;
    }
    if (failed) return kExitFailure;

    const auto deviceSongs = ReadDeviceSongs(*device, console);
    if (!deviceSongs) return kExitFailure;
    const ListReadResult cloud = ReadListFile(device->songFolder / kCloudListName, ListKind::Cloud);
    if (!cloud.ok) {
        console.err << cloud.failure.text << "\n";
        return kExitFailure;
    }
    std::size_t onDevice = 0;
    for (const ROWELEMENT& song : cloud.songs) onDevice += IsOnDevice(*deviceSongs, song.number) ? 1 : 0;
    console.out << cloud.songs.size() << " cloud songs, " << onDevice << " of them on the device\n"
                << "check cloud database ok\n";
    return kExitOk;
}

}  // namespace songloader::cli
