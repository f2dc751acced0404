// SPDX-License-Identifier: GPL-3.0-or-later
#include "device_access.h"
#include "core/output/song_list_export.h"
#include "core/common/translatable.h"

namespace songloader::cli {

void AddExportCommand(CommandSet& commands) {
    AddDeviceCommand(commands, "export", SL_TRANSLATE_NOOP("Cli", "write the device's song list as an export file"),
                     "[DEVICE] FILE",
                     SL_TRANSLATE_NOOP("Cli",
                                       "Writes the device's song list to FILE as tab-separated text (LF line ends),\n"
                                       "texts in the device's own bytes, ready for a spreadsheet.\n"),
                     DeviceUse::Read, [](LoadedDevice& loaded, const Operands& operands, Console& console) {
                         const Result<Notice> exported = ExportSongList(loaded.songs, operands.rest[0]);
                         PrintNotices({exported ? *exported : exported.failure().AsNotice()}, !exported, console);
                         return exported ? kExitOk : kExitFailure;
                     });
}

}  // namespace songloader::cli
