// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <memory>

#include "device_access.h"
#include "core/entry/media_files.h"

namespace songloader::cli {

void AddDeleteCommand(CommandSet& commands) {
    auto encoding = std::make_shared<std::string>();
    CLI::App& command = commands.Add(
        "delete", "remove a song and its media files from the device", "[DEVICE] NUMBER",
        "Removes the song NUMBER from the device's catalogue, then its media files\n"
        "(every NUMBER.* in its folder).\n",
        [encoding](const Operands& operands, Console& console) {
            return RunOnDevice(operands.device, *encoding, DeviceUse::Write, console, [&](LoadedDevice& loaded) {
                SongList& songs = loaded.songs;
                const std::string& number = operands.rest[0];
                auto it = std::find_if(songs.begin(), songs.end(),
                                       [&](const ROWELEMENT& s) { return s.numberText == number; });
                if (it == songs.end()) {
                    console.Fail() << "song " << number << " is not on the device\n";
                    return kExitFailure;
                }
                const std::string numberText = it->numberText;
                songs.erase(it);
                // The catalogue first: if it cannot be written the media stays where the old catalogue expects it.
                const auto result = RebuildDevice(songs, loaded.device, *loaded.session, RebuildMode::Delete, console);
                if (!result) return kExitFailure;
                if (result->ok) DeleteDeviceSongFiles(loaded.device.songFolder, numberText);
                PrintNotices(result->notices, !result->ok, console);
                return result->ok ? kExitOk : kExitFailure;
            });
        });
    commands.ShowsProgress(command);
    AddEncodingOption(command, *encoding);
}

}  // namespace songloader::cli
