#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include "core/output/print/device_context.h"

namespace songloader::qtpaint {

// The installed families that stand in for a face the pages ask for, nearest first.
//   "Times New Roman" -> Liberation Serif, Tinos, DejaVu Serif, FreeSerif (serif)
//   "Courier New"     -> Liberation Mono, Cousine, DejaVu Sans Mono, FreeMono (monospace)
//   "System"          -> Loma (covers Thai), DejaVu Sans, Liberation Sans, FreeSans (sans serif)
// The face itself always comes first, so a machine that has it uses it.
QStringList FamilyCandidates(const std::string& face);

// The first candidate that is installed, or the face itself when none is (the font system then
// substitutes by the style hint).
QString ResolveFamily(const std::string& face);

// A QFont for a device font: pixel size from the height, weight, italic, underline, strike-out and
// a style hint from the face and pitch-and-family.
QFont MakeFont(const print::LogFont& deviceFont);

}  // namespace songloader::qtpaint
