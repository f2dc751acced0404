// SPDX-License-Identifier: GPL-3.0-or-later
// The sixteen push-button images: a rounded gradient plate with its caption. The window stretches
// each image to its button, so the sizes are the buttons' sizes.
#include <string>
#include <vector>

#include "artwork_tool.h"
#include "gui/drawn_artwork.h"

namespace artwork {

bool DrawButtons(const std::filesystem::path& resDir) {
    using namespace songloader::gui;
    std::vector<QString> captions;
    for (const ButtonArt& art : ButtonArtwork()) captions.push_back(QString::fromUtf8(art.caption));
    const int captionPx = CaptionPixelSize(captions);
    bool ok = true;
    std::size_t i = 0;
    for (const ButtonArt& art : ButtonArtwork()) {
        ok = SavePng(DrawButton(art, captions[i++], captionPx),
                     resDir / "buttons" / (std::to_string(art.pngId) + ".png")) &&
             ok;
    }
    return ok;
}

}  // namespace artwork
