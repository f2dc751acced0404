// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>

#include "device_access.h"
#include "core/output/song_list_export.h"
#include "core/common/translatable.h"

namespace songloader::cli {

void AddExportCommand(CommandSet& commands) {
    auto encoding = std::make_shared<std::string>();
    CLI::App& command = commands.Add(
        "export", SL_TRANSLATE_NOOP("Cli", "write the device's song list as an export file"), "[DEVICE] FILE",
        SL_TRANSLATE_NOOP("Cli", "Writes the device's song list to FILE as tab-separated text (LF line ends),\n"
        "texts in the device's own bytes, ready for a spreadsheet.\n"),
        [encoding](const Operands& operands, Console& console) {
            return RunOnDevice(operands.device, *encoding, DeviceUse::Read, console, [&](LoadedDevice& loaded) {
                const Result<Notice> exported = ExportSongList(loaded.songs, operands.rest[0]);
                PrintNotices({exported ? *exported : exported.failure().AsNotice()}, !exported, console);
                return exported ? kExitOk : kExitFailure;
            });
        });
    AddEncodingOption(command, *encoding);
}

}  // namespace songloader::cli
