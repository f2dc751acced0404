// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>
#include <system_error>

#include "device_access.h"
#include "song_fields.h"
#include "core/device/device_layout.h"
#include "core/device/device_room.h"
#include "core/entry/add_queue.h"
#include "core/entry/number_rules.h"

namespace songloader::cli {

namespace {

int Add(const SongFieldOptions& fields, const Operands& operands, Console& console) {
    const std::string language = fields.language ? LanguageComboText(*fields.language) : "";
    if (fields.number && !NumberBoxAccepts(*fields.number, console)) return kExitFailure;
    const auto device = OpenDevice(operands.device, fields.encoding, console);
    if (!device) return kExitFailure;
    // Held from reading the song list to writing the new one, so a parallel add is not lost.
    const auto session = BeginDeviceWrite(*device, console);
    if (!session) return kExitFailure;
    auto songs = ReadDeviceSongs(*device, console);
    if (!songs) return kExitFailure;

    ROWELEMENT texts;
    if (!StoreTexts(fields, *device, texts, console)) return kExitFailure;
    EntryForm form;
    form.numberText = fields.number ? *fields.number : std::to_string(NextFreeUserNumber(*songs, {}));
    form.languageText = language;
    form.title = texts.title;
    form.artist = texts.artist;
    form.composer = texts.composer;
    form.lyricist = texts.lyricist;
    form.mediaPath = operands.rest[0];
    QueueCheck check = CheckQueueToAdd(form, true, {}, *songs);
    if (check.failure) {
        PrintNotices({*check.failure}, true, console);
        return kExitFailure;
    }

    ROWELEMENT song = check.song;
    if (const auto refusal = RefuseMediaForRoom(song.mediaPath, device->songFolder)) {
        console.Fail() << *refusal << "\n";
        return kExitFailure;
    }
    if (!DeviceStillThere(*session, console)) return kExitFailure;
    std::error_code error;
    const std::uint64_t bytes = std::filesystem::file_size(song.mediaPath, error);
    ProgressLine line(console, "copying " + std::filesystem::path(song.mediaPath).filename().string());
    const MediaResult copy = CopyMediaFile(song.mediaPath, MediaTargetPath(device->songFolder, song.numberText, song.mediaPath),
                                           CopyProgress(line, error ? 0 : bytes));
    line.Finish();
    if (!DeviceStillThere(*session, console)) return kExitFailure;
    if (!copy.ok) {
        console.Fail() << "cannot copy " << song.mediaPath << ": " << copy.error << "\n";
        return kExitFailure;
    }
    song.mediaPath = copy.path.string();
    songs->push_back(song);
    const auto result = RebuildDevice(*songs, *device, *session, RebuildMode::Add, console);
    if (!result) return kExitFailure;
    if (!result->ok) {
        PrintNotices(result->notices, true, console);
        // Nothing refers to the copy: take it back off the device.
        std::filesystem::remove(copy.path, error);
        return kExitFailure;
    }
    // The number alone on standard output, so that a script can take it.
    for (const Notice& notice : result->notices) console.err << notice.text << "\n";
    console.out << song.numberText << "\n";
    return kExitOk;
}

}  // namespace

void AddAddCommand(CommandSet& commands) {
    auto fields = std::make_shared<SongFieldOptions>();
    CLI::App& command = commands.Add(
        "add", "copy a media file onto the device as a user song", "[DEVICE] MEDIA",
        "Copies MEDIA onto the device as a user song and rebuilds the catalogue, then prints\n"
        "the song's number alone on standard output (n=$(songloader-cli add ...) takes it).\n"
        "Without --number the next free user number from 900000 is taken.\n"
        "Without --language the song is filed under Other.\n",
        [fields](const Operands& operands, Console& console) { return Add(*fields, operands, console); });
    commands.ShowsProgress(command);
    AddSongFieldOptions(command, *fields, false);
}

}  // namespace songloader::cli
