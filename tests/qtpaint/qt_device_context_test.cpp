// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QPainter>

#include "core/output/print/page.h"
#include "core/output/print/song_list_pages.h"
#include "qtpaint/font_mapping.h"
#include "qtpaint/qt_device_context.h"

namespace songloader::qtpaint {
namespace {

using namespace print;

constexpr int kDpi = 100;

// A white image of 8.5 x 11 inches at 100 dpi, so page units are image pixels.
QImage WhitePage(int width = 850, int height = 1100) {
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(kDpi / 0.0254 + 0.5));
    image.setDotsPerMeterY(static_cast<int>(kDpi / 0.0254 + 0.5));
    image.fill(Qt::white);
    return image;
}

bool IsDark(QRgb pixel) { return qGray(pixel) < 128; }

int DarkPixels(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (IsDark(image.pixel(x, y))) ++count;
    return count;
}

TEST(FontMapping, PageFacesResolveToInstalledFamilies) {
    const QStringList installed = QFontDatabase::families();
    for (const char* face : {"Times New Roman", "Courier New", "System"}) {
        SCOPED_TRACE(face);
        QString family = ResolveFamily(face);
        EXPECT_TRUE(installed.contains(family, Qt::CaseInsensitive)) << family.toStdString();
        EXPECT_TRUE(FamilyCandidates(face).contains(family));
    }
    EXPECT_EQ(ResolveFamily("No Such Face Anywhere"), "No Such Face Anywhere");
}

TEST(FontMapping, CourierNewIsFixedPitchAndTheAttributesCarryOver) {
    LogFont font;
    font.faceName = "Courier New";
    font.height = -40;
    font.weight = 700;
    font.italic = true;
    font.underline = true;
    QFont qfont = MakeFont(font);
    QFontInfo info(qfont);
    EXPECT_TRUE(info.fixedPitch()) << info.family().toStdString();
    EXPECT_EQ(qfont.pixelSize(), 40);
    EXPECT_EQ(qfont.weight(), QFont::Bold);
    EXPECT_TRUE(qfont.italic());
    EXPECT_TRUE(qfont.underline());
    font.faceName = "Times New Roman";
    EXPECT_FALSE(QFontInfo(MakeFont(font)).fixedPitch());
}

TEST(QtDeviceContext, ReportsTheDeviceResolution) {
    QImage image = WhitePage();
    QPainter painter(&image);
    QtDeviceContext dc(painter, kOrientationPortrait);
    EXPECT_EQ(dc.GetDeviceCaps(kCapLogPixelsX), kDpi);
    EXPECT_EQ(dc.GetDeviceCaps(kCapLogPixelsY), kDpi);
    EXPECT_EQ(dc.GetDeviceCaps(kCapHorzRes), 850);
    EXPECT_EQ(dc.PrinterOrientation(), kOrientationPortrait);
}

TEST(QtDeviceContext, BoxesFillWithTheirBrushAndLinesFollowTheOffset) {
    QImage image = WhitePage();
    {
        QPainter painter(&image);
        QtDeviceContext dc(painter, kOrientationPortrait);
        CPage page(0, 0, 850, 1100, dc);  // 8.5 inches: offset 25 pixels
        ASSERT_EQ(page.State().offset, 25);
        page.Box(100, 100, 200, 300, 1, kFillBlack, 0);
        page.Box(300, 100, 400, 300, 1, kFillLightGray, 0);
        page.Line(600, 0, 600, 800, 3, 0);
    }
    EXPECT_EQ(image.pixel(200, 150), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(200, 350), qRgb(192, 192, 192));
    EXPECT_EQ(image.pixel(130, 150), qRgb(0, 0, 0));  // the box starts at 100 + 25
    EXPECT_EQ(image.pixel(120, 150), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(330, 150), qRgb(255, 255, 255));
    EXPECT_TRUE(IsDark(image.pixel(400, 600)));
    EXPECT_FALSE(IsDark(image.pixel(15, 600)));
    EXPECT_FALSE(IsDark(image.pixel(400, 610)));
}

TEST(QtDeviceContext, TextLandsInItsRectangleAndIsMeasured) {
    QImage image = WhitePage();
    int next = 0;
    int column = 0;
    {
        QPainter painter(&image);
        QtDeviceContext dc(painter);
        CPage page(0, 0, 800, 1100, dc);
        next = page.Print(100, 100, 0x20u, 24, "%s", "Measured text");
        column = page.GetNextColumn();
        // Clipped text stays in its box.
        page.PrintBox(500, 100, 540, 160, 0x200u, 24, std::string("WWWWWWWWWWWWWWW"));
    }
    // 24 points at 100 dpi: a line of about 33 pixels.
    EXPECT_GT(next, 100 + 25);
    EXPECT_LT(next, 100 + 50);
    EXPECT_GT(column, 100 + 100);
    EXPECT_LT(column, 800);
    EXPECT_GT(DarkPixels(image, QRect(100, 100, column - 100, next - 100)), 50);
    EXPECT_EQ(DarkPixels(image, QRect(column + 2, 95, 200, 60)), 0);
    EXPECT_GT(DarkPixels(image, QRect(100, 500, 60, 40)), 50);
    EXPECT_EQ(DarkPixels(image, QRect(162, 495, 300, 50)), 0);
}

TEST(QtDeviceContext, BitmapsAreStretchedIntoTheDestination) {
    // 2 x 2, 24 bits, bottom-up: the bottom row is red, blue; the top row green, white.
    Dib dib;
    dib.header.width = 2;
    dib.header.height = 2;
    dib.header.bitCount = 24;
    dib.bits = {0, 0, 255, 255, 0, 0, 0, 0, 0, 255, 0, 255, 255, 255, 0, 0};
    QImage image = WhitePage();
    {
        QPainter painter(&image);
        QtDeviceContext dc(painter);
        EXPECT_EQ(dc.StretchDIBits({100, 100, 300, 300}, {0, 0, 2, 2}, dib, kRopSourceCopy), 2);
        Dib compressed = dib;
        compressed.header.compression = 1;
        EXPECT_EQ(dc.StretchDIBits({400, 100, 500, 200}, {0, 0, 2, 2}, compressed, kRopSourceCopy), 0);
    }
    EXPECT_EQ(image.pixel(150, 150), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(250, 150), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(150, 250), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(250, 250), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(450, 150), qRgb(255, 255, 255));
}

TEST(QtDeviceContext, SongListPageDrawsHeaderBandRuleAndRows) {
    SongList songs;
    for (int i = 0; i < 3; ++i) {
        ROWELEMENT song;
        song.number = 900001 + i;
        song.title = "Song title " + std::to_string(i);
        song.artist = "Singer";
        songs.push_back(song);
    }
    QImage image = WhitePage();
    PrintInfo info;
    info.drawRect = {0, 0, 850, 1100};
    {
        QPainter painter(&image);
        QtDeviceContext dc(painter, kOrientationPortrait);
        RenderSongListPage(dc, info, songs, false);
    }
    const int offset = 25;
    // The rule 0.6 inch down.
    EXPECT_TRUE(IsDark(image.pixel(offset + 400, 60)));
    // The header band (0.8 to 1.05 inches) is light grey between its texts.
    EXPECT_EQ(image.pixel(offset + 40, 81), qRgb(192, 192, 192));
    EXPECT_EQ(image.pixel(offset + 785, 81), qRgb(192, 192, 192));
    // The first row holds text; the tenth row is only its box.
    EXPECT_GT(DarkPixels(image, QRect(offset + 2, 106, 76, 23)), 20);
    EXPECT_GT(DarkPixels(image, QRect(offset + 82, 106, 300, 23)), 20);
    EXPECT_EQ(DarkPixels(image, QRect(offset + 2, 106 + 9 * 24 + 2, 76, 20)), 0);
    EXPECT_FALSE(info.continuePrinting);
}

}  // namespace
}  // namespace songloader::qtpaint
