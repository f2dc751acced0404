// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <string_view>

namespace songloader::gui {

// One text of the core (no numbers or names in it) in the user's language.
QString CoreText(const char* english);

// A text the core made, in the user's language: the whole text when the core knows it, else
// each line; a text or line made from one of the core's filled patterns is that pattern's
// translation with the same numbers and names, and a line of two sentences is taken sentence by
// sentence. What no translation knows (names, paths, a reason from the system) stays as it is.
QString ShownText(std::string_view english);

// `translation` with %1, %2, ... (or, failing those, each "%s" in turn) replaced by `arguments`.
QString Filled(const QString& translation, const QStringList& arguments);

}  // namespace songloader::gui
