// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/language/ui_language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>
#include <vector>

#include "core/common/user_languages.h"

namespace songloader::gui {

namespace {

// The words of Qt's own message-box buttons, for a language Qt ships no translation of: the
// program's translation carries them.
[[maybe_unused]] constexpr const char* kQtButtonTexts[] = {
    QT_TRANSLATE_NOOP("QPlatformTheme", "OK"),    QT_TRANSLATE_NOOP("QPlatformTheme", "&Yes"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "&No"),   QT_TRANSLATE_NOOP("QPlatformTheme", "Cancel"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Close"),
};

std::vector<std::unique_ptr<QTranslator>>& Installed() {
    static std::vector<std::unique_ptr<QTranslator>> installed;
    return installed;
}

}  // namespace

QString PickLanguage(const QStringList& uiLanguages) {
    std::vector<std::string> names;
    for (const QString& name : uiLanguages) names.push_back(name.toStdString());
    return QString::fromStdString(songloader::PickLanguage(names));
}

QString TranslationsFolder() {
    const QString program = QCoreApplication::applicationDirPath();
    for (const QString& folder :
         {program + QStringLiteral("/translations"), program + QStringLiteral("/../share/songloader/translations")}) {
        if (QDir(folder).exists()) return QDir(folder).canonicalPath();
    }
    return {};
}

bool InstallTranslations(const QString& language, const QString& folder) {
    for (const auto& translator : Installed()) QCoreApplication::removeTranslator(translator.get());
    Installed().clear();
    if (language.isEmpty()) return true;
    // Qt's own first: the program's, installed last, is asked first.
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt.get());
        Installed().push_back(std::move(qt));
    }
    auto own = std::make_unique<QTranslator>();
    if (folder.isEmpty() || !own->load(QStringLiteral("songloader_") + language, folder)) return false;
    QCoreApplication::installTranslator(own.get());
    Installed().push_back(std::move(own));
    return true;
}

}  // namespace songloader::gui
