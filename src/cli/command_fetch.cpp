// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cctype>
#include <memory>

#include "cloud_access.h"
#include "device_access.h"
#include "core/catalogue/language_table.h"
#include "core/catalogue/numbered_song_list.h"
#include "core/catalogue/list_file_reader.h"
#include "core/cloud/cloud_messages.h"
#include "core/cloud/cloud_song_add.h"
#include "core/entry/catalogue_rebuild.h"
#include "terminal_text.h"
#include "core/common/translatable.h"

namespace songloader::cli {

namespace {

std::int32_t SongNumberArgument(const std::string& text) {
    if (text.empty() || text.size() > 6 ||
        !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); })) {
        throw UsageError{"a song number has one to six digits, not \"" + text + "\""};
    }
    return std::stoi(text);
}

// The songs `wanted` downloaded onto the device held for writing.
int FetchOnto(LoadedDevice& loaded, const std::vector<std::int32_t>& wanted, const CloudOptions& options,
              Console& console) {
    const Device& device = loaded.device;
    const auto cloudList = FindListFile(device.songFolder, kCloudListName);
    if (!cloudList) {
        console.Fail() << "no cloud list on the device: run cloud-sync first\n";
        return kExitFailure;
    }
    // Read as stored: the cloud list's titles without the "(MV)" the work list shows.
    const Result<SongList> cloud = ReadListFile(*cloudList, ListKind::Device);
    if (!cloud) {
        console.Fail() << cloud.message() << "\n";
        return kExitFailure;
    }

    const SongNumberSet deviceNumbers(loaded.songs);
    std::vector<ROWELEMENT> toFetch;
    bool failed = false;
    for (std::int32_t number : wanted) {
        auto found =
            std::find_if(cloud->begin(), cloud->end(), [&](const ROWELEMENT& song) { return song.number == number; });
        if (found == cloud->end()) {
            console.Fail() << number << " is not in the cloud list\n";
            failed = true;
        } else if (deviceNumbers.Contains(number)) {
            console.out << number << " is already on the device\n";
        } else if (std::none_of(toFetch.begin(), toFetch.end(),
                                [&](const ROWELEMENT& song) { return song.number == number; })) {
            toFetch.push_back(*found);
        }
    }
    if (toFetch.empty()) return failed ? kExitFailure : kExitOk;

    CloudClient client = MakeCloudClient(options);
    if (!CheckNetwork(client, console)) return kExitFailure;
    const TransferRunner runner = ConsoleTransferRunner(client.progress(), console, device.codePage);
    const auto name = [&](const ROWELEMENT& song) {
        return song.numberText + " " + TerminalText(song.title, device.codePage);
    };
    AddHooks hooks;
    hooks.onFileEnd = [&](const ROWELEMENT& song, const Result<std::filesystem::path>& placed) {
        if (placed) console.out << name(song) << ": done\n";
    };
    const Result<AddReport> added = loaded.session->AddCloudSongs(client, loaded.songs, toFetch, {}, runner, {}, hooks);
    if (!WriteDone(added, *loaded.session, console)) return kExitFailure;
    if (added->catalogueFailure) {
        console.Fail() << added->catalogueFailure->message << "\n";
        if (!added->uncatalogued.empty()) {
            console.Fail() << "The downloaded songs stay recorded on the device; the next writing command "
                              "catalogues them.\n";
        }
        for (const SongNotAdded& refused : added->notAdded) {
            console.Fail() << name(refused.song) << ": " << refused.why.message << "\n";
        }
        return kExitFailure;
    }
    PrintNotices(added->notices, false, console);
    std::vector<std::string> notAdded;
    for (const SongNotAdded& refused : added->notAdded) {
        console.Fail() << name(refused.song) << ": " << refused.why.message << "\n";
        notAdded.push_back(name(refused.song));
    }
    if (!notAdded.empty()) {
        console.Fail() << "not added:";
        for (const std::string& name : notAdded) console.err << "\n  " << name;
        console.err << "\n";
        return kExitFailure;
    }
    return failed ? kExitFailure : kExitOk;
}

int Fetch(const CloudOptions& options, const Operands& operands, Console& console) {
    std::vector<std::int32_t> wanted;
    for (const std::string& number : operands.rest) wanted.push_back(SongNumberArgument(number));

    return RunOnDevice(operands.device, options.encoding, DeviceUse::Write, console,
                       [&](LoadedDevice& loaded) { return FetchOnto(loaded, wanted, options, console); });
}

}  // namespace

void AddFetchCommand(CommandSet& commands) {
    AddCommandWith<CloudOptions>(
        commands, "fetch", SL_TRANSLATE_NOOP("Cli", "download cloud songs the device lacks and add them"),
        "[DEVICE] NUMBER...",
        SL_TRANSLATE_NOOP("Cli",
                          "Downloads the videos of the given cloud songs that the device lacks into\n"
                          "DEVICE/songs/NNN/NUMBER.mp4, adds them with their titles and all from the cloud\n"
                          "list (run cloud-sync first) and rebuilds the device catalogue. Songs whose\n"
                          "download fails are named and not added. Ctrl-C cancels the running download.\n"),
        Progress::Shown, Fetch, AddCloudOptions);
}

}  // namespace songloader::cli
