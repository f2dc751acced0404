// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/output/song_list_export.h"

#include "core/common/safe_file.h"

namespace songloader {

std::string ExportText(const SongList& songs) {
    std::string text = kExportHeaderLine;
    for (const ROWELEMENT& song : songs) {
        for (const std::string* cell : {&song.numberText, &song.languageText, &song.title, &song.artist, &song.composer}) {
            text += ' ';
            text += *cell;
            text += "   \t";
        }
        text += ' ';
        text += song.lyricist;
        text += "\t \n";
    }
    return text;
}

ExportResult ExportSongList(const SongList& songs, const std::filesystem::path& file) {
    ExportResult result;
    SafeFileWriter writer(file);
    if (!writer.Write(ExportText(songs)) || !writer.Commit()) {
        result.notice = {kExportCannotCreateMessage, kCaptionNote, NoticeIcon::None};
        return result;
    }
    result.ok = true;
    result.notice = {kExportOkMessage, kCaptionNote, NoticeIcon::None};
    return result;
}

}  // namespace songloader
