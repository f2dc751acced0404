#include "device_access.h"
#include "core/text/code_page.h"

namespace songloader::cli {

int RunList(const std::vector<std::string>& rawArgs, Console& console) {
    const Arguments args = ParseArguments(rawArgs, kCommonOptions);
    if (args.help) {
        return PrintHelp("list DEVICE [--encoding NAME]",
                         "Prints the device's songs, one per line, tab-separated:\n"
                         "number, language, title, artist, composer, lyricist (UTF-8).\n",
                         console);
    }
    if (args.positional.size() != 1) throw UsageError{"expected DEVICE"};
    const auto device = OpenDevice(args.positional[0], args, console);
    if (!device) return kExitFailure;
    const auto songs = ReadDeviceSongs(*device, console);
    if (!songs) return kExitFailure;
    for (const ROWELEMENT& song : *songs) {
        console.out << song.numberText << '\t' << song.languageText;
        for (const std::string* text : {&song.title, &song.artist, &song.composer, &song.lyricist}) {
            console.out << '\t' << DeviceToUtf8(*text, device->codePage);
        }
        console.out << '\n';
    }
    return kExitOk;
}

}  // namespace songloader::cli
