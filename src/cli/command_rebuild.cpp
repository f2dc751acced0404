// SPDX-License-Identifier: GPL-3.0-or-later
#include "device_access.h"

namespace songloader::cli {

void AddRebuildCommand(CommandSet& commands) {
    CLI::App& command = AddDeviceCommand(
        commands, "rebuild", "rebuild SgList.dat and usbsong.db from the device's song list", "[DEVICE]",
        "Reads songs/SgList.dat and writes SgList.dat and usbsong.db anew from it,\n"
        "songs in the order read. An unchanged list gives the same bytes.\n",
        DeviceUse::Write, [](LoadedDevice& loaded, const Operands&, Console& console) {
            const auto result = RebuildDevice(loaded.songs, *loaded.session, RebuildMode::Add, console);
            if (!result) return kExitFailure;
            if (!*result) {
                PrintNotices(result->failure().AsNotices(), true, console);
                return kExitFailure;
            }
            // The closing message of the rebuild speaks of adding: say what was done instead.
            console.out << "Catalogue rebuilt: " << loaded.songs.size() << " songs\n";
            return kExitOk;
        });
    commands.ShowsProgress(command);
}

}  // namespace songloader::cli
