// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Marks a text that a front end shows in the user's language. The core has no Qt and keeps every
// text in English: the marker is the English text itself. The translation tools read the pair
// (context, text) as they read QT_TRANSLATE_NOOP (lupdate -tr-function-alias
// QT_TRANSLATE_NOOP+=SL_TRANSLATE_NOOP); the window looks the text up in the context "Core".
// A "%s" stands for a number or a name the core fills in; translations write %1, %2, ... in
// the order the English text names them.
#define SL_TRANSLATE_NOOP(context, text) text
