// SPDX-License-Identifier: GPL-3.0-or-later
// The window's figures, measured in the real window (offscreen) as a user meets them, one
// "name value" line each (milliseconds, MB, or a text):
//   bench_gui_window open
//     start to first painted window, a 65,535-song device read and painted, scrolling it by page.
//   bench_gui_window window WORK URL [--a11y]
//     both lists filled (WORK/big as the device, the cloud at URL): RSS; then keys sent to the
//     search box: one letter with 21,000 and with 44,535 hits, key press to the list painted, and
//     "love" typed at 10 keys a second. --a11y: with the accessibility layer active.
//   bench_gui_window preview WORK
//     the 65,535-song device WORK/list: the click on "Print Preview" to its first page painted,
//     and the peak RSS.
// WORK is made by bench_make_devices; bench/run starts this program and alternates it with the
// same program of another build.
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "core/cloud/cloud_client.h"
#include "core/cloud/curl_library.h"
#include "gui/demo/demo_setup.h"
#include "core/device/device_layout.h"
#include "gui/main_window.h"
#include "support/list_file_bytes.h"
#include "support/temp_dir.h"

using namespace songloader;

namespace {

double Ms(qint64 ns) { return static_cast<double>(ns) / 1e6; }

// VmRSS (now) or VmHWM (peak) of this process in MB.
double Memory(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) return std::stod(line.substr(std::strlen(field) + 1)) / 1024.0;
    }
    return 0;
}

// Notes the paints of one widget.
class Paints : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count;
        return false;
    }
};

// Answers (and tells of) any message box, so a failure cannot hang the benchmark.
void AnswerBoxes() {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            std::fprintf(stderr, "message: %s\n", box->text().toUtf8().constData());
            box->accept();
        }
    });
    timer->start(50);
}

bool CommandRunning() { return QApplication::overrideCursor() != nullptr; }

void Click(gui::MainWindow& window, ControlId id) {
    QTest::mouseClick(qobject_cast<QAbstractButton*>(window.control(id)), Qt::LeftButton);
}

// Copies the device's files (list and catalogue) onto a fresh stick below `root`.
std::filesystem::path Stick(const std::filesystem::path& root, const std::filesystem::path& from) {
    const auto stick = root / "stick";
    std::filesystem::create_directories(stick / "songs");
    for (const char* name : {"SgList.dat", "Msong.db"}) {
        if (std::filesystem::exists(from / "songs" / name)) {
            std::filesystem::copy_file(from / "songs" / name, stick / "songs" / name);
        }
    }
    return stick;
}

// Presses one key in the window's focus widget (where typed keys go) and waits for the search it starts to be painted.
// Returns the milliseconds from the press to the end of the list's paint.
double KeyToPainted(gui::MainWindow& window, Paints& listPaints, int key) {
    const int commands = window.commandCount();
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(window.focusWidget(), static_cast<Qt::Key>(key));
    bool ended = false;
    int paintsAtEnd = 0;
    while (clock.elapsed() < 600000) {
        QCoreApplication::processEvents();
        if (!ended && window.commandCount() > commands && !CommandRunning()) {
            ended = true;
            paintsAtEnd = listPaints.count;
        }
        if (ended && listPaints.count > paintsAtEnd) break;
    }
    return Ms(clock.nsecsElapsed());
}

void Settle(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QCoreApplication::processEvents();
}

int Window(const std::filesystem::path& folder, const std::string& url, bool a11y) {
    test::TempDir root;
    const auto stick = Stick(root.path(), folder / "big");
    gui::DemoDriveSystem drives(stick);
    DownloadProgress progress;
    const CloudClient cloud(url, progress);
    gui::MainWindow window(drives, cloud, {});
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) std::fprintf(stderr, "the window is not active\n");
    if (a11y) QAccessible::setActive(true);
    if (a11y && !QAccessible::isActive()) std::fprintf(stderr, "the accessibility layer did not start\n");
    // Offscreen the layer cannot start; the bus row runs on a real (virtual) display.
    if (a11y) std::printf("a11y_active %d\n", QAccessible::isActive() ? 1 : 0);

    std::printf("rss_window %.1f\n", Memory("VmRSS:"));
    Click(window, ControlId::AutoCheckDevice);
    std::printf("rss_device_list %.1f\n", Memory("VmRSS:"));
    Click(window, ControlId::CloudSongs);
    auto* work = qobject_cast<QTableView*>(window.control(ControlId::WorkList));
    auto* device = qobject_cast<QTableView*>(window.control(ControlId::DeviceList));
    // The window gives freed memory back once it has been idle for a second.
    Settle(qEnvironmentVariableIsSet("BENCH_NO_IDLE") ? 200 : 1500);
    std::printf("rows %d/%d\n", device->model()->rowCount(), work->model()->rowCount());
    std::printf("rss_lists %.1f\n", Memory("VmRSS:"));

    auto* box = qobject_cast<QLineEdit*>(window.control(ControlId::SearchBox));
    QTest::mouseClick(box, Qt::LeftButton);
    Paints paints;
    work->viewport()->installEventFilter(&paints);
    // BENCH_KEY_ROUNDS: more keys in a row, for a profiler.
    const int keyRounds = std::max(1, qEnvironmentVariableIntValue("BENCH_KEY_ROUNDS"));
    for (int round = 0; round < keyRounds; ++round)
        for (const auto& [name, key] : {std::pair{"key_21000", Qt::Key_L}, std::pair{"key_44535", Qt::Key_C}}) {
            box->setFocus();
            box->clear();
            const double ms = KeyToPainted(window, paints, key);
            std::printf("%s%s %.1f\n", name, a11y ? "_a11y" : "", ms);
            std::printf("%s_rows %d\n", name, work->model()->rowCount());
            std::fflush(stdout);
        }

    // "love" at 10 keys a second: keys go to the window's focus widget, as typed keys do.
    box->setFocus();
    box->clear();
    QElapsedTimer clock;
    clock.start();
    const char* letters = "love";
    for (int i = 0; i < 4; ++i) {
        QTimer::singleShot(100 * i, [i, letters, &window] {
            QTest::keyClick(window.focusWidget(), static_cast<Qt::Key>(Qt::Key_A + (letters[i] - 'a')));
        });
    }
    const int commands = window.commandCount();
    Settle(350);
    while (CommandRunning() || window.commandCount() == commands) QCoreApplication::processEvents();
    Settle(50);
    std::printf("love%s_text \"%s\" rows %d, %.0f ms\n", a11y ? "_a11y" : "", box->text().toUtf8().constData(),
                work->model()->rowCount(), Ms(clock.nsecsElapsed()));
    std::printf("rss_peak %.1f\n", Memory("VmHWM:"));
    return 0;
}

int Preview(const std::filesystem::path& work) {
    test::TempDir root;
    const auto stick = Stick(root.path(), work / "list");
    gui::DemoDriveSystem drives(stick);
    DownloadProgress progress;
    const CloudClient cloud("http://127.0.0.1:9/", progress);
    gui::MainWindow window(drives, cloud, {});
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    Click(window, ControlId::AutoCheckDevice);
    Settle(200);
    const double before = Memory("VmRSS:");

    // The first paint of a page area (a scroll area's viewport) inside the preview window.
    struct FirstPage : QObject {
        QElapsedTimer clock;
        double at = -1;
        bool seen = false;
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (seen || event->type() != QEvent::Paint) return false;
            auto* widget = qobject_cast<QWidget*>(watched);
            auto* area = widget ? qobject_cast<QAbstractScrollArea*>(widget->parentWidget()) : nullptr;
            if (!area || area->viewport() != widget || widget->window() == nullptr ||
                !widget->window()->windowTitle().contains("Preview")) {
                return false;
            }
            seen = true;
            // After the paint: the next turn of the loop.
            QTimer::singleShot(0, widget->window(), [this, widget] {
                at = Ms(clock.nsecsElapsed());
                widget->window()->close();
            });
            return false;
        }
    } first;
    qApp->installEventFilter(&first);
    first.clock.start();
    QTimer::singleShot(120000, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    Click(window, ControlId::PrintPreview);  // returns when the preview has ended
    qApp->removeEventFilter(&first);
    std::printf("preview_first_page %.1f\n", first.at);
    std::printf("preview_rss_before %.1f\n", before);
    std::printf("preview_rss_peak %.1f\n", Memory("VmHWM:"));
    return first.at < 0 ? 1 : 0;
}

// Start to first painted window, a 65,535-song device read into the device list and painted,
// per-page scroll frames of that list.
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

int Open(const QElapsedTimer& clock) {
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
    std::printf("start_to_first_paint %.1f\n", Ms(firstPaint.at));

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
    std::printf("device_65535_read_painted %.1f\nrows %d\n", Ms(read.nsecsElapsed()), list->model()->rowCount());

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
    std::printf("scroll_frames %d\nscroll_frame_mean %.2f\nscroll_frame_worst %.2f\n", frames,
                Ms(total / std::max(frames, 1)), Ms(worst));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("rss_peak %.1f\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const CurlLibrary curl;
    QApplication app(argc, argv);
    AnswerBoxes();
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (argc == 2 && std::strcmp(argv[1], "open") == 0) return Open(clock);
    if (argc >= 4 && std::strcmp(argv[1], "window") == 0) {
        return Window(argv[2], argv[3], argc >= 5 && std::strcmp(argv[4], "--a11y") == 0);
    }
    if (argc == 3 && std::strcmp(argv[1], "preview") == 0) return Preview(argv[2]);
    std::fprintf(stderr, "usage: bench_gui_window open | window WORK URL [--a11y] | preview WORK\n");
    return 2;
}
