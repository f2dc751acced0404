// SPDX-License-Identifier: GPL-3.0-or-later
#include "song_fields.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "core/catalogue/language_table.h"
#include "core/entry/number_rules.h"
#include "core/common/translatable.h"

namespace songloader::cli {

namespace {

// The letters before "[" of each entry-language item: OPM, EG, ES.
std::vector<std::string> LanguageOptions() {
    std::vector<std::string> options;
    for (const std::string& item : kEntryLanguageItems) options.push_back(item.substr(0, item.find('[')));
    return options;
}

std::string Joined(const std::vector<std::string>& words, const char* separator, const char* last) {
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0) text += i + 1 == words.size() ? last : separator;
        text += words[i];
    }
    return text;
}

}  // namespace

void AddSongFieldOptions(CLI::App& command, SongFieldOptions& fields, bool titleRequired) {
    command.add_option("--number", fields.number, SL_TRANSLATE_NOOP("Cli", "the song number, 900000 to 999999"))
        ->type_name("N");
    CLI::Option* title =
        command.add_option("--title", fields.title, SL_TRANSLATE_NOOP("Cli", "the title"))->type_name("T");
    if (titleRequired) title->required();
    command.add_option("--artist", fields.artist, SL_TRANSLATE_NOOP("Cli", "the artist"))->type_name("A");
    command.add_option("--composer", fields.composer, SL_TRANSLATE_NOOP("Cli", "the composer"))->type_name("C");
    command.add_option("--lyricist", fields.lyricist, SL_TRANSLATE_NOOP("Cli", "the lyricist"))->type_name("L");
    const std::vector<std::string> languages = LanguageOptions();
    command.add_option("--language", fields.language, "the language: " + Joined(languages, ", ", " or "))
        ->type_name(Joined(languages, "|", "|"))
        ->check(CLI::IsMember(languages).description(""));
    AddEncodingOption(command, fields.encoding);
}

std::string LanguageComboText(const std::string& option) {
    // The entry combo's items begin with the option's letters: "OPM[Tagalog]" for OPM.
    for (const std::string& item : kEntryLanguageItems) {
        if (item.rfind(option + "[", 0) == 0) return item;
    }
    throw UsageError{"--language must be " + Joined(LanguageOptions(), ", ", " or ")};
}

bool NumberBoxAccepts(const std::string& number, Console& console) {
    if (number.empty() || number.size() > 6 ||
        !std::all_of(number.begin(), number.end(), [](unsigned char c) { return std::isdigit(c); })) {
        throw UsageError{"--number takes up to six digits"};
    }
    if (const Result<> box = CheckNumberBox(number); !box) {
        console.Fail() << box.message() << "\n";
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
    for (Field field :
         {Field{"title", &fields.title, &song.title}, Field{"artist", &fields.artist, &song.artist},
          Field{"composer", &fields.composer, &song.composer}, Field{"lyricist", &fields.lyricist, &song.lyricist}}) {
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
