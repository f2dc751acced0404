// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/controls/skinned_list_view.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include "gui/controls/accessibility.h"
#include "gui/controls/list_font.h"
#include "gui/controls/skinned_header.h"
#include "gui/controls/skinned_horizontal_scroll_bar.h"
#include "gui/controls/skinned_vertical_scroll_bar.h"
#include "gui/controls/song_row_delegate.h"

namespace songloader::gui {

SkinnedListView::SkinnedListView(QWidget* parent)
    : QTableView(parent), model_(new SongListModel(this)), header_(new SkinnedHeader(this)) {
    setModel(model_);
    setHorizontalHeader(header_);
    setItemDelegate(new SongRowDelegate(ListFont(kFontPixelHeight), palette().color(QPalette::Highlight), this));
    setFont(ListFont(kFontPixelHeight));

    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setShowGrid(true);
    setGridStyle(Qt::SolidLine);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollMode(ScrollPerPixel);
    setVerticalScrollMode(ScrollPerItem);

    QPalette colours = palette();
    colours.setColor(QPalette::Base, SongRowDelegate::kBackgroundColour);
    setPalette(colours);
    setStyleSheet(QStringLiteral("QTableView { gridline-color: rgb(%1, %2, %3); }")
                      .arg(kGridColour.red()).arg(kGridColour.green()).arg(kGridColour.blue()));

    setVerticalScrollBar(new SkinnedVerticalScrollBar(this));
    setHorizontalScrollBar(new SkinnedHorizontalScrollBar(this));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* corner = new QWidget(this);
    corner->setAutoFillBackground(true);
    QPalette cornerColours = corner->palette();
    cornerColours.setColor(QPalette::Window, SkinnedScrollBar::kDarkGrey);
    corner->setPalette(cornerColours);
    setCornerWidget(corner);
    InstallAccessibility();
}

void SkinnedListView::setColumn(int column, const QString& title, Qt::Alignment alignment, int width) {
    model_->setColumn(column, title, alignment);
    setColumnWidth(column, width);
}

void SkinnedListView::setRedraw(bool redraw) {
    model_->setBatchMode(!redraw);
    setUpdatesEnabled(redraw);
    if (redraw && pendingCurrentRow_ >= 0) {
        const int row = pendingCurrentRow_;
        pendingCurrentRow_ = -1;
        selectRow(row);
    }
}

void SkinnedListView::markRows(const std::vector<int>& rows) {
    model_->checkRows(rows);
    if (!rows.empty()) selectRow(rows.back());
}

void SkinnedListView::selectRow(int row) {
    if (model_->inBatchMode()) {
        pendingCurrentRow_ = row;
        return;
    }
    if (row < 0 || row >= model_->rowCount()) return;
    selectionModel()->setCurrentIndex(model_->index(row, 0),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void SkinnedListView::selectAndFocusRow(int row) {
    selectRow(row);
    if (row >= 0 && row < model_->rowCount()) scrollTo(model_->index(row, 0));
    setFocus(Qt::OtherFocusReason);
}

QRect SkinnedListView::checkBoxRect(int row) const {
    if (!model_->checkBoxesShown() || row < 0 || row >= model_->rowCount()) return {};
    return SongRowDelegate::CheckBoxRect(visualRect(model_->index(row, 0)));
}

void SkinnedListView::toggleRowChecked(int row) {
    if (!model_->checkBoxesShown() || row < 0 || row >= model_->rowCount()) return;
    if (guard_ && !guard_(row)) return;
    model_->setRowChecked(row, !model_->isRowChecked(row));
    if (QAccessible::isActive()) {
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(this);
        QAccessibleTableInterface* cells = table ? table->tableInterface() : nullptr;
        if (QAccessibleInterface* cell = cells ? cells->cellAt(row, 0) : nullptr) {
            QAccessible::State changed;
            changed.checked = true;
            QAccessibleStateChangeEvent event(cell, changed);
            QAccessible::updateAccessibility(&event);
        }
    }
}

void SkinnedListView::mousePressEvent(QMouseEvent* event) {
    QTableView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton) return;
    const QPoint point = event->position().toPoint();
    const int row = rowAt(point.y());
    const bool onCheckBox = checkBoxRect(row).contains(point);
    toggleRowChecked(row);
    emit rowClicked(row, onCheckBox);
}

void SkinnedListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) emit rowDoubleClicked(rowAt(event->position().toPoint().y()));
}

void SkinnedListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && model_->checkBoxesShown()) {
        toggleRowChecked(currentIndex().row());
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // What a double-click does, so a listed song can be loaded without the mouse.
        const int row = currentIndex().row();
        if (row >= 0 && selectionModel()->isRowSelected(row, QModelIndex())) {
            emit rowDoubleClicked(row);
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void SkinnedListView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (QAccessible::isActive() && current.isValid()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(AccessibleChildIndex(*this, current.row(), current.column()));
        QAccessible::updateAccessibility(&event);
    }
    QAbstractItemView::currentChanged(current, previous);
}

void SkinnedListView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    if (QAccessible::isActive()) {
        const auto tell = [this](const QItemSelection& cells, QAccessible::Event change) {
            for (const QModelIndex& index : cells.indexes()) {
                QAccessibleEvent event(this, change);
                event.setChild(AccessibleChildIndex(*this, index.row(), index.column()));
                QAccessible::updateAccessibility(&event);
            }
        };
        tell(selected, QAccessible::SelectionAdd);
        tell(deselected, QAccessible::SelectionRemove);
    }
    QAbstractItemView::selectionChanged(selected, deselected);
}

void SkinnedListView::contextMenuEvent(QContextMenuEvent* event) {
    int row = rowAt(event->pos().y());
    QPoint global = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        row = currentIndex().row();
        if (row >= 0) global = viewport()->mapToGlobal(visualRect(model_->index(row, 0)).center());
    }
    event->accept();
    emit contextMenuRequested(row, global);
}

}  // namespace songloader::gui
