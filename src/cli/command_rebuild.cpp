#include "device_access.h"
#include "core/entry/catalogue_rebuild.h"

namespace songloader::cli {

int RunRebuild(const std::vector<std::string>& rawArgs, Console& console) {
    const Arguments args = ParseArguments(rawArgs, kCommonOptions);
    if (args.help) {
        return PrintHelp("rebuild DEVICE",
                         "Reads songs/SgList.dat and writes SgList.dat and usbsong.db anew from it,\n"
                         "songs in the order read. An unchanged list gives the same bytes.\n",
                         console);
    }
    if (args.positional.size() != 1) throw UsageError{"expected DEVICE"};
    const auto device = OpenDevice(args.positional[0], args, console);
    if (!device) return kExitFailure;
    const auto songs = ReadDeviceSongs(*device, console);
    if (!songs) return kExitFailure;
    const RebuildResult result = RebuildDeviceCatalogue(*songs, device->songFolder, RebuildMode::Add);
    for (const std::string& line : result.diagnostics) console.err << line;
    PrintNotices(result.notices, !result.ok, console);
    return result.ok ? kExitOk : kExitFailure;
}

}  // namespace songloader::cli
