// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTableView>
#include <functional>
#include <optional>
#include <set>
#include <vector>

#include "gui/controls/song_list_model.h"
#include "gui/controls/song_list_proxy.h"

namespace songloader::gui {

class SkinnedHeader;

// A song list as the user meets it: 23-pixel rows on a pale background, grid lines, full-row
// selection, the skinned header and the two skinned scroll bars, an optional check box in front
// of every row. The view owns its SongListModel.
//
// With check boxes shown, a left click on a row (or Space on the current row) flips the row's
// box, but first asks the check guard, which may refuse: the box then stays as it was. The
// signals follow: rowClicked for every left click, rowDoubleClicked (also for Enter on the
// selected row), contextMenuRequested for a right click or the menu key, deleteRequested for the
// Delete key on the current row. Rows are -1 outside any row.
//
// Rows are the model's rows everywhere in this interface, whatever the list shows of them (the
// search's rows) and in whichever order (a column the user sorted by).
class SkinnedListView : public QTableView {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 23;
    static constexpr int kFontPixelHeight = 13;
    static inline const QColor kGridColour{220, 220, 220};

    using CheckGuard = std::function<bool(int row)>;

    explicit SkinnedListView(QWidget* parent = nullptr);

    SongListModel* songModel() const { return model_; }
    SongListProxy* proxy() const { return proxy_; }
    // The model's row shown at `shownRow` of the view, and back; -1 for none.
    int sourceRow(int shownRow) const;
    int shownRow(int sourceRow) const;
    // Only `rows` shown, or all.
    void showOnlyRows(const std::optional<std::vector<int>>& rows);
    // A click on the header of one of `columns` sorts the list by it; a second click reverses.
    void setSortableColumns(std::set<int> columns);
    void sortBy(int column);
    // Several rows may be selected (Shift, Ctrl).
    void setSeveralSelectable(bool several);
    std::vector<int> selectedSourceRows() const;
    SkinnedHeader* skinnedHeader() const { return header_; }

    // Title, alignment (of the header and the cells) and width of one of the six columns.
    void setColumn(int column, const QString& title, Qt::Alignment alignment, int width);
    void setCheckGuard(CheckGuard guard) { guard_ = std::move(guard); }
    // Off: changes to the rows are collected and shown at once when it is turned on again.
    void setRedraw(bool redraw);
    // Selects `row`, shows it and takes the keyboard focus: a user's (or a screen reader's) choice.
    void selectAndFocusRow(int row);
    // Flips the box of `row` as a click would: only with boxes shown and when the guard agrees.
    void toggleRowChecked(int row);
    // Ticks `rows` (ascending) and selects the last of them, in one update: the keyboard focus
    // stays where it is and the list does not scroll. With redraw off the selection waits for it.
    void markRows(const std::vector<int>& rows);

    // Where the check box of `row` is drawn, in viewport coordinates; empty without check boxes.
    QRect checkBoxRect(int row) const;

signals:
    void rowClicked(int row, bool onCheckBox);
    void rowDoubleClicked(int row);
    void contextMenuRequested(int row, QPoint globalPos);
    void deleteRequested(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Focus and selection events name cells as this list's accessible table counts them (Qt's
    // table view would count a column for the hidden row numbers).
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

private:
    void selectRow(int row);

    SongListModel* model_;
    SongListProxy* proxy_;
    SkinnedHeader* header_;
    std::set<int> sortable_;
    int sortColumn_ = -1;  // none: the model's order
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    CheckGuard guard_;
    int pendingCurrentRow_ = -1;  // chosen while redraw was off
};

}  // namespace songloader::gui
