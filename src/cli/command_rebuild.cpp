// SPDX-License-Identifier: GPL-3.0-or-later
#include "device_access.h"
#include "core/common/translatable.h"

namespace songloader::cli {

void AddRebuildCommand(CommandSet& commands) {
    CLI::App& command = AddDeviceCommand(
        commands, "rebuild", SL_TRANSLATE_NOOP("Cli", "rebuild SgList.dat and usbsong.db from the device's song list"),
        "[DEVICE]",
        SL_TRANSLATE_NOOP("Cli",
                          "Reads songs/SgList.dat and writes SgList.dat and usbsong.db anew from it,\n"
                          "songs in the order read. An unchanged list gives the same bytes.\n"),
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
