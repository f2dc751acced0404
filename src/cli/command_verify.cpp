// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>
#include <set>
#include <system_error>
#include <unordered_set>

#include "device_access.h"
#include "core/catalogue/catalogue_database.h"
#include "core/common/temporary_name.h"
#include "core/device/device_layout.h"
#include "core/entry/catalogue_check.h"
#include "core/recovery/interrupted_writes.h"
#include "core/entry/media_files.h"
#include "terminal_text.h"

namespace songloader::cli {

namespace {

int Verify(LoadedDevice& loaded, Console& console) {
    const Device& device = loaded.device;
    const SongList& songs = loaded.songs;

    std::size_t problems = 0;
    DeviceMediaIndex media(device.songFolder);
    std::unordered_set<std::string> owned;
    for (const ROWELEMENT& song : songs) {
        if (auto file = media.Media(song.numberText)) {
            owned.insert(file->native());
        } else {
            console.out << "missing media\t" << song.numberText << '\t' << TerminalText(song.title, device.codePage)
                        << '\n';
            ++problems;
        }
    }
    std::error_code error;
    std::set<std::filesystem::path> strays;
    for (std::filesystem::directory_iterator folder(device.songFolder, error), end; !error && folder != end;
         folder.increment(error)) {
        if (!folder->is_directory(error)) continue;
        for (const auto& file : media.Files(folder->path())) {
            if (!owned.count(file.native()) && !IsTemporaryName(file.filename().native())) strays.insert(file);
        }
    }
    for (const auto& stray : strays) {
        console.out << "no song\t" << std::filesystem::relative(stray, device.root).string() << '\n';
        ++problems;
    }
    for (const std::string& line : CompareListAndDatabase(songs, device.songFolder / kDeviceDatabaseName)) {
        console.out << "list and database disagree\t" << TerminalText(line, device.codePage) << '\n';
        ++problems;
    }
    for (const auto& temporary : DeviceTemporaries(device.root)) {
        console.out << "temporary\t" << std::filesystem::relative(temporary, device.root).string() << '\n';
        ++problems;
    }
    if (problems == 0) console.out << songs.size() << " songs, every one with its media file\n";
    return problems == 0 ? kExitOk : kExitFailure;
}

}  // namespace

void AddVerifyCommand(CommandSet& commands) {
    auto encoding = std::make_shared<std::string>();
    CLI::App& command = commands.Add(
        "verify", "list songs without media files and media files without songs", "[DEVICE]",
        "Lists the songs of the device's list without a media file, the media files in\n"
        "the song folders that no song of the list owns, the songs on which the list\n"
        "and the database disagree (rebuild mends them) and temporary files that\n"
        "interrupted runs left (the next writing command removes them).\n"
        "Exit 1 when there is any.\n",
        [encoding](const Operands& operands, Console& console) {
            return RunOnDevice(operands.device, *encoding, DeviceUse::Read, console,
                               [&](LoadedDevice& loaded) { return Verify(loaded, console); });
        });
    AddEncodingOption(command, *encoding);
}

}  // namespace songloader::cli
