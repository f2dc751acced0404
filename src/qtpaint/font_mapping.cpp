// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtpaint/font_mapping.h"

#include <QFontDatabase>
#include <cstdlib>

namespace songloader::qtpaint {

namespace {

QFont::StyleHint HintFor(const std::string& face, std::uint8_t pitchAndFamily) {
    if (face == "Times New Roman") return QFont::Serif;
    if (face == "Courier New") return QFont::TypeWriter;
    if (face == "System") return QFont::SansSerif;
    switch (pitchAndFamily & 0xF0) {
        case print::kFamilyRoman: return QFont::Serif;
        case print::kFamilySwiss: return QFont::SansSerif;
        case print::kFamilyModern: return QFont::TypeWriter;
        default: return QFont::AnyStyle;
    }
}

}  // namespace

QStringList FamilyCandidates(const std::string& face) {
    QStringList candidates{QString::fromStdString(face)};
    if (face == "Times New Roman") {
        candidates << "Liberation Serif"
                   << "Tinos"
                   << "DejaVu Serif"
                   << "FreeSerif";
    } else if (face == "Courier New") {
        candidates << "Liberation Mono"
                   << "Cousine"
                   << "DejaVu Sans Mono"
                   << "FreeMono";
    } else if (face == "System") {
        candidates << "Loma"
                   << "DejaVu Sans"
                   << "Liberation Sans"
                   << "FreeSans";
    }
    return candidates;
}

namespace {

QString ResolveFamily(const std::string& face, const QStringList& installed) {
    for (const QString& candidate : FamilyCandidates(face)) {
        if (installed.contains(candidate, Qt::CaseInsensitive)) return candidate;
    }
    return QString::fromStdString(face);
}

QFont MakeFontOf(const print::LogFont& f, const QString& family) {
    QFont font(family);
    font.setStyleHint(HintFor(f.faceName, f.pitchAndFamily), QFont::PreferQuality);
    // Negative heights are the character height, positive ones the cell; both become pixels here.
    int pixels = std::abs(f.height);
    font.setPixelSize(pixels > 0 ? pixels : 13);
    int weight = f.weight <= 0 ? 400 : (f.weight < 100 ? 100 : (f.weight > 900 ? 900 : f.weight));
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    font.setKerning(false);
    return font;
}

}  // namespace

QString ResolveFamily(const std::string& face) { return ResolveFamily(face, QFontDatabase::families()); }

QFont MakeFont(const print::LogFont& f) { return MakeFontOf(f, ResolveFamily(f.faceName)); }

const FontCache::Font& FontCache::FontFor(const print::LogFont& deviceFont, const QPaintDevice* device) {
    for (const Made& made : fonts_) {
        if (made.device == device && made.deviceFont == deviceFont) return made.font;
    }
    if (!installedRead_) {
        installed_ = QFontDatabase::families();
        installedRead_ = true;
    }
    QFont font = MakeFontOf(deviceFont, ResolveFamily(deviceFont.faceName, installed_));
    QFontMetrics metrics(font, device);
    fonts_.push_back({deviceFont, device, {std::move(font), std::move(metrics)}});
    return fonts_.back().font;
}

}  // namespace songloader::qtpaint
