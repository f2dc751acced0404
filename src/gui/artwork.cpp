// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/artwork.h"

#include <QString>

// The resources live in a static library; naming them here keeps the linker from dropping them.
static void LoadArtworkResources() {
    static const bool loaded = [] {
        Q_INIT_RESOURCE(songloader);
        return true;
    }();
    (void)loaded;
}

namespace songloader::gui {

QPixmap ButtonImage(int pngId) {
    if (pngId < kFirstButtonImage || pngId > kLastButtonImage) return {};
    LoadArtworkResources();
    return QPixmap(QString(":/buttons/%1.png").arg(pngId));
}

QIcon ApplicationIcon() {
    LoadArtworkResources();
    QIcon icon;
    for (int size : {48, 128, 256}) icon.addFile(QString(":/icons/songloader-%1.png").arg(size), QSize(size, size));
    return icon;
}

QPixmap BackgroundImage() {
    LoadArtworkResources();
    return QPixmap(":/background.png");
}

}  // namespace songloader::gui
