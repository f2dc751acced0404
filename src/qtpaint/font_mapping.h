// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <QStringList>
#include <deque>

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

// The fonts of one print job, each made once: looking the installed families up again for every
// cell costs more than drawing the page.
class FontCache {
public:
    struct Font {
        QFont font;
        QFontMetrics metrics;  // on the paint device it was asked for
    };
    const Font& FontFor(const print::LogFont& deviceFont, const QPaintDevice* device);

private:
    struct Made {
        print::LogFont deviceFont;
        const QPaintDevice* device;
        Font font;
    };
    QStringList installed_;
    bool installedRead_ = false;
    // A page uses a handful of fonts: a short list is searched faster than a map is kept.
    // A deque keeps what FontFor handed out where it is.
    std::deque<Made> fonts_;
};

}  // namespace songloader::qtpaint
