// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>

#include "gui/controls/skinned_list_view.h"

namespace songloader::gui {
namespace {

TEST(SkinnedListView, GuardRefusesToggleByMouseAndSpace) {
    SkinnedListView list;
    list.resize(400, 200);
    SongListModel* model = list.songModel();
    for (int row = 0; row < 3; ++row) model->insertSongRow(row, {std::to_string(900000 + row), "EN", "T", "", "", ""});
    list.show();
    QCoreApplication::processEvents();

    // Without check boxes a click changes nothing.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(list.proxy()->index(0, 2)).center());
    EXPECT_FALSE(model->isRowChecked(0));

    model->setCheckBoxesShown(true);
    std::vector<int> asked;
    list.setCheckGuard([&](int row) {
        asked.push_back(row);
        return row != 1;
    });
    QSignalSpy clicks(&list, &SkinnedListView::rowClicked);

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.checkBoxRect(1).center());
    EXPECT_FALSE(model->isRowChecked(1)) << "refused by mouse";
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.checkBoxRect(0).center());
    EXPECT_TRUE(model->isRowChecked(0));
    ASSERT_EQ(clicks.count(), 2);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 1);
    EXPECT_TRUE(clicks.at(0).at(1).toBool()) << "reported as a check-box click";

    list.selectAndFocusRow(1);
    QTest::keyClick(&list, Qt::Key_Space);
    EXPECT_FALSE(model->isRowChecked(1)) << "refused by Space";
    list.selectAndFocusRow(2);
    QTest::keyClick(&list, Qt::Key_Space);
    EXPECT_TRUE(model->isRowChecked(2));
    EXPECT_EQ(asked, (std::vector<int>{1, 0, 1, 2}));
}

TEST(SongListModel, FillingWithRedrawOffIsOneReset) {
    SkinnedListView list;
    SongListModel* model = list.songModel();
    model->insertSongRow(0, {"900000", "EN", "old", "", "", ""});
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(model, &QAbstractItemModel::rowsInserted);
    QSignalSpy changes(model, &QAbstractItemModel::dataChanged);

    list.setRedraw(false);
    model->removeAllRows();
    for (int row = 0; row < 65535; ++row) {
        model->insertSongRow(row, {std::to_string(row), "EN", "Title", "Artist", "", ""});
        if (row % 2 == 0) model->setRowChecked(row, true);
    }
    list.markRows({65000});
    EXPECT_EQ(model->rowCount(), 1) << "views keep what they knew until redraw is on";
    list.setRedraw(true);

    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(inserts.count(), 0);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(model->rowCount(), 65535);
    EXPECT_EQ(model->index(65534, 0).data().toString(), QStringLiteral("65534"));
    EXPECT_TRUE(model->isRowChecked(65534));
    EXPECT_EQ(list.currentIndex().row(), 65000) << "a row chosen meanwhile is selected afterwards";
}

}  // namespace
}  // namespace songloader::gui
