// SPDX-License-Identifier: GPL-3.0-or-later
// The window program's options and its identity on the desktop.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QStringList>

#include <fstream>
#include <string>
#include <vector>

#include "gui/command_line.h"

namespace songloader::gui {
namespace {

struct Case {
    QStringList arguments;  // after the program's name
    std::string error;      // expected usage error, empty for none
    std::string flags;      // of demo, help, version: the ones set
    std::string cloudUrl;   // empty: none
};

TEST(WindowOptions, QtOptionsAreAcceptedAndUsageErrorsNamed) {
    const std::vector<Case> cases = {
        {{}, "", "", ""},
        {{"--demo"}, "", "demo", ""},
        {{"--cloud-url", "http://x/a,b/"}, "", "", "http://x/a,b/"},
        {{"--cloud-url=http://x/"}, "", "", "http://x/"},
        {{"--cloud-url"}, "--cloud-url needs a URL", "", ""},
        {{"--cloud-url="}, "--cloud-url needs a URL", "", ""},
        {{"--cloud-url", "--demo"}, "--cloud-url needs a URL", "", ""},
        {{"-h"}, "", "help", ""},
        {{"--help"}, "", "help", ""},
        {{"-v"}, "", "version", ""},
        {{"--version"}, "", "version", ""},
        {{"-style", "fusion", "-reverse", "-platform", "offscreen", "--demo"}, "", "demo", ""},
        {{"-style=fusion", "--platform", "offscreen", "-qwindowtitle", "t"}, "", "", ""},
        {{"--frobnicate"}, "unknown option frobnicate", "", ""},
        {{"-x"}, "unknown option x", "", ""},
        {{"stray"}, "unexpected argument stray", "", ""},
    };
    for (const Case& c : cases) {
        const QStringList arguments = QStringList{"songloader"} + c.arguments;
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const WindowOptions options = ParseWindowOptions(arguments);
        EXPECT_EQ(options.error, c.error);
        if (!c.error.empty()) continue;
        EXPECT_EQ(options.demo, c.flags.find("demo") != std::string::npos);
        EXPECT_EQ(options.help, c.flags.find("help") != std::string::npos);
        EXPECT_EQ(options.version, c.flags.find("version") != std::string::npos);
        EXPECT_EQ(options.cloudUrl.value_or(""), c.cloudUrl);
    }
    EXPECT_EQ(ParseWindowOptions({"songloader", "-platform", "offscreen"}).platform, "offscreen");
}

// Docks match the window to its desktop entry: by the desktop file name on Wayland, by the class
// of WM_CLASS (Qt's xcb plugin takes it from the application name) on X11.
TEST(WindowIdentity, MatchesTheDesktopEntry) {
    const QString before = QGuiApplication::applicationName();
    SetUpApplicationIdentity();
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("org.songloader.SongLoader"));
    const std::string wmClass = QGuiApplication::applicationName().toStdString();
    QGuiApplication::setApplicationName(before);

    std::ifstream entry(std::string(SONGLOADER_SOURCE_DIR) + "/packaging/org.songloader.SongLoader.desktop");
    ASSERT_TRUE(entry) << "no desktop entry";
    std::string line, startupClass;
    while (std::getline(entry, line))
        if (line.starts_with("StartupWMClass=")) startupClass = line.substr(line.find('=') + 1);
    EXPECT_EQ(startupClass, wmClass);
}

}  // namespace
}  // namespace songloader::gui
