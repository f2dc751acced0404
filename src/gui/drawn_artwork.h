// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QImage>
#include <QString>

#include <functional>
#include <span>

#include "gui/window_layout.h"

// The drawings behind the committed button images and the window's background. The artwork
// generator writes them (English) under res/; the window draws them again at run time when the
// user's language gives captions and labels other words.
namespace songloader::gui {

struct ButtonArt {
    int pngId;
    int width;
    int height;
    const char* caption;  // English, as the control shows it; empty for the unbound image
    bool primary;         // the one action that writes to the device stands out
};

// The sixteen images (193..208) at their buttons' sizes.
std::span<const ButtonArt> ButtonArtwork();

// The bold face of the captions at `pixelSize`.
QFont CaptionFont(int pixelSize);

// One caption size for every button (they sit side by side): the largest, down to a floor, at
// which each caption fits its plate on one line; a caption too long even then is drawn on two.
// `captions` goes with ButtonArtwork() item by item.
int CaptionPixelSize(std::span<const QString> captions);

// Whether `caption` fits a plate of `size` at `pixelSize`, on one line or broken onto two.
bool CaptionFits(const QString& caption, QSize size, int pixelSize);

// One button's image with `caption` (trailing blanks are not drawn).
QImage DrawButton(const ButtonArt& art, const QString& caption, int captionPixelSize);

// The background of `layout` with each field label given by `labelText` (from the English one),
// each drawn at 13 px, or smaller down to 9 px when its words need it to fit the label's place.
QImage DrawBackground(const WindowLayout& layout, const std::function<QString(const char*)>& labelText);

// The pixel size a label's text is drawn at in `width`.
int LabelPixelSize(const QString& text, int width);
QFont LabelFont(int pixelSize);

}  // namespace songloader::gui
