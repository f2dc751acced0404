// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/artwork.h"

#include <QCoreApplication>
#include <QString>

#include <vector>

#include "gui/drawn_artwork.h"

// The resources live in a static library; naming them here keeps the linker from dropping them.
static void LoadArtworkResources() {
    static const bool loaded = [] {
        Q_INIT_RESOURCE(songloader);
        return true;
    }();
    (void)loaded;
}

namespace songloader::gui {

namespace {

QString Caption(const ButtonArt& art) {
    return *art.caption ? QCoreApplication::translate("Buttons", art.caption) : QString();
}

}  // namespace

QString ButtonCaption(int pngId) {
    for (const ButtonArt& art : ButtonArtwork()) {
        if (art.pngId == pngId) return Caption(art);
    }
    return {};
}

QPixmap ButtonImage(int pngId) {
    if (pngId < kFirstButtonImage || pngId > kLastButtonImage) return {};
    std::vector<QString> captions;
    bool translated = false;
    for (const ButtonArt& art : ButtonArtwork()) {
        captions.push_back(Caption(art));
        translated = translated || captions.back() != QString::fromUtf8(art.caption);
    }
    if (translated) {
        // Every caption in one size, as the committed pictures have it.
        const int px = CaptionPixelSize(captions);
        for (std::size_t i = 0; i < captions.size(); ++i) {
            if (ButtonArtwork()[i].pngId == pngId)
                return QPixmap::fromImage(DrawButton(ButtonArtwork()[i], captions[i], px));
        }
    }
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
    const auto label = [](const char* english) { return QCoreApplication::translate("WindowLayout", english); };
    for (const FieldLabel& field : MainWindowLayout().labels) {
        if (label(field.text) != QString::fromUtf8(field.text)) {
            return QPixmap::fromImage(DrawBackground(MainWindowLayout(), label));
        }
    }
    LoadArtworkResources();
    return QPixmap(":/background.png");
}

}  // namespace songloader::gui
