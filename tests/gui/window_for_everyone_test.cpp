// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a screen reader, a dark desktop, a high-density screen and the desktop's
// notification service meet it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDBusConnection>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <set>
#include <unistd.h>

#include "core/app/dialog_texts.h"
#include "core/cloud/cloud_client.h"
#include "core/cloud/curl_library.h"
#include "gui/controls/accessibility.h"
#include "gui/controls/gradient_progress_bar.h"
#include "gui/controls/skinned_list_view.h"
#include "gui/demo/demo_setup.h"
#include "gui/desktop_notifier.h"
#include "gui/main_window.h"
#include "gui/windows/about_box.h"
#include "gui/windows/print_preview_window.h"
#include "gui/windows/progress_window.h"
#include "support/media_samples.h"
#include "support/private_bus.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace songloader::gui {
namespace {

using namespace std::chrono_literals;

// A main window on an empty folder as the device and an unreachable cloud.
struct Window {
    Window() : device(dir.path() / "stick"), drives((std::filesystem::create_directories(device), device)) {}
    const CurlLibrary curl;
    test::TempDir dir;
    std::filesystem::path device;
    DemoDriveSystem drives;
    DownloadProgress progress;
    CloudClient client{"http://127.0.0.1:9/", progress};
    MainWindow window{drives, client, DialogSettings{}};

    template <typename T>
    T* Control(ControlId id) {
        return qobject_cast<T*>(window.control(id));
    }
};

QAccessibleInterface* Accessible(QObject* object) { return QAccessible::queryAccessibleInterface(object); }

// The name a screen reader says: the interface's own, else the label that names it (Qt's way
// for combo boxes on Linux, whose own name is the item they show).
QString SpokenName(QAccessibleInterface* iface) {
    if (iface->role() == QAccessible::ComboBox) {
        const auto labels = iface->relations(QAccessible::Label);
        return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
    }
    return iface->text(QAccessible::Name);
}

void SavePicture(const QImage& image, const char* name) {
    // For a person to look at, only when asked (SONGLOADER_TEST_PICTURES=folder).
    if (const char* folder = std::getenv("SONGLOADER_TEST_PICTURES")) {
        image.save(QString::fromStdString((std::filesystem::path(folder) / name).string()));
    }
}

TEST(WindowForScreenReaders, EveryControlIsNamedAndHiddenOnesAreNotInTheTree) {
    Window w;
    w.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.window));
    const std::vector<std::pair<ControlId, QString>> names = {
        {ControlId::Number, "Number"},
        {ControlId::Title, "Title"},
        {ControlId::Artist, "Artist"},
        {ControlId::Composer, "Composer"},
        {ControlId::Lyricist, "Lyricist"},
        {ControlId::MediaPath, "Media File"},
        {ControlId::SearchBox, "Search"},
        {ControlId::EntryLanguage, "Language"},
        {ControlId::SearchLanguage, "Search language"},
        {ControlId::WorkList, "Songs to add"},
        {ControlId::DeviceList, "Songs on the USB drive"},
        {ControlId::Progress, "Progress"},
        {ControlId::AddToDevice, "Add to USB Drive"},
        {ControlId::Browse, "Browse"},
    };
    for (const auto& [id, name] : names) {
        QAccessibleInterface* iface = Accessible(w.window.control(id));
        ASSERT_NE(iface, nullptr) << ControlName(id);
        EXPECT_EQ(SpokenName(iface), name) << ControlName(id);
    }
    EXPECT_EQ(Accessible(w.window.control(ControlId::WorkList))->role(), QAccessible::Table);

    QAccessibleInterface* progress = Accessible(w.window.control(ControlId::Progress));
    EXPECT_EQ(progress->role(), QAccessible::ProgressBar);
    w.window.SetProgressRange(0, 200);
    w.window.SetProgressPos(50);
    ASSERT_NE(progress->valueInterface(), nullptr);
    EXPECT_EQ(progress->valueInterface()->currentValue().toInt(), 50);
    EXPECT_EQ(progress->valueInterface()->maximumValue().toInt(), 200);
    EXPECT_EQ(progress->text(QAccessible::Value), "25%");

    // The figure: interactive controls in the window's tree without a name.
    QAccessibleInterface* root = Accessible(&w.window);
    EXPECT_EQ(root->role(), QAccessible::Window);
    EXPECT_EQ(root->text(QAccessible::Name), w.window.windowTitle());
    const std::set<QAccessible::Role> interactive = {
        QAccessible::PushButton,   QAccessible::CheckBox, QAccessible::RadioButton, QAccessible::ComboBox,
        QAccessible::EditableText, QAccessible::SpinBox,  QAccessible::Slider,      QAccessible::ProgressBar,
        QAccessible::List,         QAccessible::Table,    QAccessible::Tree,        QAccessible::ButtonMenu};
    int controls = 0;
    QStringList unnamed;
    QStringList hidden;
    std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* iface) {
        for (int i = 0; i < iface->childCount(); ++i) {
            QAccessibleInterface* child = iface->child(i);
            if (!child) continue;
            auto* widget = qobject_cast<QWidget*>(child->object());
            if (widget && !widget->isVisible())
                hidden << widget->metaObject()->className() + (" " + widget->objectName());
            if (interactive.count(child->role())) {
                ++controls;
                if (SpokenName(child).trimmed().isEmpty()) {
                    unnamed << (widget ? widget->objectName() : QString::number(child->role()));
                }
            }
            // A table's cells and a combo box's (closed) popup list are Qt's own structure.
            if (child->role() != QAccessible::Table && child->role() != QAccessible::ComboBox) walk(child);
        }
    };
    walk(root);
    std::cout << "[ figure ] unnamed interactive controls in the main window: " << unnamed.size() << " of " << controls
              << "\n";
    EXPECT_EQ(controls, 27);  // 15 image buttons, 7 boxes, 2 combo boxes, 2 lists, the progress bar
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(", ").toStdString();
    EXPECT_TRUE(hidden.isEmpty()) << hidden.join(", ").toStdString();
}

TEST(WindowForScreenReaders, RowsWithABoxReportItAndTheToggleActionTicksIt) {
    SkinnedListView list;
    list.resize(400, 200);
    list.songModel()->insertSongRow(0, RowTexts{"900001", "EG", "Morning Road", "Ann", "", ""});
    list.songModel()->insertSongRow(1, RowTexts{"900002", "EG", "Evening Road", "Bob", "", ""});
    list.setAccessibleName("Songs to add");
    list.setCheckGuard([](int row) { return row != 1; });  // the second song is refused
    QAccessibleTableInterface* table = Accessible(&list)->tableInterface();
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rowCount(), 2);
    QAccessibleInterface* first = table->cellAt(0, 0);
    EXPECT_EQ(first->text(QAccessible::Name), "900001");
    EXPECT_EQ(table->cellAt(0, 2)->text(QAccessible::Name), "Morning Road");
    EXPECT_EQ(table->columnDescription(2), "Title");
    EXPECT_FALSE(first->state().checkable) << "no boxes shown";
    EXPECT_FALSE(first->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));

    list.songModel()->setCheckBoxesShown(true);
    for (int column : {0, 3}) {
        QAccessibleInterface* cell = table->cellAt(0, column);
        EXPECT_TRUE(cell->state().checkable);
        EXPECT_FALSE(cell->state().checked);
    }
    first->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(list.songModel()->isRowChecked(0));
    EXPECT_TRUE(first->state().checked);
    EXPECT_TRUE(table->cellAt(0, 4)->state().checked) << "the whole row says it";
    EXPECT_FALSE(first->state().selected) << "the toggle ticks, it does not select";
    first->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(list.songModel()->isRowChecked(0));

    table->cellAt(1, 0)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(list.songModel()->isRowChecked(1)) << "the guard's refusal holds";
    table->cellAt(1, 0)->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
    EXPECT_TRUE(table->isRowSelected(1));
    // Focus and selection events name a cell by the number the table finds it under.
    const int child = AccessibleChildIndex(list, 1, 0);
    EXPECT_EQ(Accessible(&list)->child(child)->text(QAccessible::Name), "900002");
    EXPECT_EQ(Accessible(&list)->indexOfChild(table->cellAt(1, 0)), child);
    EXPECT_EQ(Accessible(&list)->child(2)->role(), QAccessible::ColumnHeader);
}

TEST(WindowForScreenReaders, SmallWindowsAreDialogsAndThePreviewAFrame) {
    ProgressWindow progress(nullptr, "Download Progress");
    EXPECT_EQ(Accessible(&progress)->role(), QAccessible::Dialog);
    EXPECT_EQ(Accessible(&progress)->text(QAccessible::Name), "Download Progress");
    AboutBox about(QIcon(), nullptr);
    EXPECT_EQ(Accessible(&about)->role(), QAccessible::Dialog);
    EXPECT_EQ(Accessible(&about)->text(QAccessible::Name), about.windowTitle());
    const SongList songs;
    PrintPreviewWindow preview(1, print::SongListPageRenderer(songs, false, ""));
    EXPECT_EQ(Accessible(&preview)->role(), QAccessible::Window);
    EXPECT_EQ(Accessible(&preview)->text(QAccessible::Name), "Dudir Udade Preview");
}

TEST(WindowTexts, FitWhereTheyAreShown) {
    Window w;
    auto* folder = w.Control<QLabel>(ControlId::SongFolderText);
    const QString path = "/media/ann/KARAOKE SONGS OF THE WHOLE FAMILY 2026";
    std::string offer = kDeviceOfferText;
    offer.replace(offer.find("%s"), 2, path.toStdString());
    w.window.SetText(ControlId::SongFolderText, offer);
    w.window.SetComboSelection(ControlId::EntryLanguage, 2);
    SavePicture(w.window.grab().toImage(), "window-offer.png");
    const QStringList lines = folder->text().split('\n');
    ASSERT_EQ(lines.size(), 2) << folder->text().toStdString();
    for (const QString& line : lines) {
        EXPECT_LE(folder->fontMetrics().horizontalAdvance(line), folder->contentsRect().width()) << line.toStdString();
    }
    EXPECT_LE(2 * folder->fontMetrics().lineSpacing(), folder->contentsRect().height());
    EXPECT_TRUE(lines[0].startsWith("USB drive found at /media/")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith("2026:")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains(QChar(0x2026))) << "the path is shortened in the middle";
    EXPECT_EQ(lines[1], "choose it with Auto-Check USB Drive.");
    EXPECT_EQ(folder->toolTip().toStdString(), offer);
    EXPECT_EQ(w.window.GetText(ControlId::SongFolderText), offer);
    w.window.SetText(ControlId::SongFolderText, "/media/ann/KARAOKE/songs/");
    EXPECT_EQ(folder->text(), "/media/ann/KARAOKE/songs/");
    EXPECT_TRUE(folder->toolTip().isEmpty());

    auto* language = w.Control<QComboBox>(ControlId::EntryLanguage);
    language->setCurrentIndex(2);
    QStyleOptionComboBox option;
    option.initFrom(language);
    option.currentText = language->currentText();
    const QRect field =
        language->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, language);
    EXPECT_EQ(language->currentText(), "ES[Spanish]");
    EXPECT_GE(field.width(), language->fontMetrics().horizontalAdvance("ES[Spanish]"));
    EXPECT_EQ(language->view()->sizeHintForRow(0), 24);
    EXPECT_EQ(w.Control<QComboBox>(ControlId::SearchLanguage)->view()->sizeHintForRow(0), 18);

    auto* list = w.Control<SkinnedListView>(ControlId::DeviceList);
    EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(), " Number");
    EXPECT_EQ(list->model()->headerData(2, Qt::Horizontal).toString(), "      Title");
}

// Relative luminance and contrast ratio as the web's accessibility guidelines define them.
double Luminance(QColor colour) {
    const auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}
double Contrast(QColor a, QColor b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The text's contrast within `rect`: every pixel the text changed against the same pixel without
// the text; the lowest of the best is what a reader must make out, so the best pair counts (the
// text's core), as antialiased edges always contrast less. `lightness` gets the rect's mean
// luminance without the text.
double TextContrast(const QImage& withText, const QImage& without, const QRect& rect, double* lightness) {
    double best = 1.0;
    double sum = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor back = QColor::fromRgb(without.pixel(x, y));
            sum += Luminance(back);
            if (withText.pixel(x, y) == without.pixel(x, y)) continue;
            best = std::max(best, Contrast(QColor::fromRgb(withText.pixel(x, y)), back));
        }
    }
    *lightness = sum / (rect.width() * rect.height());
    return best;
}

// With a device chosen, Tab alone reaches every enabled control that takes input, and Shift+Tab walks the
// same ring back.
TEST(WindowForTheKeyboard, TabReachesEveryControlAndShiftTabWalksBack) {
    Window w;
    w.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.window));
    QTest::mouseClick(w.Control<QAbstractButton>(ControlId::AutoCheckDevice), Qt::LeftButton);
    QWidget* start = w.window.control(ControlId::Number);
    start->setFocus();
    QTRY_VERIFY(start->hasFocus());
    auto walk = [&](bool back) {
        std::vector<QWidget*> ring{start};
        for (int i = 0; i < 100; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
            if (QApplication::focusWidget() == start) return ring;
            ring.push_back(QApplication::focusWidget());
        }
        ADD_FAILURE() << "the focus never came back to the number box";
        return ring;
    };
    const std::vector<QWidget*> forth = walk(false);
    int enabled = 0;
    for (ControlId id :
         {ControlId::Number,         ControlId::Title,        ControlId::Artist,          ControlId::Composer,
          ControlId::Lyricist,       ControlId::MediaPath,    ControlId::Browse,          ControlId::EntryLanguage,
          ControlId::QueueToAdd,     ControlId::ClearFields,  ControlId::WorkList,        ControlId::AddToDevice,
          ControlId::Revise,         ControlId::DeviceList,   ControlId::AutoCheckDevice, ControlId::SelectDevice,
          ControlId::Print,          ControlId::PrintPreview, ControlId::ExportSongList,  ControlId::SearchBox,
          ControlId::SearchLanguage, ControlId::CloudSongs,   ControlId::CloudMidi}) {
        // Revise and the list's print and export wait for a song, as their state says.
        QWidget* control = w.window.control(id);
        const bool reached = std::find(forth.begin(), forth.end(), control) != forth.end();
        EXPECT_EQ(reached, control->isEnabled()) << ControlName(id) << (reached ? " is reached" : " is not reached");
        if (control->isEnabled()) ++enabled;
    }
    EXPECT_EQ(enabled, 19);
    std::vector<QWidget*> back = walk(true);
    ASSERT_EQ(back.size(), forth.size());
    std::reverse(back.begin() + 1, back.end());
    EXPECT_EQ(back, forth);
}

TEST(WindowOnADarkDesktop, KeepsItsLightColoursAndReadableTexts) {
    const QPalette desktop = QApplication::palette();
    QPalette dark(QColor(53, 53, 53));  // light text on dark boxes and buttons
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    QApplication::setPalette(dark);
    {
        Window w;
        const std::vector<std::pair<ControlId, std::string>> texts = {
            {ControlId::SongFolderText, "/media/ann/KARAOKE/songs/"},
            {ControlId::Number, "900123"},
            {ControlId::Title, "Morning Road"},
            {ControlId::Artist, "Ann Lee"},
            {ControlId::Composer, "Joe Brown"},
            {ControlId::Lyricist, "Mae West"},
            {ControlId::MediaPath, "/home/ann/clips/morning.mp4"}};
        const auto fill = [&](bool shown) {
            for (const auto& [id, text] : texts) w.window.SetText(id, shown ? text : "");
            w.window.SetText(ControlId::SearchBox, shown ? kSearchPlaceholder : "");
            w.window.SetComboSelection(ControlId::EntryLanguage, shown ? 2 : -1);
            w.window.SetComboSelection(ControlId::SearchLanguage, shown ? 0 : -1);
            for (ControlId list : {ControlId::WorkList, ControlId::DeviceList}) {
                w.window.DeleteAllRows(list);
                if (shown) w.window.InsertRow(list, 0, RowTexts{"900123", "ES", "Morning Road", "Ann Lee", "", ""});
            }
        };
        fill(true);
        const QImage shown = w.window.grab().toImage();
        SavePicture(shown, "window-dark-desktop.png");
        fill(false);
        const QImage empty = w.window.grab().toImage();

        std::vector<ControlId> measured = {ControlId::SearchBox, ControlId::EntryLanguage, ControlId::SearchLanguage,
                                           ControlId::WorkList, ControlId::DeviceList};
        for (const auto& entry : texts) measured.push_back(entry.first);
        for (ControlId id : measured) {
            const QRect rect = w.window.control(id)->geometry();
            double lightness = 0;
            const double contrast = TextContrast(shown, empty, rect, &lightness);
            std::cout << "[ figure ] text contrast of " << ControlName(id) << ": " << contrast << "\n";
            EXPECT_GE(contrast, 4.5) << ControlName(id);
            EXPECT_GT(lightness, 0.6) << ControlName(id) << " is drawn light";
        }
        // The standard dialogs are windows of their own and follow the desktop.
        QMessageBox box(&w.window);
        EXPECT_EQ(box.palette().color(QPalette::Window), dark.color(QPalette::Window));
        QFileDialog files(&w.window);
        EXPECT_EQ(files.palette().color(QPalette::Base), dark.color(QPalette::Base));
    }
    QApplication::setPalette(desktop);
}

TEST(WindowOnAHighDensityScreen, DrawsTextAtTheScreensResolution) {
    Window w;
    w.window.SetText(ControlId::Title, "Morning Road");
    const auto render = [&](qreal ratio) {
        QImage image(w.window.size() * ratio, QImage::Format_ARGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::white);
        w.window.render(&image);
        return image;
    };
    const QImage single = render(1);
    const QImage twice = render(2);
    SavePicture(twice, "window-scale-2.png");
    // The title box drawn at twice the size differs from its single-size picture blown up.
    const QRect box = w.window.control(ControlId::Title)->geometry();
    const QImage blownUp = single.copy(box).scaled(box.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QImage sharp = twice.copy(QRect(box.topLeft() * 2, box.size() * 2));
    int finer = 0;
    for (int y = 0; y < sharp.height(); ++y) {
        for (int x = 0; x < sharp.width(); ++x) finer += sharp.pixel(x, y) != blownUp.pixel(x, y);
    }
    EXPECT_GT(finer, 100);
}

// A private session bus with, when asked, a notification service that logs its calls.
class PrivateSessionBus {
public:
    ~PrivateSessionBus() { QDBusConnection::disconnectFromBus(kName); }
    bool ok() const { return bus_.ok(); }
    QDBusConnection Connection() const {
        return QDBusConnection::connectToBus(QString::fromStdString(bus_.address()), kName);
    }
    bool StartNotificationService(const std::filesystem::path& log) {
        return bus_.StartMock("DBUS_SESSION_BUS_ADDRESS", {"--session", "-t", "notification_daemon", "-l", log},
                              "org.freedesktop.Notifications");
    }

private:
    static inline const QString kName = QStringLiteral("songloader-test-session");
    test::PrivateBus bus_;
};

std::string ReadLog(const std::filesystem::path& log) {
    std::ifstream in(log);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(DesktopNotification, ALongBatchEndedElsewhereIsToldAndNoServiceIsNoError) {
    if (test::RunProgram("/usr/bin/python3", {"-c", "import dbusmock"}).exitCode != 0) {
        GTEST_SKIP() << "python3-dbusmock is not installed";
    }
    test::TempDir logs;
    {
        // No notification service on the bus, and no bus at all: nothing happens, nothing fails.
        PrivateSessionBus bus;
        if (!bus.ok()) GTEST_SKIP() << "cannot start a private dbus-daemon";
        DesktopNotifier(bus.Connection()).Notify("Songs added to the USB drive", "Added 1 song: A.");
        DesktopNotifier(QDBusConnection(QStringLiteral("no such bus"))).Notify("x", "y");
    }
    PrivateSessionBus bus;
    const auto log = logs.path() / "notifications.log";
    ASSERT_TRUE(bus.StartNotificationService(log));

    Window w;
    w.window.setBatchNotification(std::make_unique<DesktopNotifier>(bus.Connection()), 0ms);
    // Answers the boxes the batch shows.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Ok)->click();
    });
    answer.start(10);
    const auto clip = w.dir.path() / "clip.mp4";
    test::WriteMediaFile(clip, 4000);
    QTest::mouseClick(w.Control<QAbstractButton>(ControlId::AutoCheckDevice), Qt::LeftButton);
    QTest::keyClicks(w.Control<QLineEdit>(ControlId::Number), "900123");
    QTest::keyClicks(w.Control<QLineEdit>(ControlId::Title), "Morning Road");
    w.window.SetText(ControlId::MediaPath, clip.string());
    w.Control<QComboBox>(ControlId::EntryLanguage)->setCurrentIndex(1);
    QTest::mouseClick(w.Control<QAbstractButton>(ControlId::QueueToAdd), Qt::LeftButton);
    // The window was never shown, so it is not the active one.
    QTest::mouseClick(w.Control<QAbstractButton>(ControlId::AddToDevice), Qt::LeftButton);
    ASSERT_TRUE(std::filesystem::exists(w.device / "songs" / "900" / "900123.mp4"));
    for (int i = 0; i < 50 && ReadLog(log).find("Notify") == std::string::npos; ++i) QTest::qWait(100);
    const std::string calls = ReadLog(log);
    EXPECT_NE(calls.find("Notify \"Trallix Song Loader\""), std::string::npos) << calls;
    EXPECT_NE(calls.find("Songs added to the USB drive"), std::string::npos) << calls;
    EXPECT_NE(calls.find("Added 1 song: Morning Road."), std::string::npos) << calls;
}

}  // namespace
}  // namespace songloader::gui
