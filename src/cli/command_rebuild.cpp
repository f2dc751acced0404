// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>

#include "device_access.h"
#include "core/common/translatable.h"

namespace songloader::cli {

void AddRebuildCommand(CommandSet& commands) {
    auto encoding = std::make_shared<std::string>();
    CLI::App& command = commands.Add(
        "rebuild", SL_TRANSLATE_NOOP("Cli", "rebuild SgList.dat and usbsong.db from the device's song list"), "[DEVICE]",
        SL_TRANSLATE_NOOP("Cli", "Reads songs/SgList.dat and writes SgList.dat and usbsong.db anew from it,\n"
        "songs in the order read. An unchanged list gives the same bytes.\n"),
        [encoding](const Operands& operands, Console& console) {
            return RunOnDevice(operands.device, *encoding, DeviceUse::Write, console, [&](LoadedDevice& loaded) {
                const auto result =
                    RebuildDevice(loaded.songs, loaded.device, *loaded.session, RebuildMode::Add, console);
                if (!result) return kExitFailure;
                if (!*result) {
                    PrintNotices(result->failure().AsNotices(), true, console);
                    return kExitFailure;
                }
                // The closing message of the rebuild speaks of adding: say what was done instead.
                console.out << "Catalogue rebuilt: " << loaded.songs.size() << " songs\n";
                return kExitOk;
            });
        });
    commands.ShowsProgress(command);
    AddEncodingOption(command, *encoding);
}

}  // namespace songloader::cli
