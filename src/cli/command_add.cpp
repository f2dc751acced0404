#include <algorithm>
#include <cctype>
#include <system_error>

#include "device_access.h"
#include "core/device/device_layout.h"
#include "core/device/device_room.h"
#include "core/entry/add_queue.h"
#include "core/entry/catalogue_rebuild.h"
#include "core/entry/media_files.h"
#include "core/entry/number_rules.h"

namespace songloader::cli {

namespace {

const char* ComboTextOf(const std::string& language) {
    if (language == "OPM") return "OPM[Tagalog]";
    if (language == "EG") return "EG[English]";
    if (language == "ES") return "ES[Spanish]";
    throw UsageError{"--language must be OPM, EG or ES"};
}

// The number box's own rules: digits only, first digit 9, 900000..999999.
std::optional<std::string> CheckNumber(const std::string& number, Console& console) {
    if (number.empty() || number.size() > 6 ||
        !std::all_of(number.begin(), number.end(), [](unsigned char c) { return std::isdigit(c); })) {
        throw UsageError{"--number takes up to six digits"};
    }
    if (number[0] != '9') {
        console.err << "The first digit of song number must be 9\n";
        return std::nullopt;
    }
    if (number.size() == 6 && std::stoi(number) < kFirstUserNumber) {
        console.err << "Song number must be 900000 to 999999!\n";
        return std::nullopt;
    }
    return number;
}

}  // namespace

int RunAdd(const std::vector<std::string>& rawArgs, Console& console) {
    const Arguments args = ParseArguments(
        rawArgs, {"encoding", "title", "number", "language", "artist", "composer", "lyricist"});
    if (args.help) {
        return PrintHelp(
            "add DEVICE MEDIA --title T [--number N] [--language OPM|EG|ES] [--artist A] [--composer C] "
            "[--lyricist L]",
            "Copies MEDIA onto the device as a user song and rebuilds the catalogue.\n"
            "Without --number the next free user number from 900000 is taken.\n"
            "Without --language the song is filed under Other.\n",
            console);
    }
    if (args.positional.size() != 2) throw UsageError{"expected DEVICE MEDIA"};
    const std::string language = args.has("language") ? ComboTextOf(*args.option("language")) : "";
    const auto device = OpenDevice(args.positional[0], args, console);
    if (!device) return kExitFailure;
    // Held from reading the song list to writing the new one, so a parallel add is not lost.
    const auto session = BeginDeviceWrite(*device, console);
    if (!session) return kExitFailure;
    auto songs = ReadDeviceSongs(*device, console);
    if (!songs) return kExitFailure;

    EntryForm form;
    if (auto number = args.option("number")) {
        auto checked = CheckNumber(*number, console);
        if (!checked) return kExitFailure;
        form.numberText = *checked;
    } else {
        form.numberText = std::to_string(NextFreeUserNumber(*songs, {}));
    }
    form.languageText = language;
    form.mediaPath = args.positional[1];
    struct Field { const char* option; std::string* target; };
    for (Field field : {Field{"title", &form.title}, Field{"artist", &form.artist},
                        Field{"composer", &form.composer}, Field{"lyricist", &form.lyricist}}) {
        auto bytes = ToDevice(*device, args.option(field.option).value_or(""), field.option, console);
        if (!bytes) return kExitFailure;
        *field.target = *bytes;
    }

    QueueCheck check = CheckQueueToAdd(form, true, {}, *songs);
    if (check.failure) {
        PrintNotices({*check.failure}, true, console);
        return kExitFailure;
    }
    ROWELEMENT song = check.song;
    if (const auto refusal = RefuseMediaForRoom(song.mediaPath, device->songFolder)) {
        console.err << *refusal << "\n";
        return kExitFailure;
    }
    if (!DeviceStillThere(*session, console)) return kExitFailure;
    const MediaResult copy = CopyMediaFile(song.mediaPath, MediaTargetPath(device->songFolder, song.numberText,
                                                                           song.mediaPath));
    if (!DeviceStillThere(*session, console)) return kExitFailure;
    if (!copy.ok) {
        console.err << "cannot copy the media file: " << copy.error << "\n";
        return kExitFailure;
    }
    song.mediaPath = copy.path.string();
    songs->push_back(song);
    const RebuildResult result = RebuildDeviceCatalogue(*songs, device->songFolder, RebuildMode::Add, {},
                                                        device->codePage);
    if (!DeviceStillThere(*session, console)) return kExitFailure;
    for (const std::string& line : result.diagnostics) console.err << line;
    PrintNotices(result.notices, !result.ok, console);
    if (!result.ok) {
        // Nothing refers to the copy: take it back off the device.
        std::error_code ignored;
        std::filesystem::remove(copy.path, ignored);
        std::filesystem::remove(copy.path.parent_path(), ignored);  // only when it is left empty
        return kExitFailure;
    }
    console.out << song.numberText << "\n";
    return kExitOk;
}

}  // namespace songloader::cli
