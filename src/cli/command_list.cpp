#include "device_access.h"
#include "terminal_text.h"

namespace songloader::cli {

int RunList(const std::vector<std::string>& rawArgs, Console& console) {
    const DeviceCommand command{"list DEVICE [--encoding NAME]",
                                "Prints the device's songs, one per line, tab-separated:\n"
                                "number, language, title, artist, composer, lyricist (UTF-8).\n",
                                1, "DEVICE"};
    return RunOnDevice(rawArgs, console, command, [&](const Arguments&, LoadedDevice& loaded) {
        const Device& device = loaded.device;
        const SongList& songs = loaded.songs;
        for (const ROWELEMENT& song : songs) {
            console.out << song.numberText << '\t' << song.languageText;
            for (const std::string* text : {&song.title, &song.artist, &song.composer, &song.lyricist}) {
                console.out << '\t' << TerminalText(*text, device.codePage);
            }
            console.out << '\n';
        }
        return kExitOk;
    });
}

}  // namespace songloader::cli
