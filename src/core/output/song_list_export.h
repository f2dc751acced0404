// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

#include "core/catalogue/row_element.h"
#include "core/common/notice.h"
#include "core/common/result.h"
#include "core/common/translatable.h"

namespace songloader {

inline constexpr const char* kExportHeaderLine =
    "SongNO   \tLanguage   \tTitle   \tsinger   \tComposer   \tLyricist\t \n";
inline constexpr const char* kExportOkMessage = SL_TRANSLATE_NOOP("Core", "Export Songlist OK!");
inline constexpr const char* kExportCancelledMessage = SL_TRANSLATE_NOOP("Core", "Please save file");
inline constexpr const char* kExportCannotCreateMessage = SL_TRANSLATE_NOOP("Core", "Cannot create the export file.");

// The export text: the header line, then one line per song with its six texts, bytes unchanged.
std::string ExportText(const SongList& songs);

// Writes the export file; a file that cannot be written is left as it was. The value is the notice
// to show ("Export Songlist OK!").
Result<Notice> ExportSongList(const SongList& songs, const std::filesystem::path& file);

}  // namespace songloader
