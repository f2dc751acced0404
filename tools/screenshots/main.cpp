// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the README's pictures of the window offscreen, from the demo device and cloud:
//   songloader-screenshots OUT_DIR   (scripts/screenshots builds and runs it)
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "core/cloud/curl_library.h"
#include "gui/artwork.h"
#include "gui/demo/demo_setup.h"
#include "gui/main_window.h"

namespace {

bool Save(QWidget& widget, const std::filesystem::path& file) {
    QCoreApplication::processEvents();
    if (widget.grab().save(QString::fromStdString(file.string()), "PNG")) return true;
    std::fprintf(stderr, "cannot write %s\n", file.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: songloader-screenshots OUT_DIR\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out);
    const songloader::CurlLibrary curl;
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QApplication::setWindowIcon(songloader::gui::ApplicationIcon());

    QTemporaryDir folder;
    // The progress window keeps its place in the settings: the user's own stay untouched.
    qputenv("XDG_CONFIG_HOME", (folder.path() + "/config").toUtf8());
    const auto files = songloader::gui::MakeDemoFiles(folder.path().toStdString());
    if (!files) {
        std::fprintf(stderr, "cannot make the demo: %s\n", files.message().c_str());
        return 1;
    }
    const auto server = songloader::gui::DemoCloudServer::Start(files->cloudFolder);
    if (!server) {
        std::fprintf(stderr, "cannot start the demo cloud: %s\n", server.message().c_str());
        return 1;
    }
    songloader::gui::DemoDriveSystem drives(files->deviceRoot);
    songloader::DownloadProgress progress;
    const songloader::CloudClient cloud((*server)->baseUrl(), progress);
    songloader::gui::MainWindow window(drives, cloud, {});
    window.show();
    bool ok = Save(window, out / "main-empty.png");

    // Every message box is answered with its default button.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
    });
    answer.start(30);
    window.dialog().OnAutoCheckDevice();
    window.dialog().OnCloudSongs();
    ok = Save(window, out / "main-device-cloud.png") && ok;

    // The progress window of a download a third of the way through, then cancelled.
    QTimer::singleShot(700, [&] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top != &window && top->isVisible() && top->windowTitle().startsWith("Download Progress")) {
                ok = Save(*top, out / "progress-window.png") && ok;
            }
        }
        progress.RequestCancel();
    });
    progress.progressSteps = 300;
    progress.SetDownloadName("Golden Road");
    progress.downloadActive = 1;
    window.SetTransferBatch({1, 3, 0, 3 * 300 * 1460});
    (void)window.RunTransfer(  // the picture is all this run is for
        [&] {
            while (!progress.cancelRequested.load()) {
                if (progress.receivedBytes < 300 * 1460 / 3) {
                    progress.receivedBytes += 4000;
                    progress.lastChunkBytes = 4000;
                    progress.chunkReady = 1;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            return songloader::DownloadResult(songloader::FailDownload(songloader::DownloadStatus::Cancelled));
        },
        progress, "Golden Road");
    progress.downloadActive = 0;
    return ok ? 0 : 1;
}
