// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace songloader::gui {

// The language of the window's texts from the user's languages in the order
// QLocale::uiLanguages() gives them (LANGUAGE, then LC_ALL, LC_MESSAGES, LANG): "es", "fil" or
// "" for English, by the rule both programs follow (core/common/user_languages.h).
QString PickLanguage(const QStringList& uiLanguages);

// The folder of the translations (songloader_<language>.qm): "translations" beside the program
// in the build tree, else share/songloader/translations of the installation; "" when neither is
// there.
QString TranslationsFolder();

// Installs `language` from `folder` (replacing what an earlier call installed) together with Qt's
// own translation of that language where Qt ships one; "" goes back to English. False when the
// program's translation could not be read (the window then stays in English).
bool InstallTranslations(const QString& language, const QString& folder);

}  // namespace songloader::gui
