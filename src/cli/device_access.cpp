#include "device_access.h"

#include <iostream>
#include <system_error>

#include "core/catalogue/list_file_reader.h"
#include "core/entry/interrupted_writes.h"
#include "core/text/code_page.h"

namespace songloader::cli {

std::optional<Device> OpenDevice(const std::string& root, const Arguments& args, Console& console) {
    std::error_code error;
    if (!std::filesystem::is_directory(root, error)) {
        console.err << "no device folder at " << root << "\n";
        return std::nullopt;
    }
    Device device;
    device.root = root;
    device.songFolder = device.root / "songs";
    device.codePage = CodePageOption(args);
    const auto identity = ReadDeviceIdentity(device.root);
    if (!identity) {
        console.err << "no device folder at " << root << "\n";
        return std::nullopt;
    }
    device.identity = *identity;
    // A replacement a killed run left half-done is finished (or discarded) before anything is read.
    for (const std::string& problem : FinishInterruptedReplacements(device.root)) console.err << problem << "\n";
    return device;
}

std::string CodePageOption(const Arguments& args) {
    const auto named = args.option("encoding");
    if (!named) return TextSettingsFromEnvironment().codePage;
    // The player reads single- and double-byte texts only: UTF-8 or UTF-16 would write NUL bytes.
    if (auto page = LocaleCodePage(*named)) return *page;
    std::string pages;
    for (const std::string& page : LocaleCodePages()) pages += " " + page;
    throw UsageError{"--encoding must be one of" + pages};
}

std::optional<SongList> ReadDeviceSongs(const Device& device, Console& console) {
    const auto file = FindListFile(device.songFolder, kDeviceListName);
    if (!file) return SongList{};
    ListReadResult read = ReadListFile(*file, ListKind::Device);
    if (!read.ok) {
        console.err << read.failure.text << "\n";
        return std::nullopt;
    }
    return std::move(read.songs);
}

std::unique_ptr<DeviceWriteSession> BeginDeviceWrite(const Device& device, Console& console) {
    auto session = std::make_unique<DeviceWriteSession>(device.identity, device.root);
    if (session->ready()) {
        for (const std::string& problem : MendInterruptedWrites(device.root)) console.err << problem << "\n";
        return session;
    }
    console.err << session->refusal() << "\n";
    return nullptr;
}

bool DeviceStillThere(DeviceWriteSession& session, Console& console) {
    if (session.StillHolds()) return true;
    console.err << kDeviceChangedMessage << "\n";
    return false;
}

void RequirePositional(const Arguments& args, std::size_t count, const char* names) {
    if (args.positional.size() != count) throw UsageError{std::string("expected ") + names};
}

int RunOnDevice(const std::vector<std::string>& rawArgs, Console& console, const DeviceCommand& command,
                const std::function<int(const Arguments& args, LoadedDevice& loaded)>& body) {
    const Arguments args = ParseArguments(rawArgs, kCommonOptions);
    if (args.help) return PrintHelp(command.usage, command.details, console);
    RequirePositional(args, command.positional, command.names);
    auto device = OpenDevice(args.positional.at(0), args, console);
    if (!device) return kExitFailure;
    // A writer reads the songs under its lock, so no other writer's change is lost.
    std::unique_ptr<DeviceWriteSession> session;
    if (command.writes && !(session = BeginDeviceWrite(*device, console))) return kExitFailure;
    auto songs = ReadDeviceSongs(*device, console);
    if (!songs) return kExitFailure;
    LoadedDevice loaded{std::move(*device), std::move(*songs), std::move(session)};
    return body(args, loaded);
}

std::optional<std::string> ToDevice(const Device& device, const std::string& utf8, const char* what,
                                    Console& console) {
    auto bytes = Utf8ToDevice(utf8, device.codePage);
    if (!bytes) console.err << "the " << what << " cannot be written in " << device.codePage << "\n";
    return bytes;
}

void PrintNotices(const Notices& notices, bool failure, Console& console) {
    for (const Notice& notice : notices) (failure ? console.err : console.out) << notice.text << "\n";
}

int PrintHelp(const char* usage, const char* details, Console& console) {
    console.out << "usage: songloader-cli " << usage << "\n\n" << details;
    return kExitOk;
}

}  // namespace songloader::cli
