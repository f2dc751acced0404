// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "command_line.h"
#include "core/catalogue/numbered_song_list.h"
#include "core/catalogue/row_element.h"
#include "core/common/notice.h"
#include "core/config/user_settings.h"
#include "core/device/linux_drive_system.h"
#include "core/entry/catalogue_rebuild.h"
#include "core/session/device_session.h"

namespace songloader::cli {

// The device a command works on, with its song folder and its code page.
struct Device {
    std::filesystem::path root;
    std::filesystem::path songFolder;
    std::string codePage;
    // The volume found at `root` when the command started, held for writing by BeginDeviceWrite.
    std::shared_ptr<DeviceSession> session;
};

// The settings in effect for this run (see ResolveUserSettings), with the flags given.
UserSettings SettingsInEffect(const std::string& encodingFlag, const std::string& cloudUrlFlag = {});

// The device code page in effect. Only the code pages of the locale table are accepted: the player
// reads single- and double-byte texts only. Another name given as --encoding is a usage error that
// lists them; one from the settings file is printed with its origin and gives nullopt.
std::optional<std::string> DeviceCodePage(const std::string& encodingFlag, Console& console);

// The drives of this system; SONGLOADER_MOUNTINFO, SONGLOADER_SYSFS and SONGLOADER_MOUNT_ROOTS,
// when set, stand in for the system's tables (tests and diagnosis).
LinuxDriveSystem DriveSystemFromEnvironment();
// The mount table that tells one volume from another: SONGLOADER_MOUNTINFO too, when set.
MountFiles MountFilesFromEnvironment();

// The device root for DEVICE as given, or the automatic choice without it (named on standard
// error). Refuses a song folder given as DEVICE; a folder inside a removable or USB volume stands
// for the volume's mount point. Prints why not and returns nullopt on failure.
std::optional<std::filesystem::path> FindDeviceRoot(const std::optional<std::string>& given, Console& console);

// FindDeviceRoot, then the code page.
std::optional<Device> OpenDevice(const std::optional<std::string>& given, const std::string& encodingFlag,
                                 Console& console);

// The device's song list as read from songs/SgList.dat (empty when there is none).
std::optional<SongList> ReadDeviceSongs(const Device& device, Console& console);
// Only which numbers it holds, read at a fraction of the cost.
std::optional<SongNumberSet> ReadDeviceNumbers(const Device& device, Console& console);

// Takes DEVICE for writing (the write lock, waiting for another writer, and the check that it is
// still the volume the command started on, then what killed runs left); prints why not and
// returns null. The session stays held by `device` until the command ends.
DeviceSession* BeginDeviceWrite(const Device& device, Console& console);

// Before each write and after a failed one: false, with the removed-or-changed message printed,
// once the device is no longer the one the command started on.
bool DeviceStillThere(DeviceSession& session, Console& console);

// After a write through the session: false, with why printed, when the device went or the write
// failed; else true, with the notes of the catalogue's creation printed.
template <typename Written>
bool WriteDone(const Result<Written>& written, DeviceSession& session, Console& console) {
    if (!DeviceStillThere(session, console)) return false;
    if (!written) {
        console.Fail() << written.message() << "\n";
        return false;
    }
    for (const std::string& note : written->notes) console.err << note;
    return true;
}

// A device with its song list, for commands that start from what is on the device.
struct LoadedDevice {
    Device device;
    SongList songs;
    DeviceSession* session = nullptr;  // held while a writing command runs
};

enum class DeviceUse { Read, Write };

// Opens the device (for writing: takes it before its songs are read, so no other writer's change
// is lost) and reads its songs, then runs `body`; failures before `body` are reported here.
int RunOnDevice(const std::optional<std::string>& given, const std::string& encodingFlag, DeviceUse use,
                Console& console, const std::function<int(LoadedDevice& loaded)>& body);

// A command that works on a device with its song list read (RunOnDevice), with --encoding; the
// description as for CommandSet::Add.
CLI::App& AddDeviceCommand(CommandSet& commands, const char* name, const char* summary, const char* operands,
                           const char* details, DeviceUse use,
                           std::function<int(LoadedDevice& loaded, const Operands& operands, Console& console)> body);

// UTF-8 from the command line -> device bytes; prints why not.
std::optional<std::string> ToDevice(const Device& device, const std::string& utf8, const char* what, Console& console);

// Notices go to standard output, or as failures to standard error.
void PrintNotices(const Notices& notices, bool failure, Console& console);

// Rebuilds the device catalogue, counting the songs on a terminal when the list is long, and prints
// the database creation's notes; nullopt (with the message printed) when the device was replaced
// before or during it. The rebuild's messages are left to the caller.
std::optional<Result<CatalogueWritten>> RebuildDevice(const SongList& songs, DeviceSession& session, RebuildMode mode,
                                                      Console& console);

}  // namespace songloader::cli
