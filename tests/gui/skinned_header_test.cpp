// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "gui/controls/skinned_header.h"
#include "gui/controls/skinned_list_view.h"

namespace songloader::gui {
namespace {

TEST(SkinnedHeader, GradientLinesAndHeight) {
    SkinnedListView list;
    list.resize(400, 200);
    for (int column = 0; column < 6; ++column) list.setColumn(column, QStringLiteral("Title"), Qt::AlignLeft, 40);
    list.show();
    QCoreApplication::processEvents();
    SkinnedHeader* header = list.skinnedHeader();
    ASSERT_GE(header->height(), 22) << "tall enough to reach black";
    EXPECT_EQ(SkinnedHeader::ScaledHeight(20), 24);

    const QImage image = header->grab().toImage();
    const int pastColumns = 6 * 40 + 20;  // the area after the last column
    const int inColumn = 40 + 35;         // inside the second column, clear of its title
    const struct { int line, level; } lines[] = {{0, 166}, {1, 158}, {20, 6}, {21, 0}};
    for (const int x : {pastColumns, inColumn}) {
        for (const auto& expected : lines)
            EXPECT_EQ(image.pixelColor(x, expected.line), QColor(expected.level, expected.level, expected.level))
                << "x " << x << " line " << expected.line;
        EXPECT_EQ(image.pixelColor(x, image.height() - 1), QColor(0, 0, 0)) << "stays black below";
    }
}

}  // namespace
}  // namespace songloader::gui
