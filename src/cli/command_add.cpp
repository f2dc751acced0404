// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>

#include "device_access.h"
#include "interrupt_stop.h"
#include "song_conversion.h"
#include "song_fields.h"
#include "core/device/device_layout.h"
#include "core/entry/add_queue.h"
#include "core/entry/device_songs.h"
#include "core/entry/number_rules.h"
#include "core/common/translatable.h"

namespace songloader::cli {

namespace {

struct AddFlags {
    SongFieldOptions fields;
    ConversionFlags conversion;
};

int Add(const AddFlags& flags, const Operands& operands, Console& console) {
    const SongFieldOptions& fields = flags.fields;
    const std::string language = fields.language ? LanguageComboText(*fields.language) : "";
    if (fields.number && !NumberBoxAccepts(*fields.number, console)) return kExitFailure;
    // Held from reading the song list to writing the new one, so a parallel add is not lost.
    return RunOnDevice(operands.device, fields.encoding, DeviceUse::Write, console, [&](LoadedDevice& loaded) {
        const SongList& songs = loaded.songs;
        DeviceSession& session = *loaded.session;
        ROWELEMENT texts;
        if (!StoreTexts(fields, loaded.device, texts, console)) return kExitFailure;
        EntryForm form;
        form.numberText = fields.number ? *fields.number : std::to_string(NextFreeUserNumber(songs, {}));
        form.languageText = language;
        form.title = texts.title;
        form.artist = texts.artist;
        form.composer = texts.composer;
        form.lyricist = texts.lyricist;
        form.mediaPath = operands.rest[0];
        const Result<ROWELEMENT> check = CheckQueueToAdd(form, true, {}, songs);
        if (!check) {
            PrintNotices({check.failure().AsNotice()}, true, console);
            return kExitFailure;
        }

        SongList batch{*check};
        const auto profile = LoadPlayerProfile(fields.encoding, console);
        if (!profile) return kExitFailure;
        auto conversion = PrepareConversion(flags.conversion, *profile, fields.encoding, batch, console);
        if (!conversion || batch.empty()) return kExitFailure;
        const ROWELEMENT& song = *check;
        if (!DeviceStillThere(session, console)) return kExitFailure;
        InterruptStopsBatch interrupt;
        ProgressLine line(console, "copying " + std::filesystem::path(song.mediaPath).filename().string());
        AddHooks hooks;
        hooks.onBytes = [&](const BatchProgress& progress) {
            line.Bytes(progress.fileBytesDone, progress.fileBytes, progress.fileBytesDone == progress.fileBytes);
        };
        const Result<AddReport> added = AddSongs(session, songs, batch, *conversion, hooks, console);
        line.Finish();
        if (!WriteDone(added, session, console)) return kExitFailure;
        for (const SongNotAdded& refused : added->notAdded) {
            console.Fail() << (added->takenOff ? "" : "cannot copy ") << refused.song.mediaPath << ": "
                           << refused.why.message << "\n";
        }
        if (added->catalogueFailure) {
            console.Fail() << added->catalogueFailure->message << "\n";
            if (!added->uncatalogued.empty()) {
                console.Fail() << "The copy stays recorded on the device; the next writing command catalogues it.\n";
            }
            return kExitFailure;
        }
        if (added->added.empty()) return kExitFailure;
        // The number alone on standard output, so that a script can take it.
        for (const Notice& notice : added->notices) console.err << notice.text << "\n";
        console.out << song.numberText << "\n";
        return kExitOk;
    });
}

}  // namespace

void AddAddCommand(CommandSet& commands) {
    AddCommandWith<AddFlags>(
        commands, "add", SL_TRANSLATE_NOOP("Cli", "copy a media file onto the device as a user song"), "[DEVICE] MEDIA",
        SL_TRANSLATE_NOOP("Cli",
                          "Copies MEDIA onto the device as a user song and rebuilds the catalogue, then prints\n"
                          "the song's number alone on standard output (n=$(songloader-cli add ...) takes it).\n"
                          "Without --number the next free user number from 900000 is taken.\n"
                          "Without --language the song is filed under Other.\n"
                          "A file the player plays only after conversion is refused (exit 1) unless --convert is\n"
                          "given: it is then converted into MP4 (H.264, AAC) by the ffmpeg program on this computer\n"
                          "and stored as NUMBER.mp4. Ctrl-C while it converts ends the converter and adds nothing.\n"),
        Progress::Shown, Add, [](CLI::App& command, AddFlags& flags) {
            AddSongFieldOptions(command, flags.fields, false);
            AddConversionFlags(command, flags.conversion);
        });
}

}  // namespace songloader::cli
