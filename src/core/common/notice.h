// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>
#include "core/common/translatable.h"

namespace songloader {

// Caption texts of the message boxes the system shows.
inline constexpr const char* kCaptionNote = SL_TRANSLATE_NOOP("Core", "Note");
inline constexpr const char* kCaptionNoteUpper = SL_TRANSLATE_NOOP("Core", "NOTE");
inline constexpr const char* kCaptionError = SL_TRANSLATE_NOOP("Core", "Error");
inline constexpr const char* kCaptionErrorUpper = SL_TRANSLATE_NOOP("Core", "ERROR");
// The program's name as its window title shows it: the caption of message boxes that carry
// a name, so every caption names the program one way.
inline constexpr const char* kApplicationName = "Trallix Song Loader";

enum class NoticeIcon { None, Exclamation, Information, Question };

// A message the core wants shown to the user; the core never shows anything itself.
// Texts are UTF-8.
struct Notice {
    std::string text;
    std::string caption;
    NoticeIcon icon = NoticeIcon::None;

    friend bool operator==(const Notice&, const Notice&) = default;
};

using Notices = std::vector<Notice>;

// The texts of `notices`, one per line (for a console, or one message that holds them all).
inline std::string NoticesText(const Notices& notices) {
    std::string text;
    for (const Notice& notice : notices) text += (text.empty() ? "" : "\n") + notice.text;
    return text;
}

}  // namespace songloader
