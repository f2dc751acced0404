// SPDX-License-Identifier: GPL-3.0-or-later
#include "device_access.h"
#include "core/device/device_layout.h"
#include "core/device/drive_ejector.h"
#include "qt_part.h"
#include "core/common/translatable.h"

namespace songloader::cli {

namespace {

int Eject(const Operands& operands, Console& console) {
    const auto device = FindDeviceRoot(operands.device, console);
    if (!device) return kExitFailure;
    const auto mountPoint = DriveSystemFromEnvironment().VolumeHolding(*device);
    if (!mountPoint || *mountPoint == "/") {
        console.Fail() << device->string() << " is not on a drive that can be ejected.\n";
        return kExitFailure;
    }
    const Result<const QtPart*> qt = LoadQtPart();
    if (!qt) {
        console.Fail() << qt.message() << "\n";
        return kExitFailure;
    }
    const std::unique_ptr<DriveEjector> ejector = (*qt)->makeDriveEjector();
    const Result<> ejected = EjectDevice(*ejector, *mountPoint, SongFolderOf(*device));
    if (!ejected) {
        console.Fail() << ejected.message() << "\n";
        return kExitFailure;
    }
    console.out << kEjectedMessage << "\n";
    return kExitOk;
}

}  // namespace

void AddEjectCommand(CommandSet& commands) {
    commands.Add("eject",
                 SL_TRANSLATE_NOOP("Cli", "flush the device, then unmount it and power it off for safe removal"),
                 "[DEVICE]",
                 SL_TRANSLATE_NOOP("Cli",
                                   "Flushes the file system of the volume that holds DEVICE (without DEVICE: the\n"
                                   "device the automatic search finds), then unmounts it and powers its drive off\n"
                                   "through the system's disk service, so that it can be pulled out safely.\n"),
                 Eject);
}

}  // namespace songloader::cli
