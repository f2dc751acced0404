// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QStyledItemDelegate>

namespace songloader::gui {

// Draws one cell of a song list: plain background (or the selection colour), the check box of
// the first column with its red mark, and the text, which takes the column's alignment only when
// it fits and is otherwise drawn from the left and clipped.
class SongRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int kCheckAreaWidth = 20;  // the first column's label starts here
    static inline const QColor kTextColour{33, 33, 33};
    static inline const QColor kBackgroundColour{255, 250, 250};
    static inline const QColor kBoxColour{222, 222, 222};
    static inline const QColor kCheckMarkColour{255, 11, 11};
    // Songs already on the device: their mark and their text (4.5:1 on the row background).
    static inline const QColor kOnDeviceColour{0, 112, 60};

    SongRowDelegate(const QFont& font, const QColor& selectionColour, QObject* parent = nullptr);

    // The check box within a first-column cell.
    static QRect CheckBoxRect(const QRect& cell);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QFont font_;
    QColor selectionColour_;
};

}  // namespace songloader::gui
