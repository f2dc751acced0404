// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/controls/skinned_scroll_bar.h"

namespace songloader::gui {

// The skinned bar below a song list.
class SkinnedHorizontalScrollBar : public SkinnedScrollBar {
    Q_OBJECT
public:
    explicit SkinnedHorizontalScrollBar(QWidget* parent = nullptr);

protected:
    int dragTarget(int thumbPos) const override;
    bool releaseNeedsPressedArrow() const override { return false; }
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace songloader::gui
