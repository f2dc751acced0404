// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QHeaderView>

namespace songloader::gui {

// The column header of a song list: every section filled with a grey gradient that darkens by 8
// per pixel line from 166 (never below 0), a one-pixel gap before every section but the first,
// light titles in the column's alignment, and 1.2 times the natural height.
class SkinnedHeader : public QHeaderView {
    Q_OBJECT
public:
    static inline const QColor kTextColour{222, 222, 222};
    static constexpr int kFontPixelHeight = 15;

    explicit SkinnedHeader(QWidget* parent = nullptr);

    // Grey level of pixel line `line` (0 = top).
    static int GradientLevel(int line);
    // The laid-out height for a natural height (truncated).
    static int ScaledHeight(int naturalHeight);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    void paintGradient(QPainter* painter, const QRect& rect) const;
};

}  // namespace songloader::gui
