#include <algorithm>

#include "device_access.h"
#include "core/entry/catalogue_rebuild.h"
#include "core/entry/media_files.h"

namespace songloader::cli {

int RunDelete(const std::vector<std::string>& rawArgs, Console& console) {
    const DeviceCommand command{"delete DEVICE NUMBER",
                                "Removes the song NUMBER from the device's catalogue, then its media files\n"
                                "(every NUMBER.* in its folder).\n",
                                2, "DEVICE NUMBER", true};
    return RunOnDevice(rawArgs, console, command, [&](const Arguments& args, LoadedDevice& loaded) {
        Device& device = loaded.device;
        SongList& songs = loaded.songs;
        const std::string& number = args.positional[1];
        auto it = std::find_if(songs.begin(), songs.end(), [&](const ROWELEMENT& s) { return s.numberText == number; });
        if (it == songs.end()) {
            console.err << "song " << number << " is not on the device\n";
            return kExitFailure;
        }
        const std::string numberText = it->numberText;
        songs.erase(it);
        // The catalogue first: if it cannot be written the media stays where the old catalogue expects it.
        if (!DeviceStillThere(*loaded.session, console)) return kExitFailure;
        const RebuildResult result = RebuildDeviceCatalogue(songs, device.songFolder, RebuildMode::Delete, {},
                                                            device.codePage);
        if (!DeviceStillThere(*loaded.session, console)) return kExitFailure;
        for (const std::string& line : result.diagnostics) console.err << line;
        if (result.ok) DeleteDeviceSongFiles(device.songFolder, numberText);
        PrintNotices(result.notices, !result.ok, console);
        return result.ok ? kExitOk : kExitFailure;
    });
}

}  // namespace songloader::cli
