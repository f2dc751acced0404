// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <filesystem>

#include "core/output/print/song_list_pages.h"
#include "qtpaint/qt_device_context.h"

namespace songloader::qtpaint {
namespace {

using namespace print;

constexpr int kDpi = 300;

// Page 1 of the list on a white A4 sheet of 300 dots an inch. `scale` > 1 renders the page at that
// many times the resolution and shrinks it onto the sheet, as a preview shows a printer's page.
QImage RenderA4(const SongList& songs, bool thai, int scale) {
    QImage image(2480, 3508, QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(kDpi * scale / 0.0254 + 0.5));
    image.setDotsPerMeterY(static_cast<int>(kDpi * scale / 0.0254 + 0.5));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(1.0 / scale, 1.0 / scale);
    QtDeviceContext dc(painter, kOrientationPortrait);
    PrintInfo info;
    info.drawRect = {0, 0, image.width() * scale, image.height() * scale};
    RenderSongListPage(dc, info, songs, thai);
    return image;
}

bool IsDark(QRgb pixel) { return qGray(pixel) < 128; }

// Thai titles stand taller than the row's text line; neither they nor Latin ones may paint over
// the table's lines, on a Thai system or another.
TEST(SongListPagePixels, CellTextNeverErasesAGridLine) {
    SongList songs;
    const char* titles[] = {
        "\xE0\xB8\xA3\xE0\xB8\xB1\xE0\xB8\x81\xE0\xB9\x80\xE0\xB8\x98\xE0\xB8\xAD\xE0\xB9\x80"
        "\xE0\xB8\xAA\xE0\xB8\xA1\xE0\xB8\xAD\xE0\xB8\x8D\xE0\xB8\xB1\xE0\xB9\x89\xE0\xB8\x99\xE0"
        "\xB8\x97\xE0\xB8\xB5\xE0\xB9\x88\xE0\xB8\xA3\xE0\xB8\xB1\xE0\xB8\x81",
        "Gypsy Jig"};
    for (int i = 0; i < 40; ++i) {
        ROWELEMENT song;
        song.number = 900001 + i;
        song.title = titles[i % 2];
        song.artist = titles[(i + 1) % 2];
        songs.push_back(song);
    }
    for (int scale : {1, 2, 4})
        for (bool thai : {false, true}) {
            SCOPED_TRACE(std::string(thai ? "Thai system" : "other system") + " at scale " + std::to_string(scale));
            const QImage lines = RenderA4({}, thai, scale);
            const QImage filled = RenderA4(songs, thai, scale);
            // Saved for a person to look at only when asked (SONGLOADER_TEST_PICTURES=folder).
            if (thai && scale == 4 && std::getenv("SONGLOADER_TEST_PICTURES"))
                filled.copy(0, 200, 1400, 700)
                    .save(QString::fromStdString(
                        (std::filesystem::path(std::getenv("SONGLOADER_TEST_PICTURES")) / "thai-rows-300dpi.png")
                            .string()));
            int lineDots = 0, erased = 0;
            for (int y = 0; y < lines.height(); ++y) {
                for (int x = 0; x < lines.width(); ++x) {
                    if (!IsDark(lines.pixel(x, y))) continue;
                    ++lineDots;
                    if (!IsDark(filled.pixel(x, y))) ++erased;
                }
            }
            EXPECT_GT(lineDots, 5000) << lineDots;  // the grid was drawn at all
            EXPECT_EQ(erased, 0);
        }
}

}  // namespace
}  // namespace songloader::qtpaint
