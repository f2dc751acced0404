// SPDX-License-Identifier: GPL-3.0-or-later
#include "song_fields.h"

#include <algorithm>
#include <cctype>

#include "core/app/dialog_texts.h"
#include "core/entry/number_rules.h"

namespace songloader::cli {

void AddSongFieldOptions(CLI::App& command, SongFieldOptions& fields, bool titleRequired) {
    command.add_option("--number", fields.number, "the song number, 900000 to 999999")->type_name("N");
    CLI::Option* title = command.add_option("--title", fields.title, "the title")->type_name("T");
    if (titleRequired) title->required();
    command.add_option("--artist", fields.artist, "the artist")->type_name("A");
    command.add_option("--composer", fields.composer, "the composer")->type_name("C");
    command.add_option("--lyricist", fields.lyricist, "the lyricist")->type_name("L");
    command.add_option("--language", fields.language, "the language: OPM, EG or ES")
        ->type_name("OPM|EG|ES")
        ->check(CLI::IsMember({"OPM", "EG", "ES"}).description(""));
    AddEncodingOption(command, fields.encoding);
}

std::string LanguageComboText(const std::string& option) {
    if (option == "OPM") return "OPM[Tagalog]";
    if (option == "EG") return "EG[English]";
    if (option == "ES") return "ES[Spanish]";
    throw UsageError{"--language must be OPM, EG or ES"};
}

bool NumberBoxAccepts(const std::string& number, Console& console) {
    if (number.empty() || number.size() > 6 ||
        !std::all_of(number.begin(), number.end(), [](unsigned char c) { return std::isdigit(c); })) {
        throw UsageError{"--number takes up to six digits"};
    }
    if (number[0] != '9') {
        console.Fail() << kFirstDigitMessage << "\n";
        return false;
    }
    if (number.size() == 6 && std::stoi(number) < kFirstUserNumber) {
        console.Fail() << kNumberRangeMessage << "\n";
        return false;
    }
    return true;
}

bool StoreTexts(const SongFieldOptions& fields, const Device& device, ROWELEMENT& song, Console& console) {
    struct Field {
        const char* name;
        const std::optional<std::string>* typed;
        std::string* target;
    };
    for (Field field : {Field{"title", &fields.title, &song.title}, Field{"artist", &fields.artist, &song.artist},
                        Field{"composer", &fields.composer, &song.composer},
                        Field{"lyricist", &fields.lyricist, &song.lyricist}}) {
        if (!*field.typed) continue;
        auto bytes = ToDevice(device, **field.typed, field.name, console);
        if (!bytes) return false;
        *field.target = *bytes;
    }
    return true;
}

ChunkProgress CopyProgress(ProgressLine& line, std::uint64_t bytes) {
    return [&line, bytes](std::uint64_t chunks) {
        const std::uint64_t done = std::min<std::uint64_t>(chunks * kCopyChunkBytes, bytes);
        line.Bytes(done, bytes, done == bytes);
    };
}

}  // namespace songloader::cli
