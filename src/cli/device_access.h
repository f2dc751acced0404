#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "cli_common.h"
#include "core/catalogue/row_element.h"
#include "core/common/notice.h"
#include "core/device/device_identity.h"
#include "core/device/device_write_session.h"

namespace songloader::cli {

// The device named on the command line, with its song folder and its code page.
struct Device {
    std::filesystem::path root;
    std::filesystem::path songFolder;
    std::string codePage;
    DeviceIdentity identity;  // the volume found at `root` when the command started
};

// The options every device command takes.
inline const std::vector<std::string> kCommonOptions = {"encoding"};

// The device code page: --encoding when given, else the locale's. Only the code pages of the
// locale table are accepted: any other name is a usage error that lists them.
std::string CodePageOption(const Arguments& args);

// Checks that DEVICE is a folder and picks the code page (--encoding or the locale's).
// Prints why not and returns nullopt on failure.
std::optional<Device> OpenDevice(const std::string& root, const Arguments& args, Console& console);

// The device's song list as read from songs/SgList.dat (empty when there is none).
std::optional<SongList> ReadDeviceSongs(const Device& device, Console& console);

// Takes DEVICE for writing (the write lock, waiting for another writer, and the check that it is
// still the volume the command started on); prints why not and returns null.
std::unique_ptr<DeviceWriteSession> BeginDeviceWrite(const Device& device, Console& console);

// Before each write and after a failed one: false, with the removed-or-changed message printed,
// once the device is no longer the one the command started on.
bool DeviceStillThere(DeviceWriteSession& session, Console& console);

// A device with its song list, for commands that start from what is on the device.
struct LoadedDevice {
    Device device;
    SongList songs;
    std::unique_ptr<DeviceWriteSession> session;  // held while a writing command runs
};

// Throws UsageError unless there are exactly `count` positional arguments (`names` for the message).
void RequirePositional(const Arguments& args, std::size_t count, const char* names);

// The help text and positional arguments of a command that works on DEVICE's songs.
struct DeviceCommand {
    const char* usage;
    const char* details;
    std::size_t positional;  // DEVICE included
    const char* names;       // for the usage message, e.g. "DEVICE FILE"
    bool writes = false;     // takes the device for writing before its songs are read
};

// Parses the arguments, answers --help, checks the positional count, opens DEVICE and reads its
// songs, then runs `body`; failures before `body` are reported here.
int RunOnDevice(const std::vector<std::string>& rawArgs, Console& console, const DeviceCommand& command,
                const std::function<int(const Arguments& args, LoadedDevice& loaded)>& body);

// UTF-8 from the command line -> device bytes; prints why not.
std::optional<std::string> ToDevice(const Device& device, const std::string& utf8, const char* what,
                                    Console& console);

// Notices go to standard output, or to standard error when `failure`.
void PrintNotices(const Notices& notices, bool failure, Console& console);

// Prints the usage text of a command.
int PrintHelp(const char* usage, const char* details, Console& console);

}  // namespace songloader::cli
