// SPDX-License-Identifier: GPL-3.0-or-later
#include "device_access.h"
#include "terminal_text.h"
#include "core/common/translatable.h"

namespace songloader::cli {

void AddListCommand(CommandSet& commands) {
    AddDeviceCommand(
        commands, "list", SL_TRANSLATE_NOOP("Cli", "print the device's songs"), "[DEVICE]",
        SL_TRANSLATE_NOOP("Cli",
                          "Prints the device's songs, one per line, tab-separated:\n"
                          "number, language, title, artist, composer, lyricist (UTF-8).\n"),
        DeviceUse::Read, [](LoadedDevice& loaded, const Operands&, Console& console) {
            for (const ROWELEMENT& song : loaded.songs) {
                console.out << song.numberText << '\t' << song.languageText;
                for (const std::string* text : {&song.title, &song.artist, &song.composer, &song.lyricist}) {
                    console.out << '\t' << TerminalText(*text, loaded.device.codePage);
                }
                console.out << '\n';
            }
            return kExitOk;
        });
}

}  // namespace songloader::cli
