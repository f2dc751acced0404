// SPDX-License-Identifier: GPL-3.0-or-later
// The window in Spanish and Filipino: every text it shows is translated and fits where it is
// drawn; English stays as it was; the core's messages reach the user translated with their
// numbers and names.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/app/batch_summary.h"
#include "core/app/dialog_texts.h"
#include "core/cloud/cloud_messages.h"
#include "core/app/filled_patterns.h"
#include "core/cloud/cloud_client.h"
#include "core/cloud/curl_library.h"
#include "gui/artwork.h"
#include "gui/demo/demo_setup.h"
#include "gui/drawn_artwork.h"
#include "gui/language/shown_text.h"
#include "gui/language/ui_language.h"
#include "gui/main_window.h"
#include "gui/window_texts.h"
#include "gui/windows/progress_window.h"
#include "support/temp_dir.h"
#include "support/test_cloud_server.h"

namespace songloader::gui {
namespace {

const QString kFolder = QStringLiteral(SONGLOADER_TEST_TRANSLATIONS);

// English again once a test is done, whatever it installed.
struct Language {
    explicit Language(const QString& language) {
        EXPECT_TRUE(InstallTranslations(language, kFolder)) << language.toStdString();
    }
    ~Language() { InstallTranslations({}, {}); }
    Language(const Language&) = delete;
    Language& operator=(const Language&) = delete;
};

// One message of a .ts file.
struct Message {
    QString context;
    QString source;
    QStringList translations;  // one, or the plural forms
    bool finished = true;
};

std::vector<Message> ReadTs(const QString& language) {
    QFile file(QStringLiteral(SONGLOADER_TEST_TS_FILES "/songloader_%1.ts").arg(language));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    std::vector<Message> messages;
    QXmlStreamReader xml(&file);
    QString context;
    while (xml.readNext() != QXmlStreamReader::EndDocument && !xml.hasError()) {
        if (!xml.isStartElement()) continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            messages.push_back({context, {}, {}, true});
        } else if (xml.name() == QLatin1String("source")) {
            messages.back().source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            messages.back().finished = xml.attributes().value(QLatin1String("type")).isEmpty();
            if (xml.readNext() == QXmlStreamReader::Characters && !xml.isWhitespace()) {
                messages.back().translations << xml.text().toString();
            }
        } else if (xml.name() == QLatin1String("numerusform")) {
            messages.back().translations << xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return messages;
}

// A text as a person reads it: no mnemonic marks, no blanks around it.
QString Plain(QString text) {
    text.remove(QRegularExpression(QStringLiteral("&(?=\\S)")));
    return text.trimmed();
}

// Words that are the same in English and in the language (names, codes, borrowed words).
const std::map<QString, std::set<QString>> kSameAsEnglish = {
    {QStringLiteral("es"), {"No", "Error", "ERROR", "MIDI"}},
    {QStringLiteral("fil"), {"OK", "OPM[Tagalog]", "MIDI"}},
};

TEST(Translations, TheUsersLanguageIsPickedInItsOrder) {
    const std::vector<std::pair<QStringList, QString>> cases = {
        {{"es_ES.UTF-8"}, "es"},
        {{"es-MX"}, "es"},
        {{"fil_PH"}, "fil"},
        {{"tl"}, "fil"},
        {{"de_DE", "es_ES"}, "es"},
        {{"en_US", "es"}, ""},
        {{"C"}, ""},
        {{}, ""},
        {{"fr_FR"}, ""},
    };
    for (const auto& [languages, picked] : cases)
        EXPECT_EQ(PickLanguage(languages), picked) << languages.join(':').toStdString();
}

TEST(Translations, EveryMessageIsTranslatedWithItsPlaceholders) {
    std::set<QString> patterns;
    for (const FilledPattern& pattern : kFilledPatterns) patterns.insert(QString::fromUtf8(pattern.text));
    // The window fills these itself, with the version.
    for (const char* own : {kWindowTitle, kAboutText}) patterns.insert(QString::fromUtf8(own));
    for (const QString language : {"es", "fil"}) {
        for (const Message& message : ReadTs(language)) {
            const std::string what = language.toStdString() + " " + message.source.toStdString();
            EXPECT_TRUE(message.finished && !message.translations.isEmpty()) << what;
            const int filled = static_cast<int>(message.source.count(QStringLiteral("%s")));
            // The core fills its patterns; the window finds them only when it knows them.
            if (message.context == QLatin1String("Core") && filled > 0) {
                EXPECT_TRUE(patterns.count(message.source)) << what;
            }
            for (const QString& translation : message.translations) {
                for (int n = 1; n <= filled; ++n) {
                    EXPECT_TRUE(translation.contains(QStringLiteral("%%1").arg(n))) << what;
                }
                EXPECT_FALSE(translation.contains(QStringLiteral("%s"))) << what;
                // The player's own words stay as they are.
                for (const QString word : {"SgList.Dat", "OPM", "EG[", "ES["}) {
                    if (message.source.contains(word)) {
                        EXPECT_TRUE(translation.contains(word)) << what;
                    }
                }
            }
        }
    }
}

TEST(Translations, EnglishStaysAsItWas) {
    InstallTranslations({}, {});
    const std::vector<std::string> texts = {
        kSelectFileMessage,
        FilledText(kDeleteSongQuestion, {"900001", "Golden Road"}),
        std::string(kAddedMessage) + "\n" + kCopyFailedMessage + "\nGolden Road",
        FilledText(kLargeDownloadQuestion, {"12", "1.2 GiB", "3.0 GiB"}) + " " + FilledText(kUnknownSizesNote, {"2"}),
    };
    for (const std::string& text : texts) EXPECT_EQ(ShownText(text).toStdString(), text);
    // A percent sign is one sign on the screen.
    EXPECT_EQ(FilledText(kConvertingText, {"1", "3", "50", "20"}), "Converting 1 of 3: 50% (all: 20%)");
    const CurlLibrary curl;
    test::TempDir dir;
    DemoDriveSystem drives(dir.path());
    DownloadProgress progress;
    const CloudClient cloud("http://127.0.0.1:9/", progress);
    MainWindow window(drives, cloud, DialogSettings{});
    EXPECT_EQ(window.windowTitle().toStdString(), ForLinux(WithVersion(kWindowTitle)));
    // The committed pictures, not a drawing of them.
    const auto same = [](const QPixmap& shown, const char* resource) {
        const QImage committed(QString::fromLatin1(resource));
        return !committed.isNull() && shown.toImage().convertToFormat(QImage::Format_ARGB32) ==
                                          committed.convertToFormat(QImage::Format_ARGB32);
    };
    for (const ButtonArt& art : ButtonArtwork()) {
        const QPixmap shown = ButtonImage(art.pngId);
        EXPECT_TRUE(same(shown, QStringLiteral(":/buttons/%1.png").arg(art.pngId).toLatin1().constData())) << art.pngId;
    }
    EXPECT_TRUE(same(BackgroundImage(), ":/background.png"));
    auto* search = qobject_cast<QLineEdit*>(window.control(ControlId::SearchBox));
    EXPECT_EQ(search->text().toStdString(), kSearchPlaceholder);
}

TEST(Translations, CoreMessagesKeepTheirNumbersAndNames) {
    const Language spanish(QStringLiteral("es"));
    const std::vector<std::pair<std::string, QString>> cases = {
        {kSelectFileMessage, "Elija un archivo"},
        {FilledText(kDeleteSongQuestion, {"900001", "Golden Road"}), "¿Borrar 900001 Golden Road?"},
        {std::string(kCopyFailedMessage) + "\nGolden Road\nBlue Home",
         "Estas canciones no se pudieron copiar al dispositivo y siguen en la lista:\nGolden Road\nBlue Home"},
        {FilledText(kLargeDownloadQuestion, {"12", "1.2 GiB", "3.0 GiB"}) + " " + FilledText(kUnknownSizesNote, {"2"}),
         "¿Descargar 12 canciones de la nube (1.2 GiB) a la unidad USB? Le quedan 3.0 GiB libres. No se conoce el "
         "tamaño de 2 de ellas."},
        {std::string("/tmp/a b.txt") + kNotMediaMessage, "/tmp/a b.txt no es un archivo de vídeo ni de audio."},
        {FilledText(kMoveFailedMessage, {"No space left on device"}),
         "No se pudo mover el archivo multimedia; no se cambió nada.\nNo space left on device"},
        {FilledText(kDeviceSummaryText, {FilledText(kSongCountText, {"12"}), "3.0 GiB"}),
         "12 canciones en la unidad USB, 3.0 GiB libres"},
        {FilledText(kDeleteSongQuestion, {"900002", "Love songs"}), "¿Borrar 900002 Love songs?"},
        {NotificationOf({{"A", "B", "C", "D", "E", "F", "G"}, {}, {}}).body,
         "Se añadieron 7 canciones: A, B, C, D, E y 2 más."},
        {NotificationOf({{"A"}, {"B"}, {std::string(kSongDownloadedMessage) + " " + kCheckNetworkMessage}}).body,
         "Se añadió 1 canción: A.\nFalló: ¡La canción ya está descargada! ¡¡Compruebe la red!!"},
        {FilledText(kConvertingText, {"1", "3", "50", "20"}) + FilledText(kConvertingLeftText, {"1:20"}),
         "Convirtiendo 1 de 3: 50% (total: 20%), quedan unos 1:20"},
        {"a reason the system gave", "a reason the system gave"},
    };
    for (const auto& [english, shown] : cases) EXPECT_EQ(ShownText(english), shown) << english;
    EXPECT_EQ(Filled(QStringLiteral("%2 y %1 (%s)"), {"a", "b"}), QStringLiteral("b y a (a)"));
}

// ---- the window walked in each language ----

// What the walk found that is wrong: a text left in English, or one that does not fit.
using Findings = std::vector<std::string>;

class Walk {
public:
    Walk(const QString& language, Findings& findings) : language_(language), findings_(findings) {
        for (const QString other : {"es", "fil"}) {
            for (const Message& message : ReadTs(other)) english_.insert(Plain(message.source));
        }
    }

    void Text(const QString& where, const QString& text) {
        const QString plain = Plain(text);
        if (plain.isEmpty() || !english_.count(plain) || kSameAsEnglish.at(language_).count(plain)) return;
        findings_.push_back(where.toStdString() + ": untranslated \"" + plain.toStdString() + "\"");
    }
    void Fits(const QString& where, const QString& text, int needed, int room) {
        if (needed > room) {
            findings_.push_back(where.toStdString() + ": \"" + text.toStdString() + "\" needs " +
                                std::to_string(needed) + " px, has " + std::to_string(room));
        }
    }

    // Every visible widget of `top` and the texts it shows.
    void Widgets(QWidget* top) {
        Text(top->objectName() + " title", top->windowTitle());
        for (QWidget* widget : top->findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(top)) continue;
            const QString where =
                top->objectName() + "/" + widget->objectName() + " (" + widget->metaObject()->className() + ")";
            Text(where + " tooltip", widget->toolTip());
            Text(where + " name", widget->accessibleName());
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                Text(where, label->text());
                // The drive line shortens a long path on purpose (its tooltip shows it whole).
                // Labels that only name a box for screen readers paint no ink.
                const bool inked = label->palette().color(QPalette::WindowText).alpha() > 0;
                if (inked && !label->wordWrap() && label->objectName() != QLatin1String("SongFolderText") &&
                    label->pixmap().isNull()) {
                    for (const QString& line : label->text().split('\n')) {
                        Fits(where, line, label->fontMetrics().horizontalAdvance(line), label->contentsRect().width());
                    }
                }
            } else if (auto* push = qobject_cast<QPushButton*>(widget)) {
                Text(where, push->text());
                const QString shown = Plain(push->text());
                Fits(where, shown, push->fontMetrics().horizontalAdvance(shown) + 8, push->width());
            } else if (auto* button = qobject_cast<QAbstractButton*>(widget); button && !button->icon().isNull()) {
                Text(where, button->text());
            } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
                Text(where, edit->text());
                const QRect room = edit->style()->subElementRect(QStyle::SE_LineEditContents, nullptr, edit);
                Fits(where, edit->text(), edit->fontMetrics().horizontalAdvance(edit->text()) + 4,
                     std::max(room.width(), edit->width() - 8));
            } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
                QStyleOptionComboBox option;
                option.initFrom(combo);
                const QRect field =
                    combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
                for (int i = 0; i < combo->count(); ++i) {
                    Text(where + " item", combo->itemText(i));
                    Fits(where + " item", combo->itemText(i),
                         combo->fontMetrics().horizontalAdvance(combo->itemText(i)), field.width());
                }
            } else if (auto* header = qobject_cast<QHeaderView*>(widget)) {
                for (int section = 0; section < header->count(); ++section) {
                    const QString title = header->model()->headerData(section, header->orientation()).toString();
                    Text(where + " column", title);
                    Fits(where + " column", title, header->fontMetrics().horizontalAdvance(title) + 6,
                         header->sectionSize(section));
                }
            }
        }
    }

private:
    QString language_;
    Findings& findings_;
    std::set<QString> english_;
};

void SavePicture(QWidget* widget, const QString& name) {
    // For a person to look at (SONGLOADER_TEST_PICTURES=folder).
    if (const char* folder = std::getenv("SONGLOADER_TEST_PICTURES")) {
        widget->grab().save(QString::fromLocal8Bit(folder) + '/' + name + ".png");
    }
}

// Answers every message box as it opens, after the walk has read it.
class Boxes {
public:
    explicit Boxes(Walk& walk, const QString& language) : walk_(walk), language_(language) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
        timer_.start(10);
    }
    QStringList seen;

private:
    void Answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        modal->setObjectName(modal->objectName().isEmpty() ? QStringLiteral("Box") : modal->objectName());
        walk_.Widgets(modal);
        SavePicture(modal, language_ + "-box-" + QString::number(seen.size()));
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen << box->text();
            box->button(box->standardButtons() & QMessageBox::No ? QMessageBox::No : QMessageBox::Ok)->click();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            seen << dialog->windowTitle();
            dialog->accept();
        }
    }
    Walk& walk_;
    QString language_;
    QTimer timer_;
};

class TranslatedWindow : public ::testing::TestWithParam<const char*> {};

TEST_P(TranslatedWindow, EveryTextIsTranslatedAndFits) {
    const QString language = QString::fromLatin1(GetParam());
    const Language installed(language);
    Findings findings;
    Walk walk(language, findings);

    const CurlLibrary curl;
    test::TempDir dir;
    const Result<DemoFiles> files = MakeDemoFiles(dir.path() / "demo", 12, 20);
    ASSERT_TRUE(files.ok()) << files.message();
    test::TestCloudServer server(files->cloudFolder);
    DemoDriveSystem drives(files->deviceRoot);
    DownloadProgress progress;
    const CloudClient cloud(server.baseUrl(), progress);
    MainWindow window(drives, cloud, DialogSettings{});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    Boxes boxes(walk, language);

    // Both lists filled, a queued song in the form, a search with hits.
    QTest::mouseClick(qobject_cast<QAbstractButton*>(window.control(ControlId::AutoCheckDevice)), Qt::LeftButton);
    QTest::mouseClick(qobject_cast<QAbstractButton*>(window.control(ControlId::CloudSongs)), Qt::LeftButton);
    SavePicture(&window, language + "-main");
    walk.Widgets(&window);

    // Every button picture carries its caption whole, all at one size.
    std::vector<QString> captions;
    for (const ButtonArt& art : ButtonArtwork()) captions.push_back(ButtonCaption(art.pngId));
    const int px = CaptionPixelSize(captions);
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const ButtonArt& art = ButtonArtwork()[i];
        EXPECT_TRUE(CaptionFits(captions[i], QSize(art.width, art.height), px)) << captions[i].toStdString();
    }
    EXPECT_GE(px, 10) << "captions drawn too small";
    // And so do the labels drawn on the background.
    for (const FieldLabel& label : MainWindowLayout().labels) {
        const QString text = QCoreApplication::translate("WindowLayout", label.text);
        walk.Text(QStringLiteral("background label"), text);
        const int labelPx = LabelPixelSize(text, label.rect.width);
        walk.Fits(QStringLiteral("background label"), text, QFontMetrics(LabelFont(labelPx)).horizontalAdvance(text),
                  label.rect.width);
        EXPECT_GE(labelPx, 11) << text.toStdString();
    }

    // The menus: a list's, and the window's own (right-click on its background).
    window.ShowContextMenu(true);
    QContextMenuEvent onBackground(QContextMenuEvent::Mouse, QPoint(500, 650), window.mapToGlobal(QPoint(500, 650)));
    QApplication::sendEvent(&window, &onBackground);
    int menus = 0;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* menu = qobject_cast<QMenu*>(top);
        if (!menu || !menu->isVisible()) continue;
        ++menus;
        for (QAction* action : menu->actions()) walk.Text(QStringLiteral("menu"), action->text());
        menu->close();
    }
    EXPECT_EQ(menus, 2);

    // The stop of a running batch.
    window.OfferStop(true);
    walk.Widgets(&window);
    window.OfferStop(false);

    // Questions and messages: a song to delete, a form that is not complete, the About box.
    auto* deviceList = qobject_cast<QTableView*>(window.control(ControlId::DeviceList));
    deviceList->selectRow(0);
    deviceList->setFocus();
    QTest::keyClick(deviceList, Qt::Key_Delete);
    QTest::mouseClick(qobject_cast<QAbstractButton*>(window.control(ControlId::QueueToAdd)), Qt::LeftButton);
    window.dialog().OnAbout();
    EXPECT_GE(boxes.seen.size(), 3) << boxes.seen.join(" | ").toStdString();
    EXPECT_TRUE(
        std::any_of(boxes.seen.begin(), boxes.seen.end(),
                    [](const QString& text) { return text.contains(QRegularExpression(QStringLiteral("9\\d{5} "))); }))
        << "the delete question names the song: " << boxes.seen.join(" | ").toStdString();

    // The download window, as a batch shows it.
    ProgressWindow progressWindow(&window, CoreText(kProgressWindowTitle));
    progressWindow.setObjectName(QStringLiteral("ProgressWindow"));
    progressWindow.setText(CoreText(kNowDownloadText) + QStringLiteral("Golden Road"));
    progressWindow.setBatchText(ProgressWindow::BatchLine({2, 12, 40u << 20, 160u << 20}, 5u << 20, 30.0));
    progressWindow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&progressWindow));
    walk.Widgets(&progressWindow);
    SavePicture(&progressWindow, language + "-progress");

    for (const std::string& finding : findings) ADD_FAILURE() << language.toStdString() << ": " << finding;
}

INSTANTIATE_TEST_SUITE_P(SpanishAndFilipino, TranslatedWindow, ::testing::Values("es", "fil"));

}  // namespace
}  // namespace songloader::gui
