#include "cloud_access.h"
#include "device_access.h"
#include "core/cloud/cloud_messages.h"
#include "core/cloud/midi_pack.h"

namespace songloader::cli {

int RunMidi(const std::vector<std::string>& rawArgs, Console& console) {
    const Arguments args = ParseArguments(rawArgs, kCloudOptions);
    if (args.help) {
        return PrintHelp("midi DEVICE [--cloud-url URL]",
                         "Updates the MIDI song pack: DEVICE/midi/sglist.dat, sgmusic.dat, sgmsg.dat and\n"
                         "DEVICE/midisongsbook.pdf, in this order, each downloaded when its size differs\n"
                         "from the cloud's; the first file of unchanged size ends the update.\n",
                         console);
    }
    RequirePositional(args, 1, "DEVICE");
    const auto device = OpenDevice(args.positional[0], args, console);
    if (!device) return kExitFailure;
    CloudClient client = MakeCloudClient(args);
    if (!CloudReachable(client)) {
        console.err << kCheckNetworkMessage << "\n";
        return kExitFailure;
    }
    const auto session = BeginDeviceWrite(*device, console);
    if (!session) return kExitFailure;
    const MidiPackUpdate update =
        UpdateMidiPack(client, device->root, ConsoleTransferRunner(client.progress(), console, device->codePage));
    if (!DeviceStillThere(*session, console)) return kExitFailure;
    bool failed = update.cancelled;
    for (const MidiPackFetch& fetch : update.fetched) {
        const std::string path = MidiPackLocalPath(device->root, *fetch.file).string();
        if (fetch.outcome.ok()) {
            console.out << path << ": done\n";
        } else {
            console.err << path << ": " << DescribeOutcome(fetch.outcome) << "\n";
            failed = true;
        }
    }
    PrintNotices(update.notices, false, console);
    return failed ? kExitFailure : kExitOk;
}

}  // namespace songloader::cli
