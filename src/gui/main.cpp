// SPDX-License-Identifier: GPL-3.0-or-later
// songloader: the desktop program.
#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QScreen>
#include <QSocketNotifier>
#include <QStringList>
#include <QTemporaryDir>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "core/app/dialog_texts.h"
#include "core/cloud/cloud_client.h"
#include "core/cloud/curl_library.h"
#include "core/config/user_settings.h"
#include "core/convert/converter_program.h"
#include "core/media/player_profile.h"
#include "core/device/linux_drive_system.h"
#include "core/text/code_page.h"
#include "songloader_version.h"
#include "gui/artwork.h"
#include "gui/command_line.h"
#include "gui/demo/demo_setup.h"
#include "gui/language/ui_language.h"
#include "gui/main_window.h"
#include "udisks/udisks_drive_ejector.h"

namespace {

bool HasDisplay(const songloader::gui::WindowOptions& options) {
    if (options.platform && !options.platform->empty()) return true;
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

// SIGTERM, SIGINT and SIGHUP end the window the normal way, so that the demo folder goes with it.
// The handler only writes the signal's number to a pipe the event loop watches; a second signal
// ends the program at once (the demo cloud's helper then removes the folder).
int g_signalPipe[2] = {-1, -1};

void OnEndSignal(int signal) {
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = write(g_signalPipe[1], &number, 1);
}

void EndOnSignals(QObject* owner) {
    if (pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        unsigned char number = 0;
        if (read(g_signalPipe[0], &number, 1) == 1) QCoreApplication::exit(128 + number);
    });
}

}  // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const songloader::gui::WindowOptions options = songloader::gui::ParseWindowOptions(arguments);
    if (!options.error.empty()) {
        std::cerr << "songloader: " << options.error << "\n" << songloader::gui::kWindowUsage;
        return 2;
    }
    if (options.help) {
        std::cout << songloader::gui::kWindowUsage;
        return 0;
    }
    if (options.version) {
        std::cout << "songloader " << SONGLOADER_VERSION << "\n";
        return 0;
    }
    if (!HasDisplay(options)) {
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
    if (auto profile = songloader::PlayerProfileFrom(userSettings.file.values, userSettings.file.path)) {
        settings.playerProfile = *profile;
    } else {
        std::cerr << "songloader: " << profile.message() << "; using the built-in player profile\n";
    }
    settings.findConverter = [values = userSettings.file.values] {
        return songloader::FindConverter(values, songloader::SettingsSources::FromEnvironment().variable);
    };
    settings.ejector = std::make_shared<songloader::UdisksDriveEjector>();

    QApplication app(argc, argv);
    songloader::gui::SetUpApplicationIdentity();
    // The user's language where the window speaks it (LANGUAGE=es songloader), else English.
    const QString language = songloader::gui::PickLanguage(QLocale::system().uiLanguages());
    if (!songloader::gui::InstallTranslations(language, songloader::gui::TranslationsFolder())) {
        std::cerr << "songloader: the " << language.toStdString() << " translation is not installed; using English\n";
    }
    QApplication::setWindowIcon(songloader::gui::ApplicationIcon());

    std::unique_ptr<songloader::DriveSystem> drives;
    std::unique_ptr<QTemporaryDir> demoFolder;
    std::unique_ptr<songloader::gui::DemoCloudServer> demoCloud;
    std::string cloudUrl = userSettings.cloudUrl.value;
    if (options.demo) {
        // From here on a signal ends the window the normal way (once its event loop runs).
        EndOnSignals(&app);
        // Demo folders of windows that were killed outright go first.
        songloader::gui::SweepStaleDemoFolders(QDir::tempPath().toStdString());
        demoFolder = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/" + songloader::gui::kDemoFolderPrefix +
                                                     QString::number(QCoreApplication::applicationPid()) + "-XXXXXX");
        const songloader::Result<songloader::gui::DemoFiles> files =
            demoFolder->isValid() ? songloader::gui::MakeDemoFiles(demoFolder->path().toStdString())
                                  : songloader::Fail("no temporary folder");
        if (!files) {
            std::cerr << "songloader: cannot make the demo: " << files.message() << "\n";
            return 1;
        }
        auto started = songloader::gui::DemoCloudServer::Start(files->cloudFolder, demoFolder->path().toStdString());
        if (!started) {
            std::cerr << "songloader: cannot start the demo cloud: " << started.message() << "\n";
            return 1;
        }
        demoCloud = std::move(started).value();
        cloudUrl = demoCloud->baseUrl();
        drives = std::make_unique<songloader::gui::DemoDriveSystem>(files->deviceRoot);
        // For songloader-cli in another terminal: the device and the cloud it can use meanwhile.
        std::cout << "demo device: " << files->deviceRoot.string() << "\ndemo cloud: " << cloudUrl
                  << "\ne.g. SONGLOADER_CLOUD_URL=" << cloudUrl << " songloader-cli cloud-sync "
                  << files->deviceRoot.string() << std::endl;
    } else {
        drives = std::make_unique<songloader::LinuxDriveSystem>();
    }

    songloader::DownloadProgress& progress = songloader::SharedDownloadProgress();
    const songloader::CloudClient cloud(cloudUrl, progress);
    songloader::gui::MainWindow window(*drives, cloud, settings, text.thai);
    // A scaled desktop may leave less room than the drawn window needs.
    if (const QScreen* screen = window.screen()) window.FitInto(screen->availableGeometry());
    window.show();
    return QApplication::exec();
}
