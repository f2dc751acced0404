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
        candidates << "Liberation Serif" << "Tinos" << "DejaVu Serif" << "FreeSerif";
    } else if (face == "Courier New") {
        candidates << "Liberation Mono" << "Cousine" << "DejaVu Sans Mono" << "FreeMono";
    } else if (face == "System") {
        candidates << "Loma" << "DejaVu Sans" << "Liberation Sans" << "FreeSans";
    }
    return candidates;
}

QString ResolveFamily(const std::string& face) {
    const QStringList installed = QFontDatabase::families();
    for (const QString& candidate : FamilyCandidates(face)) {
        if (installed.contains(candidate, Qt::CaseInsensitive)) return candidate;
    }
    return QString::fromStdString(face);
}

QFont MakeFont(const print::LogFont& f) {
    QFont font(ResolveFamily(f.faceName));
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

}  // namespace songloader::qtpaint
