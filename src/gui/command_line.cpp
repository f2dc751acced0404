// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/command_line.h"

#include <QCommandLineParser>
#include <QGuiApplication>

namespace songloader::gui {

const char* const kWindowUsage =
    "usage: songloader [--cloud-url URL] [--demo] [-h|--help] [-v|--version] [QT OPTIONS]\n"
    "\n"
    "The song loader window: choose a USB drive, add songs to it, fetch songs from the cloud.\n"
    "\n"
    "  --cloud-url URL  the cloud server's base URL (else $SONGLOADER_CLOUD_URL, else the key\n"
    "                   cloud-url of $XDG_CONFIG_HOME/songloader/songloader.conf, else the built-in one)\n"
    "  --demo           try it without a stick or a server: a demo device in a temporary folder\n"
    "                   (\"Auto-Check USB Drive\" finds it) and a demo cloud on this machine; both\n"
    "                   are printed, for songloader-cli\n"
    "  -v, --version    print the version\n"
    "  -h, --help       print this help\n"
    "\n"
    "Qt's own options are accepted, e.g. -platform offscreen, -style fusion, -reverse.\n"
    "The command-line tool for the same work is songloader-cli.\n";

namespace {

// Qt's options that QApplication takes out of the command line itself.
const char* const kQtOptionsWithValue[] = {"platform",
                                           "platformpluginpath",
                                           "platformtheme",
                                           "plugin",
                                           "qwindowgeometry",
                                           "geometry",
                                           "qwindowtitle",
                                           "title",
                                           "qwindowicon",
                                           "icon",
                                           "session",
                                           "display",
                                           "name",
                                           "style",
                                           "stylesheet",
                                           "qmljsdebugger",
                                           "visual",
                                           "ncols",
                                           "cmap"};
const char* const kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};

bool NamesCloudUrl(const QString& argument) {
    QString name = argument;
    while (name.startsWith('-')) name.remove(0, 1);
    return name == QStringLiteral("cloud-url") || name.startsWith(QStringLiteral("cloud-url="));
}

}  // namespace

WindowOptions ParseWindowOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    // Qt's options are words after one dash ("-style"); so are -h and -v then.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version(QStringList{"v", "version"});
    const QCommandLineOption demo(QStringLiteral("demo"));
    const QCommandLineOption cloudUrl(QStringLiteral("cloud-url"), QString(), QStringLiteral("URL"));
    parser.addOptions({help, version, demo, cloudUrl});
    for (const char* name : kQtOptionsWithValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : kQtFlags) {
        QCommandLineOption option{QString::fromLatin1(name)};
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    WindowOptions options;
    if (!parser.parse(arguments)) {
        if (!parser.unknownOptionNames().isEmpty()) {
            options.error = "unknown option " + parser.unknownOptionNames().front().toStdString();
        } else if (!arguments.isEmpty() && NamesCloudUrl(arguments.back())) {
            options.error = "--cloud-url needs a URL";
        } else {
            options.error = parser.errorText().toStdString();
        }
        return options;
    }
    options.help = parser.isSet(help);
    options.version = parser.isSet(version);
    options.demo = parser.isSet(demo);
    if (parser.isSet(cloudUrl)) {
        const QString url = parser.value(cloudUrl);
        // "--cloud-url --demo" took the next option for the address.
        if (url.isEmpty() || url.startsWith('-')) {
            options.error = "--cloud-url needs a URL";
            return options;
        }
        options.cloudUrl = url.toStdString();
    }
    if (parser.isSet(QStringLiteral("platform")))
        options.platform = parser.value(QStringLiteral("platform")).toStdString();
    if (!parser.positionalArguments().isEmpty())
        options.error = "unexpected argument " + parser.positionalArguments().front().toStdString();
    return options;
}

void SetUpApplicationIdentity() {
    QGuiApplication::setApplicationName(QString::fromLatin1(kApplicationName));
    QGuiApplication::setOrganizationName(QString::fromLatin1(kApplicationName));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));
}

}  // namespace songloader::gui
