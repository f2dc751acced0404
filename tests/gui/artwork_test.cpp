// SPDX-License-Identifier: GPL-3.0-or-later
#include <QPixmap>
#include <gtest/gtest.h>

#include "gui/artwork.h"

namespace songloader::gui {
namespace {

TEST(Artwork, EveryButtonImageIsEmbeddedAtItsButtonSize) {
    struct Case {
        int pngId;
        QSize size;
    };
    const Case cases[] = {{193, {116, 33}}, {194, {138, 33}}, {195, {98, 33}},  {196, {98, 33}},
                          {197, {85, 31}},  {198, {87, 33}},  {199, {87, 33}},  {200, {87, 33}},
                          {201, {109, 33}}, {202, {87, 33}},  {203, {87, 33}},  {204, {87, 33}},
                          {205, {87, 33}},  {206, {87, 33}},  {207, {103, 33}}, {208, {116, 33}}};
    for (const Case& c : cases) EXPECT_EQ(ButtonImage(c.pngId).size(), c.size) << c.pngId;
    EXPECT_TRUE(ButtonImage(192).isNull());
    EXPECT_TRUE(ButtonImage(209).isNull());
}

TEST(Artwork, ApplicationIconHasItsThreeSizes) {
    const QList<QSize> sizes = ApplicationIcon().availableSizes();
    for (int px : {48, 128, 256}) EXPECT_TRUE(sizes.contains(QSize(px, px))) << px;
}

}  // namespace
}  // namespace songloader::gui
