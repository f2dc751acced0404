// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "gui/windows/progress_window.h"

namespace songloader::gui {
namespace {

TEST(ProgressWindow, CaptionChangesOnlyWithTheWholePercent) {
    ProgressWindow window(nullptr, QStringLiteral("Download Progress"));
    window.setRange(0, 0);
    window.setPos(5);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Download Progress")) << "an empty range keeps the title";

    window.setRange(0, 100000);
    QSignalSpy titles(&window, &QWidget::windowTitleChanged);
    for (int step = 0; step < 1000; ++step) window.stepIt();
    EXPECT_EQ(titles.count(), 1);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Download Progress [1%]"));

    window.setRange(0, 2000000000);
    window.setPos(1999999999);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Download Progress [99%]")) << "no overflow";

    window.setText(QString(600, QLatin1Char('a')));
    EXPECT_EQ(window.text().size(), 511);
    EXPECT_EQ(window.width(), ProgressWindow::kWidth + 20);
}

// A download of a batch says which song of how many, the batch's bytes and the time left.
TEST(ProgressWindow, TheBatchLine) {
    constexpr std::uint64_t kMiB = 1 << 20;
    const struct {
        TransferBatch batch;
        std::uint64_t received;
        double elapsed;
        const char* line;
    } cases[] = {
        {{2, 5, 10 * kMiB, 40 * kMiB}, 0, 10.0, "Song 2 of 5 - 10 MiB of 40 MiB - about 30 s left"},
        {{2, 5, 10 * kMiB, 40 * kMiB}, 0, 40.0, "Song 2 of 5 - 10 MiB of 40 MiB - about 2 min left"},
        {{1, 3, 0, 40 * kMiB}, kMiB, 1.0, "Song 1 of 3 - 1.0 MiB of 40 MiB"},  // too early to tell
        {{3, 3, 0, 0}, kMiB, 9.0, "Song 3 of 3"},                              // sizes not known
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgressWindow::BatchLine(c.batch, c.received, c.elapsed).toStdString(), c.line);

    ProgressWindow window(nullptr, QStringLiteral("Download Progress"));
    const int plainHeight = window.height();
    window.setBatchText(QStringLiteral("Song 1 of 2"));
    EXPECT_GT(window.height(), plainHeight) << "room for the batch's line";
    EXPECT_EQ(window.batchText(), QStringLiteral("Song 1 of 2"));
}

TEST(ProgressWindow, ReusesStoredPlaceOrCentres) {
    // The window's own state file, beside the user's songloader.conf.
    QSettings settings(QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) + "/songloader/window-state.conf",
                       QSettings::IniFormat);
    {
        ProgressWindow window(nullptr, QStringLiteral("Download Progress"));
        window.show();
        window.move(100, 50);
        window.hide();
    }
    settings.sync();
    EXPECT_EQ(settings.value("Settings/X").toInt(), 100);
    EXPECT_EQ(settings.value("Settings/Y").toInt(), 50);
    EXPECT_EQ(ProgressWindow(nullptr, QStringLiteral("t")).pos(), QPoint(100, 50));

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    for (const QPoint stored : {QPoint(-1, -1), QPoint(screen.right() + 100, 10), QPoint(10, screen.bottom() + 1)}) {
        settings.setValue("Settings/X", stored.x());
        settings.setValue("Settings/Y", stored.y());
        settings.sync();
        ProgressWindow window(nullptr, QStringLiteral("t"));
        EXPECT_EQ(window.geometry().center(), screen.center()) << stored.x() << "," << stored.y();
    }
}

// A transfer that feeds the progress state until it is asked to stop or has sent everything.
DownloadResult FakeTransfer(DownloadProgress& progress, std::atomic<bool>& ended, int chunks) {
    Downloaded done{200, 0};
    for (int chunk = 0; chunk < chunks; ++chunk) {
        if (progress.cancelRequested.load()) {
            ended = true;
            return FailDownload(DownloadStatus::Cancelled, {}, done.httpStatus, done.bytes);
        }
        progress.receivedBytes += BYTES_PER_STEP;
        done.bytes += BYTES_PER_STEP;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ended = true;
    return done;
}

ProgressWindow* ShownProgressWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<ProgressWindow*>(widget); window && window->isVisible()) return window;
    return nullptr;
}

TEST(RunTransferWithProgressWindow, ReturnsWhenTheWorkerHasEnded) {
    DownloadProgress progress;
    progress.progressSteps = 40;
    std::atomic<bool> ended{false};
    QString caption;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (ProgressWindow* window = ShownProgressWindow()) caption = window->windowTitle();
    });
    look.start(10);
    const DownloadResult outcome = RunTransferWithProgressWindow(
        nullptr, [&] { return FakeTransfer(progress, ended, 40); }, progress, "song.mp4");
    EXPECT_TRUE(ended.load());
    EXPECT_TRUE(outcome.ok()) << outcome.message();
    EXPECT_TRUE(caption.startsWith(QStringLiteral("Download Progress ["))) << caption.toStdString();
    EXPECT_EQ(ShownProgressWindow(), nullptr);
}

TEST(RunTransferWithProgressWindow, CancelButtonStopsTheTransfer) {
    DownloadProgress progress;
    progress.progressSteps = 100000;
    std::atomic<bool> ended{false};
    QString text;
    QTimer::singleShot(100, [&] {
        ProgressWindow* window = ShownProgressWindow();
        ASSERT_NE(window, nullptr);
        text = window->text();
        window->findChild<QPushButton*>()->click();
    });
    const DownloadResult outcome = RunTransferWithProgressWindow(
        nullptr, [&] { return FakeTransfer(progress, ended, 100000); }, progress, "歌.mp4");
    EXPECT_TRUE(ended.load());
    ASSERT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.failure().status, DownloadStatus::Cancelled);
    EXPECT_EQ(text, QStringLiteral("Now Download:歌.mp4"));
}

}  // namespace
}  // namespace songloader::gui
