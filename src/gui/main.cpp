// SPDX-License-Identifier: GPL-3.0-or-later
// songloader: the desktop program.
#include <QApplication>
#include <QTemporaryDir>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "core/app/dialog_texts.h"
#include "core/cloud/cloud_client.h"
#include "core/cloud/curl_library.h"
#include "core/common/user_settings.h"
#include "core/device/linux_drive_system.h"
#include "core/text/code_page.h"
#include "songloader_version.h"
#include "gui/artwork.h"
#include "gui/demo/demo_setup.h"
#include "gui/main_window.h"
#include "udisks/udisks_drive_ejector.h"

namespace {

constexpr const char* kUsage =
    "usage: songloader [--cloud-url URL] [--demo]\n"
    "\n"
    "The song loader window: choose a USB drive, add songs to it, fetch songs from the cloud.\n"
    "\n"
    "  --cloud-url URL  the cloud server's base URL (else $SONGLOADER_CLOUD_URL, else the key\n"
    "                   cloud-url of $XDG_CONFIG_HOME/songloader/songloader.conf, else the built-in one)\n"
    "  --demo           try it without a stick or a server: a demo device in a temporary folder\n"
    "                   (\"Auto-Check USB Drive\" finds it) and a demo cloud on this machine\n"
    "  --version        print the version\n"
    "  --help           print this help\n"
    "\n"
    "The command-line tool for the same work is songloader-cli.\n";

struct Options {
    std::optional<std::string> cloudUrl;
    bool demo = false;
};

bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (arg == "--version") {
            std::cout << "songloader " << SONGLOADER_VERSION << "\n";
            return 0;
        }
        if (arg == "--demo") {
            options.demo = true;
        } else if (arg == "--cloud-url" && i + 1 < argc) {
            options.cloudUrl = argv[++i];
        } else if (arg.starts_with("--cloud-url=")) {
            options.cloudUrl = arg.substr(std::string("--cloud-url=").size());
        } else {
            std::cerr << "songloader: unknown argument " << arg << "\n" << kUsage;
            return 2;
        }
    }
    if (!HasDisplay()) {
        std::cerr << "songloader: no display; run it in a desktop session, or without a screen with "
                     "QT_QPA_PLATFORM=offscreen or under xvfb-run.\n";
        return 1;
    }

    const songloader::CurlLibrary curl;
    const songloader::TextSettings text = songloader::TextSettingsFromEnvironment();
    songloader::SettingsSources sources = songloader::SettingsSources::FromEnvironment();
    sources.cloudUrlFlag = options.cloudUrl;
    const songloader::UserSettings userSettings = songloader::ResolveUserSettings(sources);
    songloader::DialogSettings settings;
    settings.codePage = text.codePage;
    // The settings file may name the device code page when the locale's is not wanted.
    if (const auto page = songloader::LocaleCodePage(userSettings.encoding.value)) {
        settings.codePage = *page;
    } else {
        std::cerr << "songloader: " << userSettings.encoding.origin << ": unknown encoding "
                  << userSettings.encoding.value << "; using " << text.codePage << "\n";
    }
    settings.traditionalChinese = text.traditionalChinese;
    settings.ejector = std::make_shared<songloader::UdisksDriveEjector>();

    QApplication app(argc, argv);
    QApplication::setApplicationName("songloader");
    QApplication::setOrganizationName("songloader");
    QApplication::setWindowIcon(songloader::gui::ApplicationIcon());

    std::unique_ptr<songloader::DriveSystem> drives;
    std::unique_ptr<QTemporaryDir> demoFolder;
    std::unique_ptr<songloader::gui::DemoCloudServer> demoCloud;
    std::string cloudUrl = userSettings.cloudUrl.value;
    if (options.demo) {
        demoFolder = std::make_unique<QTemporaryDir>();
        std::string error;
        const auto files = demoFolder->isValid()
                               ? songloader::gui::MakeDemoFiles(demoFolder->path().toStdString(), error)
                               : std::nullopt;
        if (!files) {
            std::cerr << "songloader: cannot make the demo: " << (error.empty() ? "no temporary folder" : error)
                      << "\n";
            return 1;
        }
        demoCloud = std::make_unique<songloader::gui::DemoCloudServer>(files->cloudFolder);
        if (!demoCloud->running()) {
            std::cerr << "songloader: cannot start the demo cloud on 127.0.0.1\n";
            return 1;
        }
        cloudUrl = demoCloud->baseUrl();
        drives = std::make_unique<songloader::gui::DemoDriveSystem>(files->deviceRoot);
        std::cout << "demo device: " << files->deviceRoot.string() << "\ndemo cloud: " << cloudUrl << std::endl;
    } else {
        drives = std::make_unique<songloader::LinuxDriveSystem>();
    }

    songloader::DownloadProgress& progress = songloader::SharedDownloadProgress();
    const songloader::CloudClient cloud(cloudUrl, progress);
    songloader::gui::MainWindow window(*drives, cloud, settings, text.thai);
    window.show();
    return QApplication::exec();
}
