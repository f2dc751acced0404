// SPDX-License-Identifier: GPL-3.0-or-later
#include "device_access.h"

#include <cstdlib>
#include <ostream>
#include <sstream>
#include <system_error>

#include "core/catalogue/catalogue_database.h"
#include "core/catalogue/list_file_reader.h"
#include "core/device/device_layout.h"
#include "core/device/drive_system.h"
#include "core/text/code_page.h"
#include "progress.h"

namespace songloader::cli {

namespace fs = std::filesystem;

namespace {

// Lists of this many songs take long enough to rebuild for a count to help.
constexpr std::size_t kLongList = 2000;

std::optional<std::string> Variable(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) return std::nullopt;
    return std::string(value);
}

// A song folder given in place of its device: it holds the catalogue, or it is the songs folder of
// a removable or USB volume.
bool IsSongFolder(const DriveSystem& system, const fs::path& folder) {
    std::error_code error;
    if (fs::exists(folder / kDeviceListName, error) || fs::exists(folder / kDeviceDatabaseName, error)) return true;
    return folder == SongFolderOf(folder.parent_path()) && DeviceRootForPickedFolder(system, folder) != folder;
}

}  // namespace

UserSettings SettingsInEffect(const std::string& encodingFlag, const std::string& cloudUrlFlag) {
    SettingsSources sources = SettingsSources::FromEnvironment();
    if (!encodingFlag.empty()) sources.encodingFlag = encodingFlag;
    if (!cloudUrlFlag.empty()) sources.cloudUrlFlag = cloudUrlFlag;
    return ResolveUserSettings(sources);
}

std::optional<std::string> DeviceCodePage(const std::string& encodingFlag, Console& console) {
    const Setting encoding = SettingsInEffect(encodingFlag).encoding;
    if (auto page = LocaleCodePage(encoding.value)) return page;
    std::string pages;
    for (const std::string& page : LocaleCodePages()) pages += " " + page;
    if (encoding.source == SettingSource::CommandLine) throw UsageError{"--encoding must be one of" + pages};
    console.Fail() << "unknown encoding " << encoding.value << " (from " << encoding.origin << "); use one of" << pages
                   << "\n";
    return std::nullopt;
}

LinuxDriveSystem DriveSystemFromEnvironment() {
    LinuxDriveSystem::Paths paths;
    if (auto mountInfo = Variable("SONGLOADER_MOUNTINFO")) paths.mountInfo = *mountInfo;
    if (auto sysfs = Variable("SONGLOADER_SYSFS")) paths.sysRoot = *sysfs;
    if (auto roots = Variable("SONGLOADER_MOUNT_ROOTS")) {
        paths.mountRoots.clear();
        std::istringstream in(*roots);
        for (std::string root; std::getline(in, root, ':');) {
            if (!root.empty()) paths.mountRoots.emplace_back(root);
        }
    }
    return LinuxDriveSystem(paths);
}

MountFiles MountFilesFromEnvironment() {
    MountFiles files;
    if (auto mountInfo = Variable("SONGLOADER_MOUNTINFO")) files.mountInfo = *mountInfo;
    return files;
}

std::optional<fs::path> FindDeviceRoot(const std::optional<std::string>& given, Console& console) {
    const LinuxDriveSystem system = DriveSystemFromEnvironment();
    if (!given) {
        const auto chosen = ChooseDeviceDrive(system);
        if (!chosen) {
            console.Fail() << "Please insert device!!\n";
            return std::nullopt;
        }
        console.err << "Using " << chosen->string() << "\n";
        return *chosen;
    }
    std::error_code error;
    if (!fs::is_directory(*given, error)) {
        console.Fail() << *given << ": "
                       << (error                       ? error.message()
                           : fs::exists(*given, error) ? "not a folder"
                                                       : "no such folder")
                       << "\n";
        return std::nullopt;
    }
    const fs::path folder = fs::canonical(*given, error);
    if (error) {
        console.Fail() << *given << ": " << error.message() << "\n";
        return std::nullopt;
    }
    if (IsSongFolder(system, folder)) {
        console.Fail() << *given
                       << " is a device's songs folder; give the device itself: " << folder.parent_path().string()
                       << "\n";
        return std::nullopt;
    }
    const fs::path root = DeviceRootForPickedFolder(system, folder);
    if (root != folder) console.err << "Using " << root.string() << "\n";
    return root;
}

std::optional<Device> OpenDevice(const std::optional<std::string>& given, const std::string& encodingFlag,
                                 Console& console) {
    auto codePage = DeviceCodePage(encodingFlag, console);
    if (!codePage) return std::nullopt;
    auto root = FindDeviceRoot(given, console);
    if (!root) return std::nullopt;
    auto session = std::make_shared<DeviceSession>(*root, *codePage, MountFilesFromEnvironment());
    if (!session->chosen()) {
        console.Fail() << "no device folder at " << root->string() << "\n";
        return std::nullopt;
    }
    // A replacement a killed run left half-done is finished (or discarded) before anything is read.
    if (auto finished = session->FinishReplacements(); !finished) console.Fail() << finished.message() << "\n";
    return Device{*root, session->songFolder(), *codePage, std::move(session)};
}

std::optional<SongList> ReadDeviceSongs(const Device& device, Console& console) {
    Result<SongList> read = device.session->ReadSongs();
    if (!read) {
        console.Fail() << read.message() << "\n";
        return std::nullopt;
    }
    return std::move(read).value();
}

std::optional<SongNumberSet> ReadDeviceNumbers(const Device& device, Console& console) {
    const Result<std::vector<std::int32_t>> numbers = device.session->ReadNumbers();
    if (!numbers) {
        console.Fail() << numbers.message() << "\n";
        return std::nullopt;
    }
    return SongNumberSet(*numbers);
}

DeviceSession* BeginDeviceWrite(const Device& device, Console& console) {
    const Result<MendReport, WriteRefusal> taken = device.session->BeginWrite();
    if (!taken) {
        console.Fail() << taken.message() << "\n";
        return nullptr;
    }
    for (const std::string& problem : taken->problems) console.Fail() << problem << "\n";
    return device.session.get();
}

bool DeviceStillThere(DeviceSession& session, Console& console) {
    if (session.StillHolds()) return true;
    console.Fail() << kDeviceChangedMessage << "\n";
    return false;
}

int RunOnDevice(const std::optional<std::string>& given, const std::string& encodingFlag, DeviceUse use,
                Console& console, const std::function<int(LoadedDevice& loaded)>& body) {
    auto device = OpenDevice(given, encodingFlag, console);
    if (!device) return kExitFailure;
    DeviceSession* session = nullptr;
    if (use == DeviceUse::Write && !(session = BeginDeviceWrite(*device, console))) return kExitFailure;
    auto songs = ReadDeviceSongs(*device, console);
    if (!songs) return kExitFailure;
    LoadedDevice loaded{std::move(*device), std::move(*songs), session};
    return body(loaded);
}

CLI::App& AddDeviceCommand(CommandSet& commands, const char* name, const char* summary, const char* operands,
                           const char* details, DeviceUse use,
                           std::function<int(LoadedDevice& loaded, const Operands& operands, Console& console)> body) {
    return AddCommandWith<std::string>(
        commands, name, summary, operands, details, Progress::Hidden,
        [use, body = std::move(body)](const std::string& encoding, const Operands& given, Console& console) {
            return RunOnDevice(given.device, encoding, use, console,
                               [&](LoadedDevice& loaded) { return body(loaded, given, console); });
        },
        AddEncodingOption);
}

std::optional<std::string> ToDevice(const Device& device, const std::string& utf8, const char* what, Console& console) {
    Result<std::string> bytes = Utf8ToDevice(utf8, device.codePage);
    if (!bytes) {
        console.Fail() << "the " << what << " cannot be written in " << device.codePage << "\n";
        return std::nullopt;
    }
    return std::move(*bytes);
}

void PrintNotices(const Notices& notices, bool failure, Console& console) {
    for (const Notice& notice : notices) {
        if (failure) {
            console.Fail() << notice.text << "\n";
        } else {
            console.out << notice.text << "\n";
        }
    }
}

std::optional<Result<CatalogueWritten>> RebuildDevice(const SongList& songs, DeviceSession& session, RebuildMode mode,
                                                      Console& console) {
    if (!DeviceStillThere(session, console)) return std::nullopt;
    ProgressLine line(console, "rebuilding the catalogue");
    RebuildHooks hooks;
    if (songs.size() >= kLongList) {
        hooks.onSong = [&](std::size_t done, std::size_t total) { line.Count(done, total, "songs", done == total); };
    }
    std::optional<Result<CatalogueWritten>> result = session.Rebuild(songs, mode, hooks);
    line.Finish();
    if (!result) {
        console.Fail() << kDeviceChangedMessage << "\n";
        return std::nullopt;
    }
    if (*result) {
        for (const std::string& note : (*result)->notes) console.err << note;
    }
    return result;
}

}  // namespace songloader::cli
