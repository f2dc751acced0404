// SPDX-License-Identifier: GPL-3.0-or-later
// The window's figures: start to first painted window, a 65,535-song device read into the device
// list and painted, per-page scroll frames of that list, peak RSS. Offscreen:
//   QT_QPA_PLATFORM=offscreen build/bench/bench_gui_window
#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

#include "core/cloud/curl_library.h"
#include "core/device/device_layout.h"
#include "gui/demo/demo_setup.h"
#include "gui/main_window.h"
#include "support/list_file_bytes.h"
#include "support/temp_dir.h"

namespace {

class FirstPaint : public QObject {
public:
    qint64 at = -1;
    const QElapsedTimer* clock = nullptr;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && at < 0) at = clock->nsecsElapsed();
        return false;
    }
};

// Letters only: the song list builder takes no digits in names.
std::string Letters(int value) {
    std::string text;
    do {
        text += static_cast<char>('a' + value % 26);
        value /= 26;
    } while (value > 0);
    return text;
}

double Ms(qint64 ns) { return static_cast<double>(ns) / 1e6; }

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const songloader::CurlLibrary curl;
    QApplication app(argc, argv);

    QTemporaryDir folder;
    const std::filesystem::path root = folder.path().toStdString();
    songloader::gui::DemoDriveSystem drives(root);
    songloader::DownloadProgress progress;
    const songloader::CloudClient cloud("http://127.0.0.1:9/", progress);
    songloader::gui::MainWindow window(drives, cloud, {});
    FirstPaint firstPaint;
    firstPaint.clock = &clock;
    window.installEventFilter(&firstPaint);
    window.show();
    while (firstPaint.at < 0) QCoreApplication::processEvents();
    std::printf("start to first painted window: %.1f ms (target < 500)\n", Ms(firstPaint.at));

    // A device of 65,535 songs (its list file alone: the window reads nothing else).
    std::vector<songloader::test::ListEntry> entries;
    for (int i = 0; i < 65535; ++i) {
        entries.push_back({static_cast<std::uint32_t>(100000 + i), static_cast<std::uint8_t>(i % 16),
                           "Song " + Letters(i), "Artist " + Letters(i % 500), "Composer", "Lyricist"});
    }
    const auto songFolder = songloader::SongFolderOf(root);
    (void)songloader::EnsureSongFolder(songFolder);
    songloader::test::WriteBytes(songFolder / "SgList.dat", songloader::test::MakeListFileBytes(entries));
    auto* list = qobject_cast<QTableView*>(window.control(songloader::ControlId::DeviceList));
    QElapsedTimer read;
    read.start();
    window.dialog().OnAutoCheckDevice();
    window.repaint();
    list->viewport()->repaint();
    std::printf("65,535-song device read and painted: %.1f ms (target < 1000), rows %d\n", Ms(read.nsecsElapsed()),
                list->model()->rowCount());

    QScrollBar* bar = list->verticalScrollBar();
    qint64 worst = 0;
    qint64 total = 0;
    int frames = 0;
    for (int value = 0; value <= bar->maximum(); value += bar->pageStep()) {
        QElapsedTimer frame;
        frame.start();
        bar->setValue(value);
        list->viewport()->repaint();
        const qint64 spent = frame.nsecsElapsed();
        worst = std::max(worst, spent);
        total += spent;
        ++frames;
    }
    std::printf("scroll by page: %d frames, mean %.2f ms, worst %.2f ms (target <= 16)\n", frames,
                Ms(total / std::max(frames, 1)), Ms(worst));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak RSS: %.1f MB (target < 150)\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}
