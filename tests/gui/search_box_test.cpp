// SPDX-License-Identifier: GPL-3.0-or-later
// Typing into the real window's search box with thousands of hits, many of them on the device.
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "core/cloud/cloud_client.h"
#include "core/cloud/curl_library.h"
#include "gui/controls/skinned_list_view.h"
#include "gui/demo/demo_setup.h"
#include "gui/main_window.h"
#include "support/cloud_catalogue_fixture.h"
#include "support/list_file_bytes.h"
#include "support/temp_dir.h"
#include "support/test_cloud_server.h"

namespace songloader::gui {
namespace {

constexpr int kCloudSongs = 3000;
constexpr int kLoveSongs = 1200;    // titles with "love"
constexpr int kDeviceSongs = 2000;  // the first cloud songs

std::string Title(int i) { return (i < kLoveSongs ? "Love song " : "Other song ") + std::to_string(i); }

int accessibilityEvents = 0;
void CountEvent(QAccessibleEvent*) { ++accessibilityEvents; }

class SearchBox : public ::testing::Test {
protected:
    SearchBox() : device(dir.path() / "stick"), drives(device) {
        const auto cloudFolder = dir.path() / "cloud";
        std::filesystem::create_directories(cloudFolder);
        std::filesystem::create_directories(device / "songs");
        std::vector<test::ListEntry> entries;
        std::vector<test::CatalogueSong> catalogue;
        for (int i = 0; i < kCloudSongs; ++i) {
            entries.push_back({static_cast<std::uint32_t>(100000 + i), 0, Title(i), "Singer", "", ""});
            catalogue.push_back({100000 + i, 0, Title(i), "Singer"});
        }
        test::WriteBytes(cloudFolder / "MgList.dat", test::MakeListFileBytes(entries));
        test::WriteCloudCatalogue(cloudFolder / "Msong.db", catalogue);
        entries.resize(kDeviceSongs);
        test::WriteBytes(device / "songs" / "SgList.dat", test::MakeListFileBytes(entries));
        server = std::make_unique<test::TestCloudServer>(cloudFolder);
        client = std::make_unique<CloudClient>(server->baseUrl(), progress);
        window = std::make_unique<MainWindow>(drives, *client, DialogSettings{});
        // Any message box is answered at once (a failure shows in the rows below).
        QObject::connect(&boxes, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
        });
        boxes.start(10);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        Click(ControlId::AutoCheckDevice);
        Click(ControlId::CloudSongs);
    }
    ~SearchBox() override { QAccessible::setActive(false); }
    void Click(ControlId id) { QTest::mouseClick(qobject_cast<QAbstractButton*>(window->control(id)), Qt::LeftButton); }
    SkinnedListView* WorkList() { return qobject_cast<SkinnedListView*>(window->control(ControlId::WorkList)); }
    QLineEdit* Box() { return qobject_cast<QLineEdit*>(window->control(ControlId::SearchBox)); }
    // Rows marked as songs already on the device (never ticked for it).
    int MarkedOnDevice() {
        const auto* list = qobject_cast<SkinnedListView*>(window->control(ControlId::WorkList));
        int count = 0;
        for (int row = 0; row < list->songModel()->songRowCount(); ++row) {
            count += list->songModel()->isOnDevice(row);
            EXPECT_FALSE(window->IsRowChecked(ControlId::WorkList, row));
        }
        return count;
    }
    // Clicks into the box and types `text` a key at a time, letting the window work between keys.
    // Keys go where the window's keyboard focus is, as typed keys do.
    void TypeSlowly(const QString& text) {
        // The message box of "Cloud Songs" has come and gone: the window is the active one again.
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QTest::mouseClick(Box(), Qt::LeftButton);
        Box()->setFocus(Qt::MouseFocusReason);
        for (const QChar letter : text) {
            QTest::keyClick(window->focusWidget(), letter.toLatin1());
            QTest::qWait(20);
        }
    }

    const CurlLibrary curl;
    test::TempDir dir;
    std::filesystem::path device;
    DemoDriveSystem drives;
    DownloadProgress progress;
    std::unique_ptr<test::TestCloudServer> server;
    std::unique_ptr<CloudClient> client;
    std::unique_ptr<MainWindow> window;
    QTimer boxes;
};

TEST_F(SearchBox, TypingKeepsTheFocusAndEveryLetter) {
    ASSERT_EQ(WorkList()->model()->rowCount(), kCloudSongs);
    TypeSlowly("love");
    EXPECT_EQ(Box()->text(), "love");
    EXPECT_TRUE(Box()->hasFocus()) << "marking hits leaves the keyboard where the user types";
    EXPECT_EQ(WorkList()->model()->rowCount(), kLoveSongs);
    EXPECT_EQ(MarkedOnDevice(), kLoveSongs) << "every hit on the device is marked";
    EXPECT_EQ(WorkList()->currentIndex().row(), kLoveSongs - 1) << "the last of them selected";
}

TEST_F(SearchBox, TheHitsArriveAsOneChange) {
    TypeSlowly("o");
    QSignalSpy resets(WorkList()->model(), &QAbstractItemModel::modelReset);
    QSignalSpy inserts(WorkList()->model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy changes(WorkList()->model(), &QAbstractItemModel::dataChanged);
    QSignalSpy selections(WorkList()->selectionModel(), &QItemSelectionModel::selectionChanged);
    QTest::keyClick(window->focusWidget(), Qt::Key_Backspace);
    QTest::keyClicks(window->focusWidget(), "lov");  // keys that pile up: one search for the last text
    QTRY_COMPARE(resets.count(), 1);
    QTest::qWait(20);
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(inserts.count(), 0);
    EXPECT_LE(changes.count(), 1) << "the ticks of all the hits are one change";
    // What the accessibility layer announces follows these signals (a reset, a change, a selection).
    EXPECT_EQ(selections.count(), 1);
    EXPECT_EQ(WorkList()->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(WorkList()->model()->rowCount(), kLoveSongs);
}

// Needs a platform with an accessibility layer (a desktop session); offscreen has none.
TEST_F(SearchBox, TheAccessibilityLayerHearsOneChangeNotOnePerRow) {
    QAccessible::setActive(true);
    if (!QAccessible::isActive()) GTEST_SKIP() << "no accessibility layer on this platform";
    TypeSlowly("s");  // every song: all the device songs are marked
    accessibilityEvents = 0;
    const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(CountEvent);
    QTest::keyClick(window->focusWidget(), Qt::Key_Backspace);
    QTest::keyClick(window->focusWidget(), 'l');
    QTest::qWait(50);
    QAccessible::installUpdateHandler(previous);
    EXPECT_EQ(WorkList()->model()->rowCount(), kLoveSongs);
    EXPECT_EQ(MarkedOnDevice(), kLoveSongs);
    EXPECT_LT(accessibilityEvents, 60) << "events for " << kLoveSongs << " hits";
}

}  // namespace
}  // namespace songloader::gui
