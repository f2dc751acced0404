// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "core/common/translatable.h"

namespace songloader {

// What the last batch ("Add to USB Drive", the MIDI pack) did, in the texts the window shows
// (UTF-8): the titles of the songs it put in the device's list, of those it did not, and the
// messages of what failed, in the order they were said.
struct BatchSummary {
    std::vector<std::string> added;
    std::vector<std::string> notAdded;
    std::vector<std::string> failures;
};

// A batch told in a notification, for a user who has turned to another window meanwhile.
struct BatchNotification {
    std::string summary;
    std::string body;
};

// Its texts: the summary, then the body's lines (titles, failures and counts filled in).
inline constexpr const char* kSongsAddedSummary = SL_TRANSLATE_NOOP("Core", "Songs added to the USB drive");
inline constexpr const char* kNoSongAddedSummary = SL_TRANSLATE_NOOP("Core", "No song was added to the USB drive");
inline constexpr const char* kSomeSongsNotAddedSummary = SL_TRANSLATE_NOOP("Core", "Some songs were not added");
inline constexpr const char* kAddedOneSongLine = SL_TRANSLATE_NOOP("Core", "Added 1 song: %s.");
inline constexpr const char* kAddedSongsLine = SL_TRANSLATE_NOOP("Core", "Added %s songs: %s.");
inline constexpr const char* kAddedSongsAndMoreLine = SL_TRANSLATE_NOOP("Core", "Added %s songs: %s and %s more.");
inline constexpr const char* kBatchFailedLine = SL_TRANSLATE_NOOP("Core", "Failed: %s");
inline constexpr const char* kNothingAddedLine = SL_TRANSLATE_NOOP("Core", "Nothing was added.");

// "Songs added to the USB drive" / "Added 2 songs: A, B." and the failures, the first five songs
// named.
BatchNotification NotificationOf(const BatchSummary& batch);

}  // namespace songloader
