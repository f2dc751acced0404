// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "command_line.h"
#include "core/catalogue/row_element.h"
#include "core/entry/media_files.h"
#include "device_access.h"
#include "progress.h"

namespace songloader::cli {

// The song fields add and revise take, as typed (UTF-8); unset fields are empty.
struct SongFieldOptions {
    std::optional<std::string> number, title, artist, composer, lyricist, language;
    std::string encoding;
};

// Adds --number, --title, --artist, --composer, --lyricist, --language and --encoding.
void AddSongFieldOptions(CLI::App& command, SongFieldOptions& fields, bool titleRequired);

// The entry combo's text for --language (OPM, EG or ES).
std::string LanguageComboText(const std::string& option);

// The number box's own rules: up to six digits (else a usage error), the first one 9, at least
// 900000 when six. Prints the refusal and returns false when refused.
bool NumberBoxAccepts(const std::string& number, Console& console);

// Stores the given texts into `song` in the device's code page; false (with the reason printed)
// when one cannot be written in it.
bool StoreTexts(const SongFieldOptions& fields, const Device& device, ROWELEMENT& song, Console& console);

// Chunk progress of a media copy of `bytes` drawn on `line`.
ChunkProgress CopyProgress(ProgressLine& line, std::uint64_t bytes);

}  // namespace songloader::cli
