#include <algorithm>
#include <cctype>
#include <system_error>

#include "cloud_access.h"
#include "device_access.h"
#include "core/catalogue/language_table.h"
#include "core/catalogue/list_file_reader.h"
#include "core/cloud/cloud_messages.h"
#include "core/cloud/cloud_song.h"
#include "core/device/device_room.h"
#include "core/entry/catalogue_rebuild.h"
#include "terminal_text.h"

namespace songloader::cli {

namespace {

std::int32_t SongNumberArgument(const std::string& text) {
    if (text.empty() || text.size() > 6 ||
        !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); })) {
        throw UsageError{"a song number has one to six digits, not \"" + text + "\""};
    }
    return std::stoi(text);
}

}  // namespace

int RunFetch(const std::vector<std::string>& rawArgs, Console& console) {
    const Arguments args = ParseArguments(rawArgs, kCloudOptions);
    if (args.help) {
        return PrintHelp("fetch DEVICE NUMBER... [--cloud-url URL]",
                         "Downloads the videos of the given cloud songs that the device lacks into\n"
                         "DEVICE/songs/NNN/NUMBER.mp4, adds them with their titles and all from the cloud\n"
                         "list (run cloud-sync first) and rebuilds the device catalogue. Songs whose\n"
                         "download fails are named and not added. Ctrl-C cancels the running download.\n",
                         console);
    }
    if (args.positional.size() < 2) throw UsageError{"expected DEVICE NUMBER..."};
    std::vector<std::int32_t> wanted;
    for (std::size_t i = 1; i < args.positional.size(); ++i) wanted.push_back(SongNumberArgument(args.positional[i]));

    const auto device = OpenDevice(args.positional[0], args, console);
    if (!device) return kExitFailure;
    const auto session = BeginDeviceWrite(*device, console);
    if (!session) return kExitFailure;
    auto songs = ReadDeviceSongs(*device, console);
    if (!songs) return kExitFailure;
    const auto cloudList = FindListFile(device->songFolder, kCloudListName);
    if (!cloudList) {
        console.err << "no cloud list on the device: run cloud-sync first\n";
        return kExitFailure;
    }
    // Read as stored: the cloud list's titles without the "(MV)" the work list shows.
    const ListReadResult cloud = ReadListFile(*cloudList, ListKind::Device);
    if (!cloud.ok) {
        console.err << cloud.failure.text << "\n";
        return kExitFailure;
    }

    std::vector<ROWELEMENT> toFetch;
    bool failed = false;
    for (std::int32_t number : wanted) {
        auto found = std::find_if(cloud.songs.begin(), cloud.songs.end(),
                                  [&](const ROWELEMENT& song) { return song.number == number; });
        if (found == cloud.songs.end()) {
            console.err << number << " is not in the cloud list\n";
            failed = true;
        } else if (IsOnDevice(*songs, number)) {
            console.out << number << " is already on the device\n";
        } else if (std::none_of(toFetch.begin(), toFetch.end(),
                                [&](const ROWELEMENT& song) { return song.number == number; })) {
            toFetch.push_back(*found);
        }
    }
    if (toFetch.empty()) return failed ? kExitFailure : kExitOk;

    CloudClient client = MakeCloudClient(args);
    if (!CloudReachable(client)) {
        console.err << kCheckNetworkMessage << "\n";
        return kExitFailure;
    }
    const TransferRunner runner = ConsoleTransferRunner(client.progress(), console, device->codePage);
    std::vector<std::filesystem::path> arrived;
    std::vector<std::string> notAdded;
    bool cancelled = false;
    for (const ROWELEMENT& song : toFetch) {
        const std::string name = song.numberText + " " + TerminalText(song.title, device->codePage);
        if (cancelled) {
            notAdded.push_back(name);
            continue;
        }
        if (!DeviceStillThere(*session, console)) return kExitFailure;
        const CloudSongFetch fetch = FetchCloudSong(client, device->songFolder, song, runner, {}, [&](std::int64_t size) {
            return RefuseForRoomIn(song.numberText + kSongRemoteSuffix, size, device->songFolder);
        });
        if (!fetch.outcome.ok() && !DeviceStillThere(*session, console)) return kExitFailure;
        if (fetch.outcome.ok()) {
            console.out << name << ": done\n";
            songs->push_back(song);
            arrived.push_back(fetch.mediaFile);
        } else {
            console.err << name << ": " << DescribeOutcome(fetch.outcome) << "\n";
            notAdded.push_back(name);
        }
        cancelled = fetch.outcome.status == DownloadStatus::Cancelled;
    }

    if (!arrived.empty()) {
        if (!DeviceStillThere(*session, console)) return kExitFailure;
        const RebuildResult result = RebuildDeviceCatalogue(*songs, device->songFolder, RebuildMode::Add, {},
                                                            device->codePage);
        if (!DeviceStillThere(*session, console)) return kExitFailure;
        for (const std::string& line : result.diagnostics) console.err << line;
        PrintNotices(result.notices, !result.ok, console);
        if (!result.ok) {
            // The catalogue does not name them: take the videos back off the device.
            std::error_code ignored;
            for (const auto& file : arrived) std::filesystem::remove(file, ignored);
            return kExitFailure;
        }
    }
    if (!notAdded.empty()) {
        console.err << "not added:";
        for (const std::string& name : notAdded) console.err << "\n  " << name;
        console.err << "\n";
        return kExitFailure;
    }
    return failed ? kExitFailure : kExitOk;
}

}  // namespace songloader::cli
