// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "device_access.h"
#include "song_fields.h"
#include "core/catalogue/language_table.h"
#include "core/entry/device_revise.h"
#include "core/common/translatable.h"

namespace songloader::cli {

namespace {

int Revise(const SongFieldOptions& fields, const Operands& operands, Console& console) {
    const std::string& number = operands.rest[0];
    const std::string language = fields.language ? LanguageComboText(*fields.language) : "";
    return RunOnDevice(operands.device, fields.encoding, DeviceUse::Write, console, [&](LoadedDevice& loaded) {
        if (fields.number && !NumberBoxAccepts(*fields.number, console)) return kExitFailure;
        SongList& songs = loaded.songs;
        const auto found =
            std::find_if(songs.begin(), songs.end(), [&](const ROWELEMENT& song) { return song.numberText == number; });
        if (found == songs.end()) {
            console.Fail() << "song " << number << " is not on the device\n";
            return kExitFailure;
        }
        ROWELEMENT song = *found;
        if (!StoreTexts(fields, loaded.device, song, console)) return kExitFailure;
        if (fields.number) {
            song.numberText = *fields.number;
            song.number = std::atoi(song.numberText.c_str());
        }
        if (fields.language) SetLanguage(song, LanguageFromText(language));

        if (!DeviceStillThere(*loaded.session, console)) return kExitFailure;
        ProgressLine line(console, "moving " + number + " to " + song.numberText);
        std::uint64_t bytes = 0;
        ReviseHooks hooks;
        hooks.onMoveStart = [&](std::uint64_t size) { bytes = size; };
        hooks.onChunk = [&](std::uint64_t chunks) { CopyProgress(line, bytes)(chunks); };
        const auto row = static_cast<std::size_t>(found - songs.begin());
        const Result<CatalogueWritten> result = loaded.session->ReviseSong(
            songs, row, song, [&](const ROWELEMENT& stored) { songs[row] = stored; }, hooks);
        line.Finish();
        if (!DeviceStillThere(*loaded.session, console)) return kExitFailure;
        if (!result) {
            PrintNotices(result.failure().AsNotices(), true, console);
            return kExitFailure;
        }
        for (const std::string& note : result->notes) console.err << note;
        PrintNotices(result->notices, false, console);
        return kExitOk;
    });
}

}  // namespace

void AddReviseCommand(CommandSet& commands) {
    AddCommandWith<SongFieldOptions>(
        commands, "revise", SL_TRANSLATE_NOOP("Cli", "change a song on the device"), "[DEVICE] NUMBER",
        SL_TRANSLATE_NOOP("Cli",
                          "Changes the device's song NUMBER as the window's \"Revise\" does: the options given\n"
                          "replace its values, the others stay. A new --number must be free on the device and\n"
                          "passes the number box's checks; then every file of the song (NUMBER and NUMBER.*)\n"
                          "moves to the new number, all or none, and the catalogue is rebuilt. When a check or a\n"
                          "step fails, nothing on the device changes.\n"),
        Progress::Shown, Revise,
        [](CLI::App& command, SongFieldOptions& fields) { AddSongFieldOptions(command, fields, false); });
}

}  // namespace songloader::cli
