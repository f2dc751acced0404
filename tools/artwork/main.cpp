// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the program's artwork into a res/ folder:  songloader-artwork RES_DIR
#include <QGuiApplication>
#include <cstdio>

#include "artwork_tool.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: songloader-artwork RES_DIR\n");
        return 2;
    }
    // Fonts need a GUI application, not a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);

    const std::filesystem::path res = argv[1];
    bool ok = artwork::DrawButtons(res);
    ok = artwork::DrawIcon(res) && ok;
    ok = artwork::DrawBackground(res) && ok;
    return ok ? 0 : 1;
}
