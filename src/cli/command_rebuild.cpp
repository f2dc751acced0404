#include <memory>

#include "device_access.h"

namespace songloader::cli {

void AddRebuildCommand(CommandSet& commands) {
    auto encoding = std::make_shared<std::string>();
    CLI::App& command = commands.Add(
        "rebuild", "rebuild SgList.dat and usbsong.db from the device's song list", "[DEVICE]",
        "Reads songs/SgList.dat and writes SgList.dat and usbsong.db anew from it,\n"
        "songs in the order read. An unchanged list gives the same bytes.\n",
        [encoding](const Operands& operands, Console& console) {
            return RunOnDevice(operands.device, *encoding, console, [&](LoadedDevice& loaded) {
                const RebuildResult result = RebuildDevice(loaded.songs, loaded.device, RebuildMode::Add, console);
                PrintNotices(result.notices, !result.ok, console);
                return result.ok ? kExitOk : kExitFailure;
            });
        });
    commands.ShowsProgress(command);
    AddEncodingOption(command, *encoding);
}

}  // namespace songloader::cli
