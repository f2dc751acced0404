// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "core/catalogue/row_element.h"
#include "core/common/notice.h"
#include "core/common/result.h"
#include "core/common/translatable.h"

namespace songloader {

// What the entry form holds when "Queue to Add" is pressed; texts in device bytes.
struct EntryForm {
    std::string numberText;
    std::string languageText;  // the entry-language combo text, empty for no selection
    std::string title;
    std::string artist;
    std::string composer;
    std::string lyricist;
    std::string mediaPath;
};

// Messages of the add queue, in the order their checks run.
inline constexpr const char* kNeedDeviceMessage = SL_TRANSLATE_NOOP("Core", "Please complete information");
inline constexpr const char* kInvalidPathMessage = SL_TRANSLATE_NOOP("Core", "Invaild directory!");
inline constexpr const char* kNumberLengthMessage =
    SL_TRANSLATE_NOOP("Core", "Song number?must?be?six?digit from 900000 to 999999!");
inline constexpr const char* kNeedTitleMessage = SL_TRANSLATE_NOOP("Core", "Please enter song title");
inline constexpr const char* kDuplicateInWorkMessage = SL_TRANSLATE_NOOP("Core", "Song number is duplicate");
inline constexpr const char* kDuplicateOnDeviceMessage =
    SL_TRANSLATE_NOOP("Core", "Song number is duplicate with existing file of device");

// Runs the checks of "Queue to Add" in their order; `deviceChosen` = a song folder is known.
// Last, the media file is probed (ProbeMedia): a file the player cannot play is never queued.
// `probeMedia` false: the caller has probed it already (and so found it). The song to queue, or
// the first check that failed.
Result<ROWELEMENT> CheckQueueToAdd(const EntryForm& form, bool deviceChosen, const SongList& workSongs,
                                   const SongList& deviceSongs, bool probeMedia = true);

// The number checks of "Queue to Add" for a number that enters a list or changes there: six
// digits, then used by no queued song and no device song (each list's `own...Row` aside: the
// row of the song whose number changes, or -1).
Result<> CheckSongNumber(const std::string& numberText, const SongList& workSongs, const SongList& deviceSongs,
                         int ownWorkRow = -1, int ownDeviceRow = -1);
// Only the duplicate checks of the above, for a number already known to be well formed.
Result<> CheckDuplicateNumber(std::int32_t number, const SongList& workSongs, const SongList& deviceSongs,
                              int ownWorkRow = -1, int ownDeviceRow = -1);

// The song list builder's row checks on `song`, which will be row `rowNumber` (1-based) of the
// device's list (whose texts are in `codePage`): the builder's own message when it would refuse the song.
Result<> CheckSongRow(const ROWELEMENT& song, std::size_t rowNumber, const std::string& codePage = {});

// Number, language and texts of a song read from the form (no checks): shared with revising.
ROWELEMENT SongFromForm(const EntryForm& form);

}  // namespace songloader
