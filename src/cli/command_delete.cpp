// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>

#include "device_access.h"
#include "core/entry/device_songs.h"
#include "core/common/translatable.h"

namespace songloader::cli {

void AddDeleteCommand(CommandSet& commands) {
    CLI::App& command = AddDeviceCommand(
        commands, "delete", SL_TRANSLATE_NOOP("Cli", "remove a song and its media files from the device"),
        "[DEVICE] NUMBER",
        SL_TRANSLATE_NOOP("Cli",
                          "Records the delete on the device, removes the media files of the song NUMBER\n"
                          "(every NUMBER.* in its folder), then writes the catalogue without it; works on\n"
                          "a full device. An interrupted delete is finished by the next writing command.\n"),
        DeviceUse::Write, [](LoadedDevice& loaded, const Operands& operands, Console& console) {
            SongList& songs = loaded.songs;
            const std::string& number = operands.rest[0];
            auto it =
                std::find_if(songs.begin(), songs.end(), [&](const ROWELEMENT& s) { return s.numberText == number; });
            if (it == songs.end()) {
                console.Fail() << "song " << number << " is not on the device\n";
                return kExitFailure;
            }
            const Result<CatalogueWritten> deleted =
                loaded.session->DeleteSong(songs, static_cast<std::size_t>(it - songs.begin()));
            if (!WriteDone(deleted, *loaded.session, console)) return kExitFailure;
            PrintNotices(deleted->notices, false, console);
            return kExitOk;
        });
    commands.ShowsProgress(command);
}

}  // namespace songloader::cli
