#include "device_access.h"
#include "core/output/song_list_export.h"

namespace songloader::cli {

int RunExport(const std::vector<std::string>& rawArgs, Console& console) {
    const DeviceCommand command{"export DEVICE FILE",
                                "Writes the device's song list to FILE as tab-separated text (LF line ends),\n"
                                "texts in the device's own bytes, ready for a spreadsheet.\n",
                                2, "DEVICE FILE"};
    return RunOnDevice(rawArgs, console, command, [&](const Arguments& args, LoadedDevice& loaded) {
        const SongList& songs = loaded.songs;
        const ExportResult result = ExportSongList(songs, args.positional[1]);
        PrintNotices({result.notice}, !result.ok, console);
        return result.ok ? kExitOk : kExitFailure;
    });
}

}  // namespace songloader::cli
