// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/output/song_list_export.h"

#include "core/common/safe_file.h"

namespace songloader {

std::string ExportText(const SongList& songs) {
    std::string text = kExportHeaderLine;
    for (const ROWELEMENT& song : songs) {
        for (const std::string* cell :
             {&song.numberText, &song.languageText, &song.title, &song.artist, &song.composer}) {
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

Result<Notice> ExportSongList(const SongList& songs, const std::filesystem::path& file) {
    SafeFileWriter writer(file);
    if (!writer.Write(ExportText(songs)) || !writer.Commit()) {
        return Fail(kExportCannotCreateMessage, kCaptionNote, NoticeIcon::None);
    }
    return Notice{kExportOkMessage, kCaptionNote, NoticeIcon::None};
}

}  // namespace songloader
