// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cstdlib>
#include <filesystem>

#include "gui/windows/preview_pages.h"
#include "gui/windows/print_preview_window.h"

namespace songloader::gui {
namespace {

SongList Songs(int count) {
    SongList songs;
    for (int i = 1; i <= count; ++i) {
        ROWELEMENT song;
        song.number = 900000 + i;
        song.title = "Song " + std::to_string(i);
        songs.push_back(song);
    }
    return songs;
}

QStringList Labels(const QToolBar& toolBar) {
    QStringList labels;
    for (const QAction* action : toolBar.actions()) labels << action->text();
    return labels;
}

// Runs `user` once the preview shows, then the preview to its end (closing it after 20 s at the
// latest, so a broken button cannot hang the test).
PreviewEnd RunWith(PrintPreviewWindow& window, const std::function<void()>& user) {
    QTimer::singleShot(0, &window, user);
    QTimer::singleShot(20000, &window, &QWidget::close);
    return window.Exec();
}

TEST(PrintPreviewWindow, ToolbarPagesThroughTheListAndEndsThePreview) {
    const SongList songs = Songs(85);
    PrintPreviewWindow window(3, print::SongListPageRenderer(songs, false, ""));
    EXPECT_EQ(window.windowTitle(), "Dudir Udade Preview");
    const QList<QAction*> buttons = window.toolBar()->actions();
    EXPECT_EQ(Labels(*window.toolBar()), (QStringList{"my(&P)...", "my PageDown(&N)", "PageUp(&V)", "Two Page",
                                                      "Zoom Out(&I)", "Zoom In(&O)", "Close(&C)"}));
    ASSERT_EQ(buttons.size(), 7);

    bool ran = false;
    const PreviewEnd end = RunWith(window, [&] {
        ran = true;
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        PreviewPages& preview = *window.previewWidget();
        EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
        EXPECT_EQ(preview.pageCount(), 3);
        EXPECT_EQ(window.currentPage(), 1);
        buttons[1]->trigger();
        EXPECT_EQ(window.currentPage(), 2);
        buttons[1]->trigger();
        buttons[1]->trigger();  // no page after the last
        EXPECT_EQ(window.currentPage(), 3);
        buttons[2]->trigger();
        EXPECT_EQ(window.currentPage(), 2);

        buttons[3]->trigger();
        // Saved for a person to look at only when asked (SONGLOADER_TEST_PICTURES=folder).
        if (std::getenv("SONGLOADER_TEST_PICTURES"))
            window.grab().save(QString::fromStdString(
                (std::filesystem::path(std::getenv("SONGLOADER_TEST_PICTURES")) / "print-preview.png").string()));
        EXPECT_TRUE(window.showsTwoPages());
        EXPECT_EQ(buttons[3]->text(), "One Page");
        EXPECT_TRUE(preview.facingPages());
        buttons[3]->trigger();
        EXPECT_EQ(buttons[3]->text(), "Two Page");

        const qreal zoom = preview.zoomFactor();
        buttons[4]->trigger();
        EXPECT_LT(preview.zoomFactor(), zoom);
        buttons[5]->trigger();
        buttons[5]->trigger();
        EXPECT_GT(preview.zoomFactor(), zoom);

        buttons[6]->trigger();
    });
    EXPECT_TRUE(ran);
    EXPECT_EQ(end, PreviewEnd::Closed);
    EXPECT_FALSE(window.isVisible());

    PrintPreviewWindow printing(3, print::SongListPageRenderer(songs, false, ""));
    EXPECT_EQ(RunWith(printing, [&] { printing.toolBar()->actions()[0]->trigger(); }), PreviewEnd::PrintChosen);
    EXPECT_FALSE(printing.isVisible());
}

// The buttons show their labels whole, mnemonics included, and the keyboard ends the preview.
TEST(PrintPreviewWindow, KeyboardReachesTheToolbarAndClosesThePreview) {
    const SongList songs = Songs(5);
    struct Case {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        PreviewEnd end;
    };
    const Case cases[] = {{"Alt+C", Qt::Key_C, Qt::AltModifier, PreviewEnd::Closed},
                          {"Escape", Qt::Key_Escape, Qt::NoModifier, PreviewEnd::Closed},
                          {"Alt+P", Qt::Key_P, Qt::AltModifier, PreviewEnd::PrintChosen}};
    for (const Case& c : cases) {
        PrintPreviewWindow window(1, print::SongListPageRenderer(songs, false, ""));
        QStringList shown;
        for (QAction* action : window.toolBar()->actions()) {
            auto* button = qobject_cast<QToolButton*>(window.toolBar()->widgetForAction(action));
            shown << (button ? button->text() : QString());
        }
        EXPECT_EQ(shown, (QStringList{"my(&P)...", "my PageDown(&N)", "PageUp(&V)", "Two Page", "Zoom Out(&I)",
                                      "Zoom In(&O)", "Close(&C)"}));
        const PreviewEnd end = RunWith(window, [&] {
            EXPECT_TRUE(QTest::qWaitForWindowActive(&window)) << c.name;
            QTest::keyClick(&window, c.key, c.modifiers);
        });
        EXPECT_EQ(end, c.end) << c.name;
        EXPECT_FALSE(window.isVisible()) << c.name;
    }
}

// A long list opens at once: only the pages in sight are drawn, and paging draws the next ones.
TEST(PrintPreviewWindow, DrawsOnlyThePagesInSight) {
    const SongList songs = Songs(65535);
    const int pages = print::HighestPage(songs.size());
    PrintPreviewWindow window(pages, print::SongListPageRenderer(songs, false, ""));
    bool painted = false;
    QObject::connect(window.previewWidget(), &PreviewPages::firstPagePainted, [&] { painted = true; });
    RunWith(window, [&] {
        PreviewPages& preview = *window.previewWidget();
        QTRY_VERIFY_WITH_TIMEOUT(painted, 5000);
        EXPECT_EQ(preview.pageCount(), 1639);
        EXPECT_GE(preview.renderedPages(), 1);
        EXPECT_LE(preview.renderedPages(), 4);
        window.toolBar()->actions()[1]->trigger();
        window.toolBar()->actions()[1]->trigger();
        QApplication::processEvents();
        EXPECT_EQ(window.currentPage(), 3);
        preview.setCurrentPage(1639);
        QApplication::processEvents();
        EXPECT_EQ(window.currentPage(), 1639);
        EXPECT_LE(preview.renderedPages(), 12);
        if (std::getenv("SONGLOADER_TEST_PICTURES"))
            window.grab().save(QString::fromStdString(
                (std::filesystem::path(std::getenv("SONGLOADER_TEST_PICTURES")) / "print-preview-last.png").string()));
        window.close();
    });
}

}  // namespace
}  // namespace songloader::gui
