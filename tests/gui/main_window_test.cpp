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
#include "gui/controls/skinned_list_view.h"
#include "gui/demo/demo_setup.h"
#include "gui/main_window.h"
#include "gui/windows/progress_window.h"
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
    WindowRoad() : device(dir.path() / "stick"), drives(device) {
        std::filesystem::create_directories(device);
    }
    void Open(const std::string& cloudUrl = "http://127.0.0.1:9/") {
        client = std::make_unique<CloudClient>(cloudUrl, progress);
        window = std::make_unique<MainWindow>(drives, *client, DialogSettings{});
        window->show();
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
        ControlId::SongFolderText, ControlId::AutoCheckDevice, ControlId::Number, ControlId::Title,
        ControlId::Artist, ControlId::Composer, ControlId::Lyricist, ControlId::MediaPath, ControlId::Browse,
        ControlId::WorkList, ControlId::DeviceList, ControlId::QueueToAdd, ControlId::ClearFields,
        ControlId::AddToDevice, ControlId::Revise, ControlId::Progress, ControlId::EntryLanguage, ControlId::Print,
        ControlId::PrintPreview, ControlId::ExportSongList, ControlId::SelectDevice, ControlId::AutoGenerate,
        ControlId::CloudSongs, ControlId::SelectAll, ControlId::CloudMidi, ControlId::SearchBox,
        ControlId::SearchLanguage, ControlId::EjectDevice};
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
            window->grab().save(QString::fromStdString((std::filesystem::path(pictures) / "window-batch-stop.png").string()));
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
    script.answers = {QMessageBox::No};
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(Rows(ControlId::WorkList), 1);
    EXPECT_EQ(script.seen, question);
    script.seen.clear();
    script.answers = {QMessageBox::Yes};
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(script.seen, question);
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

    // The box of a song now on the device stays ticked, and says so once per click.
    script.seen.clear();
    ClickRow(0);
    EXPECT_EQ(script.seen, Log{"Note|The song has been downloaded!"});
    EXPECT_TRUE(window->IsRowChecked(ControlId::WorkList, 0));
}

// The user's settings file is theirs: a download (which moves the progress window) leaves every
// byte of it as it was, comments and all.
TEST_F(CloudRoad, ADownloadLeavesTheUsersSettingsFileByteForByte) {
    const std::filesystem::path conf = std::filesystem::path(qgetenv("XDG_CONFIG_HOME").toStdString()) /
                                       "songloader" / "songloader.conf";
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
