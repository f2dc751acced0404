#include "device_access.h"
#include "core/device/device_layout.h"
#include "core/device/drive_ejector.h"
#include "core/device/linux_drive_system.h"
#include "udisks/udisks_drive_ejector.h"

namespace songloader::cli {

int RunEject(const std::vector<std::string>& rawArgs, Console& console) {
    const Arguments args = ParseArguments(rawArgs, {});
    if (args.help) {
        return PrintHelp("eject [DEVICE]",
                         "Flushes the file system of the volume that holds DEVICE (without DEVICE: the\n"
                         "device the automatic search finds), then unmounts it and powers its drive off\n"
                         "through the system's disk service, so that it can be pulled out safely.\n",
                         console);
    }
    if (args.positional.size() > 1) throw UsageError{"expected at most DEVICE"};
    const LinuxDriveSystem drives;
    std::filesystem::path device;
    if (args.positional.empty()) {
        const auto found = ChooseDeviceDrive(drives);
        if (!found) {
            console.err << "Please insert device!!\n";
            return kExitFailure;
        }
        device = *found;
    } else {
        device = args.positional[0];
    }
    const auto mountPoint = drives.VolumeHolding(device);
    if (!mountPoint || *mountPoint == "/") {
        console.err << device.string() << " is not on a drive that can be ejected.\n";
        return kExitFailure;
    }
    UdisksDriveEjector ejector;
    const EjectOutcome outcome = EjectDevice(ejector, *mountPoint, SongFolderOf(device));
    (outcome.ok ? console.out : console.err) << outcome.message << "\n";
    return outcome.ok ? kExitOk : kExitFailure;
}

}  // namespace songloader::cli
