// SPDX-License-Identifier: GPL-3.0-or-later
// The real window, driven as a user would, with its modal boxes answered by a script.
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QAbstractButton>
#include <QPushButton>
#include <QHeaderView>
#include <QLabel>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSettings>
#include <QPointer>
#include <QScrollArea>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <deque>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "core/cloud/cloud_client.h"
#include "core/cloud/catalogue_publisher.h"
#include "core/cloud/curl_library.h"
#include "core/device/device_write_session.h"
#include "gui/controls/gradient_progress_bar.h"
#include "gui/controls/image_button.h"
#include "gui/controls/skinned_list_view.h"
#include "gui/demo/demo_setup.h"
#include "gui/main_window.h"
#include "gui/windows/progress_window.h"
#include "gui/window_texts.h"
#include "support/list_file_bytes.h"
#include "support/media_samples.h"
#include "support/temp_dir.h"
#include "support/tmpfs_mount.h"
#include "support/test_cloud_server.h"

namespace songloader::gui {
namespace {

using test::TempDir;
using Log = std::vector<std::string>;

// Answers every modal box that comes up: message boxes from `answers` (OK boxes need none),
// file dialogs are cancelled, a progress window is cancelled when `cancelDownloads` is set.
// What each box said is kept in `seen`.
class ModalScript {
public:
    ModalScript() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
        timer_.start(10);
    }
    std::deque<QMessageBox::StandardButton> answers;
    bool cancelDownloads = false;
    Log seen;
    std::vector<bool> noByDefault;  // of each Yes/No question: Enter answers No

private:
    void Answer() {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* progress = qobject_cast<ProgressWindow*>(top);
            if (!cancelDownloads || !progress || !progress->isVisible()) continue;
            auto* cancel = progress->findChild<QPushButton*>();
            if (cancel && cancel->isEnabled()) {
                seen.push_back("cancel " + progress->text().toStdString());
                cancel->click();
            }
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen.push_back(box->windowTitle().toStdString() + "|" + box->text().toStdString());
            QMessageBox::StandardButton button = QMessageBox::Ok;
            if (box->standardButtons() & QMessageBox::Yes) {
                noByDefault.push_back(box->defaultButton() == box->button(QMessageBox::No));
                if (answers.empty()) {
                    ADD_FAILURE() << "no answer for " << box->text().toStdString();
                    button = QMessageBox::No;
                } else {
                    button = answers.front();
                    answers.pop_front();
                }
            }
            box->button(button)->click();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            seen.push_back("file dialog");
            dialog->reject();
        }
    }
    QTimer timer_;
};

class WindowRoad : public ::testing::Test {
protected:
    WindowRoad() : device(dir.path() / "stick"), drives(device) { std::filesystem::create_directories(device); }
    void Open(const std::string& cloudUrl = "http://127.0.0.1:9/") {
        client = std::make_unique<CloudClient>(cloudUrl, progress);
        window = std::make_unique<MainWindow>(drives, *client, DialogSettings{});
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    // The window's keys go to the focused widget of the active window, as a user's would (a box
    // that came and went may have left no window active offscreen).
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : window.get(), static_cast<Qt::Key>(key), modifiers);
    }
    void PutDeviceList(const std::vector<test::ListEntry>& entries) {
        test::WriteBytes(device / "songs" / "SgList.dat", test::MakeListFileBytes(entries));
    }
    SkinnedListView* List(ControlId id) { return qobject_cast<SkinnedListView*>(window->control(id)); }
    // The column texts of a list as it shows them, top to bottom.
    Log Shown(ControlId id, int column) {
        Log texts;
        QAbstractItemModel* model = List(id)->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            texts.push_back(model->index(row, column).data().toString().trimmed().toStdString());
        }
        return texts;
    }
    QAbstractButton* Button(ControlId id) { return qobject_cast<QAbstractButton*>(window->control(id)); }
    QLineEdit* Edit(ControlId id) { return qobject_cast<QLineEdit*>(window->control(id)); }
    int Rows(ControlId list) { return qobject_cast<QTableView*>(window->control(list))->model()->rowCount(); }
    std::filesystem::path Clip(const std::string& name) {
        const auto file = dir.path() / name;
        test::WriteMediaFile(file, test::MinimumMediaBytes());
        return file;
    }
    // Drops `files` on `target` as a file manager does: enter, move, drop.
    static void DropFiles(QWidget* target, const std::vector<std::filesystem::path>& files) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const auto& file : files) urls.push_back(QUrl::fromLocalFile(QString::fromStdString(file.string())));
        mime.setUrls(urls);
        const QPointF at(target->width() / 2.0, target->height() / 2.0);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        EXPECT_TRUE(drop.isAccepted());
        QTest::qWait(50);
    }
    void TypeSong(const std::string& number, const std::string& title, const std::filesystem::path& media) {
        QTest::keyClicks(Edit(ControlId::Number), QString::fromStdString(number));
        QTest::keyClicks(Edit(ControlId::Title), QString::fromStdString(title));
        Edit(ControlId::MediaPath)->setText(QString::fromStdString(media.string()));
        qobject_cast<QComboBox*>(window->control(ControlId::EntryLanguage))->setCurrentIndex(1);
    }

    const CurlLibrary curl;
    TempDir dir;
    std::filesystem::path device;
    DemoDriveSystem drives;
    DownloadProgress progress;
    std::unique_ptr<CloudClient> client;
    std::unique_ptr<MainWindow> window;
    ModalScript script;
};

TEST_F(WindowRoad, EveryControlHasItsWidgetAndEveryButtonReachesItsHandler) {
    Open();
    const std::vector<ControlId> controls = {
        ControlId::SongFolderText, ControlId::AutoCheckDevice, ControlId::Number,         ControlId::Title,
        ControlId::Artist,         ControlId::Composer,        ControlId::Lyricist,       ControlId::MediaPath,
        ControlId::Browse,         ControlId::WorkList,        ControlId::DeviceList,     ControlId::QueueToAdd,
        ControlId::ClearFields,    ControlId::AddToDevice,     ControlId::Revise,         ControlId::Progress,
        ControlId::EntryLanguage,  ControlId::Print,           ControlId::PrintPreview,   ControlId::ExportSongList,
        ControlId::SelectDevice,   ControlId::AutoGenerate,    ControlId::CloudSongs,     ControlId::SelectAll,
        ControlId::CloudMidi,      ControlId::SearchBox,       ControlId::SearchLanguage, ControlId::EjectDevice};
    for (ControlId id : controls) {
        const QString name = QString::fromStdString(ControlName(id));
        QWidget* widget = window->findChild<QWidget*>(name);
        ASSERT_NE(widget, nullptr) << name.toStdString();
        EXPECT_EQ(widget, window->control(id));
        auto* button = qobject_cast<QAbstractButton*>(widget);
        if (!button) continue;
        button->setEnabled(true);
        const int before = window->commandCount();
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(window->commandCount(), before + 1) << name.toStdString();
    }
    EXPECT_TRUE(window->isVisible());
}

TEST_F(WindowRoad, AddsAUserSongToTheDevice) {
    Open();
    QTest::mouseClick(Button(ControlId::AutoCheckDevice), Qt::LeftButton);
    TypeSong("900123", "Morning Road", Clip("clip.mp4"));
    QTest::mouseClick(Button(ControlId::QueueToAdd), Qt::LeftButton);
    EXPECT_EQ(Rows(ControlId::WorkList), 1);
    QTest::mouseClick(Button(ControlId::AddToDevice), Qt::LeftButton);

    EXPECT_EQ(script.seen, Log{"Note|Added successfully"});
    EXPECT_EQ(Rows(ControlId::DeviceList), 1);
    EXPECT_TRUE(std::filesystem::exists(device / "songs" / "900" / "900123.mp4"));
    EXPECT_TRUE(std::filesystem::exists(device / "songs" / "SgList.dat"));
}

TEST_F(WindowRoad, EnterOnASelectedRowLoadsTheSongAsADoubleClickDoes) {
    Open();
    QTest::mouseClick(Button(ControlId::AutoCheckDevice), Qt::LeftButton);
    TypeSong("900123", "Morning Road", Clip("clip.mp4"));
    QTest::mouseClick(Button(ControlId::QueueToAdd), Qt::LeftButton);
    for (ControlId id : {ControlId::WorkList, ControlId::DeviceList}) {
        if (id == ControlId::DeviceList) QTest::mouseClick(Button(ControlId::AddToDevice), Qt::LeftButton);
        QTest::mouseClick(Button(ControlId::ClearFields), Qt::LeftButton);
        ASSERT_TRUE(Edit(ControlId::Title)->text().isEmpty());
        auto* list = qobject_cast<SkinnedListView*>(window->control(id));
        ASSERT_EQ(list->model()->rowCount(), 1) << ControlName(id);
        list->selectAndFocusRow(0);
        QTest::keyClick(list, Qt::Key_Return);
        EXPECT_EQ(Edit(ControlId::Title)->text(), "Morning Road") << ControlName(id);
        EXPECT_EQ(Edit(ControlId::Number)->text(), "900123") << ControlName(id);
    }
}

// A batch of copies offers its stop, the one control that takes a click meanwhile.
TEST_F(WindowRoad, ABatchOfCopiesStopsAfterTheSongBeingCopied) {
    Open();
    QTest::mouseClick(Button(ControlId::AutoCheckDevice), Qt::LeftButton);
    for (const char* number : {"900001", "900002", "900003"}) {
        QTest::mouseClick(Button(ControlId::ClearFields), Qt::LeftButton);
        TypeSong(number, std::string("Song ") + number, Clip(std::string(number) + ".mp4"));
        QTest::mouseClick(Button(ControlId::QueueToAdd), Qt::LeftButton);
    }
    ASSERT_EQ(Rows(ControlId::WorkList), 3);
    EXPECT_FALSE(window->findChild<QPushButton*>("BatchStop")) << "offered only while a batch runs";
    bool clicked = false;
    QTimer clicker;
    clicker.setInterval(0);
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        auto* stop = window->findChild<QPushButton*>("BatchStop");
        if (clicked || !stop || !stop->isVisible()) return;
        clicked = true;
        EXPECT_EQ(stop->accessibleName(), "Stop after this song");
        if (const char* pictures = std::getenv("SONGLOADER_TEST_PICTURES")) {
            window->grab().save(
                QString::fromStdString((std::filesystem::path(pictures) / "window-batch-stop.png").string()));
        }
        // Held back: a click elsewhere starts nothing inside the batch.
        QTest::mouseClick(Button(ControlId::ClearFields), Qt::LeftButton);
        QTest::mouseClick(stop, Qt::LeftButton);
    });
    clicker.start();
    QTest::mouseClick(Button(ControlId::AddToDevice), Qt::LeftButton);
    clicker.stop();
    EXPECT_TRUE(clicked);
    const auto* after = window->findChild<QPushButton*>("BatchStop");
    EXPECT_TRUE(!after || !after->isVisible());
    EXPECT_EQ(Rows(ControlId::WorkList), 2);
    EXPECT_TRUE(std::filesystem::exists(device / "songs" / "900" / "900001.mp4"));
    EXPECT_FALSE(std::filesystem::exists(device / "songs" / "900" / "900002.mp4"));
    EXPECT_EQ(Edit(ControlId::Title)->text().toStdString(), "Song 900003") << "the held-back click cleared the form";
}

// Files dropped on the window, or on one of its text boxes, are queued; the box keeps its text.
TEST_F(WindowRoad, DroppedFilesAreQueued) {
    Open();
    QTest::mouseClick(Button(ControlId::AutoCheckDevice), Qt::LeftButton);
    qobject_cast<QComboBox*>(window->control(ControlId::EntryLanguage))->setCurrentIndex(1);
    std::filesystem::copy_file(test::MediaFixture("tagged.mp4"), dir.path() / "a.mp4");
    std::filesystem::copy_file(test::MediaFixture("tagged.mp3"), dir.path() / "b.mp3");
    DropFiles(window.get(), {dir.path() / "a.mp4", dir.path() / "b.mp3"});
    EXPECT_EQ(Rows(ControlId::WorkList), 2);
    EXPECT_EQ(script.seen, Log{});
    auto* list = qobject_cast<QTableView*>(window->control(ControlId::WorkList));
    EXPECT_EQ(list->model()->index(0, 2).data().toString().toStdString(), "Blue Moon");
    EXPECT_EQ(list->model()->index(1, 3).data().toString().toStdString(), "Eve Moss");

    std::filesystem::copy_file(test::MediaFixture("tagged.mkv"), dir.path() / "c.mkv");
    DropFiles(Edit(ControlId::Title), {dir.path() / "c.mkv"});
    EXPECT_EQ(Rows(ControlId::WorkList), 3);
    EXPECT_EQ(Edit(ControlId::Title)->text().toStdString(), "");

    QTest::mouseClick(Button(ControlId::AddToDevice), Qt::LeftButton);
    EXPECT_EQ(script.seen, Log{"Note|Added successfully"});
    EXPECT_TRUE(std::filesystem::exists(device / "songs" / "900" / "900002.mkv"));
}

// A copy the catalogue cannot take is taken off the device again: nothing stays pending, and the
// song stays queued.
TEST_F(WindowRoad, ACopyTheCatalogueCannotTakeIsTakenOffAndStaysQueued) {
    Open();
    QTest::mouseClick(Button(ControlId::AutoCheckDevice), Qt::LeftButton);
    // A folder where the database goes makes the rebuild fail after the copy.
    std::filesystem::create_directories(device / "songs" / "usbsong.db" / "blocked");
    TypeSong("900001", "Morning Road", Clip("a.mp4"));
    QTest::mouseClick(Button(ControlId::QueueToAdd), Qt::LeftButton);
    QTest::mouseClick(Button(ControlId::AddToDevice), Qt::LeftButton);
    EXPECT_TRUE(window->dialog().pendingCopies().empty());
    EXPECT_FALSE(std::filesystem::exists(device / "songs" / "900" / "900001.mp4"));
    EXPECT_EQ(Rows(ControlId::WorkList), 1);
}

TEST_F(WindowRoad, ClosingWithQueuedSongsAsksBeforeTheyAreLost) {
    const Log question = {"Note|The queued songs have not been added to the USB drive. Exit anyway?"};
    Open();
    QTest::mouseClick(Button(ControlId::AutoCheckDevice), Qt::LeftButton);
    TypeSong("900001", "Morning Road", Clip("a.mp4"));
    QTest::mouseClick(Button(ControlId::QueueToAdd), Qt::LeftButton);
    ASSERT_EQ(Rows(ControlId::WorkList), 1);
    script.seen.clear();

    script.answers = {QMessageBox::No};
    window->close();  // the close box and the system's close both arrive as a close event
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(script.seen, question);
    script.seen.clear();
    // Escape with songs queued leaves the window as it is, without a question.
    Key(Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(script.seen, Log{});
    script.answers = {QMessageBox::No};
    Key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(Rows(ControlId::WorkList), 1);
    EXPECT_EQ(script.seen, question);
    script.seen.clear();
    script.answers = {QMessageBox::Yes};
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(script.seen, question);
    EXPECT_EQ(script.noByDefault, (std::vector<bool>{true, true, true})) << "Enter alone never quits";
}

TEST_F(WindowRoad, APulledStickIsNoticedFromTheMountTable) {
    test::TmpfsMount stick(device, 1024 * 1024);
    if (!stick.mounted()) GTEST_SKIP() << stick.why_not();
    Open();
    QTest::mouseClick(Button(ControlId::AutoCheckDevice), Qt::LeftButton);
    script.seen.clear();
    stick.Unmount();
    QTRY_COMPARE_WITH_TIMEOUT(script.seen.size(), std::size_t{1}, 3000);
    EXPECT_EQ(script.seen[0], std::string("ERROR|") + kDeviceChangedMessage);
}

// The context menu's command runs once the menu has closed: a delete pumps events, and a menu
// deleted under its own running action crashed the window on the next click.
TEST_F(WindowRoad, AMenuCommandRunsAfterTheMenuHasClosed) {
    Open();
    QTest::mouseClick(Button(ControlId::AutoCheckDevice), Qt::LeftButton);
    TypeSong("900123", "Morning Road", Clip("clip.mp4"));
    QTest::mouseClick(Button(ControlId::QueueToAdd), Qt::LeftButton);
    QTest::mouseClick(Button(ControlId::AddToDevice), Qt::LeftButton);
    ASSERT_EQ(Rows(ControlId::DeviceList), 1);
    window->dialog().OnListRightClick(ControlId::DeviceList, 0);
    QPointer<QMenu> menu = window->findChild<QMenu*>();
    ASSERT_TRUE(menu);
    QAction* remove = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->text() == "Delete") remove = action;
    }
    ASSERT_TRUE(remove);
    script.seen.clear();
    script.answers = {QMessageBox::Yes};
    const int before = window->commandCount();
    remove->trigger();
    EXPECT_EQ(window->commandCount(), before) << "the delete ran inside the menu";
    menu->close();
    QTRY_COMPARE(Rows(ControlId::DeviceList), 0);
    EXPECT_TRUE(menu.isNull());
    EXPECT_EQ(script.seen, (Log{"Note|Confirm song deletion?", "Note|Song deleted successfully"}));
    QTest::mouseClick(Button(ControlId::ClearFields), Qt::LeftButton);  // the next click
    EXPECT_TRUE(window->isVisible());
}

// "Even Loudness" in the window's menu is remembered in the window's own state for the next start.
TEST_F(WindowRoad, EvenLoudnessIsRemembered) {
    Open();
    EXPECT_FALSE(window->dialog().EvenLoudness());
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), window->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(window.get(), &event);
    QPointer<QMenu> menu = window->findChild<QMenu*>();
    ASSERT_TRUE(menu);
    QAction* loudness = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->text() == "Even Loudness") loudness = action;
    }
    ASSERT_TRUE(loudness);
    EXPECT_TRUE(loudness->isCheckable());
    EXPECT_FALSE(loudness->isChecked());
    loudness->trigger();
    if (const char* pictures = std::getenv("SONGLOADER_TEST_PICTURES")) {
        menu->grab().save(QString::fromStdString((std::filesystem::path(pictures) / "window-menu.png").string()));
    }
    menu->close();
    EXPECT_TRUE(window->dialog().EvenLoudness());
    window.reset();
    Open();
    EXPECT_TRUE(window->dialog().EvenLoudness());
    window->dialog().SetEvenLoudness(false);
    QSettings(QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) + "/songloader/window-state.conf",
              QSettings::IniFormat)
        .setValue("even-loudness", false);
}

TEST_F(WindowRoad, TheKeysOfTheWindow) {
    std::filesystem::create_directories(device / "songs");
    PutDeviceList({{900001, 0, "Dancing Queen", "Abba", "", ""}, {900002, 0, "Hello", "Dan", "", ""}});
    Open();
    QTest::mouseClick(Button(ControlId::AutoCheckDevice), Qt::LeftButton);
    auto* search = Edit(ControlId::SearchBox);

    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), search);
    QTest::keyClicks(search, "dancing q");
    QTRY_COMPARE(Rows(ControlId::DeviceList), 1);
    auto* hits = qobject_cast<QLabel*>(window->control(ControlId::SearchHits));
    EXPECT_EQ(hits->text(), "1 song");
    Key(Qt::Key_Escape);  // clears the search, closes nothing
    EXPECT_TRUE(search->text().isEmpty());
    QTRY_COMPARE(Rows(ControlId::DeviceList), 2);
    EXPECT_EQ(hits->text(), "");
    EXPECT_TRUE(window->isVisible());

    // Delete on a selected row asks by number and title.
    script.answers = {QMessageBox::No};
    List(ControlId::DeviceList)->selectAndFocusRow(1);
    Key(Qt::Key_Delete);
    EXPECT_EQ(script.seen, Log{"Note|Delete 900002 Hello?"});
    EXPECT_EQ(Rows(ControlId::DeviceList), 2);

    // Ctrl+O is Browse: its file dialog, cancelled here.
    script.seen.clear();
    Key(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(script.seen, (Log{"file dialog", "Note|Please select file"}));
}

// The header sorts the list it shows; the device's catalogue keeps the list's own order.
TEST_F(WindowRoad, TheDeviceListSortsByItsHeaderAndWritesInItsOwnOrder) {
    std::filesystem::create_directories(device / "songs");
    PutDeviceList(
        {{900002, 0, "beta", "Zed", "", ""}, {900001, 0, "Alpha", "Yan", "", ""}, {900003, 0, "Gamma", "Xu", "", ""}});
    Open();
    QTest::mouseClick(Button(ControlId::AutoCheckDevice), Qt::LeftButton);
    QHeaderView* header = List(ControlId::DeviceList)->horizontalHeader();
    const auto clickHeader = [&](int column) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 10, header->height() / 2));
    };
    EXPECT_EQ(Shown(ControlId::DeviceList, 2), (Log{"beta", "Alpha", "Gamma"}));
    clickHeader(2);
    EXPECT_EQ(Shown(ControlId::DeviceList, 2), (Log{"Alpha", "beta", "Gamma"}));
    clickHeader(2);
    EXPECT_EQ(Shown(ControlId::DeviceList, 2), (Log{"Gamma", "beta", "Alpha"}));
    clickHeader(3);
    EXPECT_EQ(Shown(ControlId::DeviceList, 3), (Log{"Xu", "Yan", "Zed"}));
    clickHeader(1);  // the language: no sort
    EXPECT_EQ(Shown(ControlId::DeviceList, 3), (Log{"Xu", "Yan", "Zed"}));
    clickHeader(0);
    EXPECT_EQ(Shown(ControlId::DeviceList, 0), (Log{"900001", "900002", "900003"}));
    clickHeader(0);

    // A double-click loads the song shown, whatever the order.
    auto* list = List(ControlId::DeviceList);
    const QRect first = list->visualRect(list->model()->index(0, 2));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(Edit(ControlId::Title)->text(), "Gamma");
    QTest::mouseClick(Button(ControlId::ClearFields), Qt::LeftButton);

    TypeSong("900004", "Delta", Clip("clip.mp4"));
    QTest::mouseClick(Button(ControlId::QueueToAdd), Qt::LeftButton);
    QTest::mouseClick(Button(ControlId::AddToDevice), Qt::LeftButton);
    EXPECT_EQ(Shown(ControlId::DeviceList, 0), (Log{"900004", "900003", "900002", "900001"})) << "kept sorted";
    std::vector<std::int32_t> written;
    for (const ROWELEMENT& song : window->dialog().deviceSongs()) written.push_back(song.number);
    EXPECT_EQ(written, (std::vector<std::int32_t>{900002, 900001, 900003, 900004}));
    const auto* summary = qobject_cast<QLabel*>(window->control(ControlId::DeviceSummary));
    EXPECT_TRUE(summary->text().startsWith("4 songs on the USB drive, ")) << summary->text().toStdString();
    if (const char* pictures = std::getenv("SONGLOADER_TEST_PICTURES")) {
        Edit(ControlId::SearchBox)->setFocus();
        QTest::keyClicks(Edit(ControlId::SearchBox), "a");
        QTest::qWait(50);
        window->grab().save(QString::fromStdString((std::filesystem::path(pictures) / "window-sorted.png").string()));
    }
}

TEST_F(WindowRoad, OneVersionInTheTitleAndTheAboutBox) {
    Open();
    const std::string version = WithVersion("%s");
    EXPECT_TRUE(std::string(SONGLOADER_VERSION).starts_with(version + "."));
    EXPECT_TRUE(window->windowTitle().endsWith(QString::fromStdString(" V:" + version)));
    QTimer::singleShot(0, [&] {
        QWidget* about = QApplication::activeModalWidget();
        ASSERT_TRUE(about);
        bool named = false;
        for (auto* label : about->findChildren<QLabel*>())
            named |= label->text().contains(QString::fromStdString("V" + version + " "));
        EXPECT_TRUE(named);
        about->close();
    });
    window->ShowAbout();
}

TEST_F(WindowRoad, HelpWithoutABrowserSaysWhereTheHelpIs) {
    Open();
    const auto help = dir.path() / "help" / "index.html";
    test::WriteBytes(help, std::string("<html></html>"));
    window->setHelpFile(help);
    window->dialog().OnSysCommand(SysCommand::ContextHelp);
    ASSERT_EQ(script.seen.size(), 1u);
    EXPECT_NE(script.seen[0].find("No web browser could be started"), std::string::npos) << script.seen[0];
    EXPECT_NE(script.seen[0].find(help.string()), std::string::npos) << script.seen[0];
}

TEST_F(WindowRoad, ButtonsSayWhatTheyDoAndTheBarStartsEmpty) {
    Open();
    for (auto* button : window->findChildren<ImageButton*>()) {
        if (button->objectName() == "BatchStop") continue;
        EXPECT_FALSE(button->toolTip().isEmpty()) << button->objectName().toStdString();
        EXPECT_NE(button->toolTip().trimmed(), button->accessibleName().trimmed())
            << button->objectName().toStdString();
    }
    EXPECT_EQ(qobject_cast<GradientProgressBar*>(window->control(ControlId::Progress))->percentText(), QString());
}

// At scale 2 a 1600x1000 screen gives the window 800x500 of its own pixels: every control stays
// reachable; a screen with room keeps the drawn window as it is.
TEST_F(WindowRoad, TheWindowFitsASmallScreenWithEveryControlReachable) {
    Open();
    const QSize drawn = window->size();
    window->FitInto(QRect(0, 0, 1920, 1080));
    EXPECT_FALSE(window->scrolled());
    EXPECT_EQ(window->size(), drawn);

    window->FitInto(QRect(0, 0, 800, 500));
    ASSERT_TRUE(window->scrolled());
    EXPECT_LE(window->width(), 800);
    EXPECT_LE(window->height(), 500);
    auto* scroll = window->findChild<QScrollArea*>("DesignScroll");
    ASSERT_TRUE(scroll);
    const QRect viewport = scroll->viewport()->rect();
    for (const ControlPlace& place : MainWindowLayout().controls) {
        QWidget* widget = window->control(place.id);
        scroll->ensureWidgetVisible(widget, 0, 0);
        const QRect at(widget->mapTo(scroll->viewport(), QPoint(0, 0)), widget->size());
        // A control that fits the view is brought wholly into it; a larger one (the device list)
        // fills it.
        if (at.width() <= viewport.width() && at.height() <= viewport.height()) {
            EXPECT_TRUE(viewport.contains(at)) << ControlName(place.id);
        } else {
            EXPECT_TRUE(at.intersected(viewport).height() >= std::min(at.height(), viewport.height()) &&
                        at.intersected(viewport).width() >= std::min(at.width(), viewport.width()))
                << ControlName(place.id);
        }
    }
    if (const char* pictures = std::getenv("SONGLOADER_TEST_PICTURES")) {
        window->grab().save(
            QString::fromStdString((std::filesystem::path(pictures) / "window-small-screen.png").string()));
    }
    // It works as before: the buttons reach their handlers.
    const int before = window->commandCount();
    QTest::mouseClick(Button(ControlId::ExportSongList), Qt::LeftButton);
    QTest::mouseClick(Button(ControlId::AutoCheckDevice), Qt::LeftButton);
    EXPECT_GE(window->commandCount(), before + 1);
}

// Under a dark desktop the window keeps its light design: the new lines read dark on light.
TEST_F(WindowRoad, TheNewLinesStayReadableUnderADarkDesktop) {
    const QPalette desktop = QApplication::palette();
    QPalette dark(QColor(45, 45, 45));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Text, Qt::white);
    QApplication::setPalette(dark);
    std::filesystem::create_directories(device / "songs");
    PutDeviceList({{900001, 0, "Dancing Queen", "Abba", "", ""}});
    Open();
    QTest::mouseClick(Button(ControlId::AutoCheckDevice), Qt::LeftButton);
    Edit(ControlId::SearchBox)->setFocus();
    QTest::keyClicks(Edit(ControlId::SearchBox), "d");
    QTRY_COMPARE(qobject_cast<QLabel*>(window->control(ControlId::SearchHits))->text(), QStringLiteral("1 song"));
    for (ControlId id : {ControlId::SearchHits, ControlId::DeviceSummary}) {
        auto* label = qobject_cast<QLabel*>(window->control(id));
        EXPECT_LT(label->palette().color(QPalette::WindowText).lightness(), 80) << ControlName(id);
        EXPECT_FALSE(label->text().isEmpty()) << ControlName(id);
        EXPECT_FALSE(label->accessibleName().isEmpty()) << ControlName(id);
    }
    if (const char* pictures = std::getenv("SONGLOADER_TEST_PICTURES")) {
        window->grab().save(
            QString::fromStdString((std::filesystem::path(pictures) / "window-search-dark-desktop.png").string()));
        ProgressWindow progressWindow(window.get(), QStringLiteral("Download Progress"));
        progressWindow.setText(QStringLiteral("Now Download:Golden Road"));
        progressWindow.setBatchText(ProgressWindow::BatchLine({2, 12, 40u << 20, 160u << 20}, 5u << 20, 30.0));
        progressWindow.show();
        progressWindow.grab().save(
            QString::fromStdString((std::filesystem::path(pictures) / "progress-dark.png").string()));
    }
    QApplication::setPalette(desktop);
}

class CloudRoad : public WindowRoad {
protected:
    CloudRoad() {
        const Result<DemoFiles> files = MakeDemoFiles(dir.path() / "demo", 0, 20);
        EXPECT_TRUE(files.ok()) << files.message();
        server = std::make_unique<test::TestCloudServer>(files->cloudFolder);
        Open(server->baseUrl());
    }
    // "Cloud Songs", then ticks the first two rows with the mouse.
    void LoadAndTick() {
        QTest::mouseClick(Button(ControlId::AutoCheckDevice), Qt::LeftButton);
        QTest::mouseClick(Button(ControlId::CloudSongs), Qt::LeftButton);
        ASSERT_EQ(Rows(ControlId::WorkList), 20);
        for (int row : {0, 1}) ClickRow(row);
        script.seen.clear();
    }
    // A click on the check box of a work-list row.
    void ClickRow(int row) {
        auto* list = qobject_cast<QTableView*>(window->control(ControlId::WorkList));
        const QRect cell = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(cell.x() + 8, cell.center().y()));
    }
    std::unique_ptr<test::TestCloudServer> server;
};

TEST_F(CloudRoad, TickedCloudSongsAreDownloadedAndAdded) {
    LoadAndTick();
    QTest::mouseClick(Button(ControlId::AddToDevice), Qt::LeftButton);
    EXPECT_EQ(script.seen, Log{"Note|Added successfully"});
    EXPECT_EQ(Rows(ControlId::DeviceList), 2);
    EXPECT_TRUE(std::filesystem::exists(device / "songs" / "100" / "100001.mp4"));
    EXPECT_TRUE(std::filesystem::exists(device / "songs" / "100" / "100002.mp4"));

    // A song now on the device is marked so, its tick taken off; a click on it says so.
    script.seen.clear();
    EXPECT_FALSE(window->IsRowChecked(ControlId::WorkList, 0));
    EXPECT_TRUE(List(ControlId::WorkList)->songModel()->isOnDevice(0));
    if (const char* pictures = std::getenv("SONGLOADER_TEST_PICTURES")) {
        ClickRow(2);  // a tick beside the marks
        window->grab().save(QString::fromStdString((std::filesystem::path(pictures) / "window-marks.png").string()));
        ClickRow(2);
    }
    ClickRow(0);
    EXPECT_EQ(script.seen, Log{"Note|The song has been downloaded!"});
    EXPECT_FALSE(window->IsRowChecked(ControlId::WorkList, 0));
}

// The user's settings file is theirs: a download (which moves the progress window) leaves every
// byte of it as it was, comments and all.
TEST_F(CloudRoad, ADownloadLeavesTheUsersSettingsFileByteForByte) {
    const std::filesystem::path conf =
        std::filesystem::path(qgetenv("XDG_CONFIG_HOME").toStdString()) / "songloader" / "songloader.conf";
    std::filesystem::create_directories(conf.parent_path());
    const std::string bytes =
        "# my settings\n; an old-style comment\ncloud-url = http://x/a,b/;c=d\"e\"\n\n"
        "encoding = CP936\n# the end, no newline after this";
    std::ofstream(conf, std::ios::binary) << bytes;
    LoadAndTick();
    QTest::mouseClick(Button(ControlId::AddToDevice), Qt::LeftButton);
    ASSERT_EQ(script.seen, Log{"Note|Added successfully"});
    std::ifstream in(conf, std::ios::binary);
    const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(conf);
    EXPECT_EQ(after, bytes);
    EXPECT_TRUE(std::filesystem::exists(conf.parent_path() / "window-state.conf"));
}

TEST_F(CloudRoad, CancellingTheProgressWindowKeepsNothingAndEndsTheBatch) {
    test::PathBehaviour stall;
    stall.stallAfter = 1000;  // the first song hangs halfway
    server->SetBehaviour("100001.mp4", stall);
    LoadAndTick();
    script.cancelDownloads = true;
    QTest::mouseClick(Button(ControlId::AddToDevice), Qt::LeftButton);

    ASSERT_EQ(script.seen.size(), 2u);
    EXPECT_TRUE(script.seen[0].starts_with("cancel Now Download:")) << script.seen[0];
    // The cancelled song and the one not reached are both named.
    EXPECT_NE(script.seen[1].find("100001 Heart Golden: cancelled\n"), std::string::npos) << script.seen[1];
    EXPECT_TRUE(script.seen[1].ends_with("100002 Summer Road: not copied: the batch was stopped before it"))
        << script.seen[1];
    EXPECT_EQ(server->CountRequests("GET", "/100002.mp4"), 0u) << "the batch ends at the cancel";
    EXPECT_EQ(Rows(ControlId::DeviceList), 0);
    EXPECT_FALSE(std::filesystem::exists(device / "songs" / "100") &&
                 !std::filesystem::is_empty(device / "songs" / "100"))
        << "nothing partial is kept";
    EXPECT_TRUE(window->dialog().pendingCopies().empty());
}

}  // namespace
}  // namespace songloader::gui
