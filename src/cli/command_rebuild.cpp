#include "device_access.h"
#include "core/entry/catalogue_rebuild.h"

namespace songloader::cli {

int RunRebuild(const std::vector<std::string>& rawArgs, Console& console) {
    const DeviceCommand command{"rebuild DEVICE",
                                "Reads songs/SgList.dat and writes SgList.dat and usbsong.db anew from it,\n"
                                "songs in the order read. An unchanged list gives the same bytes.\n",
                                1, "DEVICE", true};
    return RunOnDevice(rawArgs, console, command, [&](const Arguments&, LoadedDevice& loaded) {
        const Device& device = loaded.device;
        const SongList& songs = loaded.songs;
        if (!DeviceStillThere(*loaded.session, console)) return kExitFailure;
        const RebuildResult result = RebuildDeviceCatalogue(songs, device.songFolder, RebuildMode::Add, {},
                                                            device.codePage);
        if (!DeviceStillThere(*loaded.session, console)) return kExitFailure;
        for (const std::string& line : result.diagnostics) console.err << line;
        if (!result.ok) {
            PrintNotices(result.notices, true, console);
            return kExitFailure;
        }
        // The closing message of the rebuild speaks of adding: say what was done instead.
        console.out << "Catalogue rebuilt: " << songs.size() << " songs\n";
        return kExitOk;
    });
}

}  // namespace songloader::cli
