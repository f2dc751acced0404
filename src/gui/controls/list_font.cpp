// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/controls/list_font.h"

#include <QStringList>

namespace songloader::gui {

QFont ListFont(int pixelHeight) {
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Droid Sans Fallback"), QStringLiteral("sans-serif")});
    font.setPixelSize(pixelHeight);
    font.setWeight(QFont::Normal);
    return font;
}

}  // namespace songloader::gui
