// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>

#include "cloud_access.h"
#include "device_access.h"
#include "core/cloud/cloud_messages.h"
#include "core/cloud/midi_pack.h"
#include "core/common/translatable.h"

namespace songloader::cli {

namespace {

int Midi(const CloudOptions& options, const Operands& operands, Console& console) {
    const auto device = OpenDevice(operands.device, options.encoding, console);
    if (!device) return kExitFailure;
    CloudClient client = MakeCloudClient(options);
    if (!CheckNetwork(client, console)) return kExitFailure;
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
            console.Fail() << path << ": " << fetch.outcome.message() << "\n";
            failed = true;
        }
    }
    PrintNotices(update.notices, false, console);
    return failed ? kExitFailure : kExitOk;
}

}  // namespace

void AddMidiCommand(CommandSet& commands) {
    AddCommandWith<CloudOptions>(
        commands, "midi", SL_TRANSLATE_NOOP("Cli", "update the device's MIDI song pack from the cloud"), "[DEVICE]",
        SL_TRANSLATE_NOOP("Cli",
                          "Updates the MIDI song pack: DEVICE/midi/sglist.dat, sgmusic.dat, sgmsg.dat and\n"
                          "DEVICE/midisongsbook.pdf, in this order, each downloaded when its size differs\n"
                          "from the cloud's; the first file of unchanged size ends the update.\n"),
        Progress::Shown, Midi, AddCloudOptions);
}

}  // namespace songloader::cli
