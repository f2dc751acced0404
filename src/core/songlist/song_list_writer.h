// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/common/notice.h"
#include "core/common/result.h"
#include "core/songlist/song_text.h"
#include "core/common/translatable.h"

namespace songloader {

// At most this many songs (exclusive) fit in a device song list.
inline constexpr std::size_t kSongListRowLimit = 50000;

// The builder's messages (caption: the application's name).
inline constexpr const char* kNoSongTextMessage = SL_TRANSLATE_NOOP("Core", "1 Read Temp File Error!");
inline constexpr const char* kSongTextRowCountMessage = SL_TRANSLATE_NOOP("Core", "2 Read Temp File Error!");
inline constexpr const char* kSongTextAnalyseMessage = SL_TRANSLATE_NOOP("Core", "Temp File Analyse Error!");
inline constexpr const char* kNumberIndexMemoryMessage =
    SL_TRANSLATE_NOOP("Core", "Failure SgNumber Sort File Error Memory Failure!");
inline constexpr const char* kNameIndexMemoryMessage =
    SL_TRANSLATE_NOOP("Core", "Failure Sort File Error Memory Failure");
// Shown by whoever stores the bytes when SgList.dat cannot be created; the builder shows it too
// when the memory for the file's bytes cannot be had.
inline constexpr const char* kCreateSongListFailMessage = SL_TRANSLATE_NOOP("Core", "Create SgList.Dat Fail!");

// Builds the bytes of SgList.dat from the temporary song text; nullptr stands for "no text".
// Writes nothing: the caller stores the bytes safely. A failure may have follow-up notices (a bad
// row's message, then kSongTextAnalyseMessage): Failure::AsNotices gives them all in order.
Result<std::vector<std::uint8_t>> BuildSongList(const SongText* text);

// The steps of a build that take memory, in order.
enum class SongListStage { ParsedRows, FileBytes, NumberIndex, NameIndex };

// As above; `beforeStage` runs before each stage takes its memory and may throw std::bad_alloc
// to stand for memory running out there.
Result<std::vector<std::uint8_t>> BuildSongList(const SongText* text,
                                                const std::function<void(SongListStage)>& beforeStage);

}  // namespace songloader
