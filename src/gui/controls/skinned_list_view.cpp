// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/controls/skinned_list_view.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

#include "gui/controls/accessibility.h"
#include "gui/controls/list_font.h"
#include "gui/controls/skinned_header.h"
#include "gui/controls/skinned_horizontal_scroll_bar.h"
#include "gui/controls/skinned_vertical_scroll_bar.h"
#include "gui/controls/song_row_delegate.h"

namespace songloader::gui {

SkinnedListView::SkinnedListView(QWidget* parent)
    : QTableView(parent),
      model_(new SongListModel(this)),
      proxy_(new SongListProxy(this)),
      header_(new SkinnedHeader(this)) {
    proxy_->setSourceModel(model_);
    setModel(proxy_);
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
                      .arg(kGridColour.red())
                      .arg(kGridColour.green())
                      .arg(kGridColour.blue()));

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
    model_->markOnDevice(rows);
    if (!rows.empty()) selectRow(rows.back());
}

int SkinnedListView::sourceRow(int shown) const {
    if (shown < 0 || shown >= proxy_->rowCount()) return -1;
    return proxy_->mapToSource(proxy_->index(shown, 0)).row();
}

int SkinnedListView::shownRow(int source) const {
    if (source < 0 || source >= model_->rowCount()) return -1;
    return proxy_->mapFromSource(model_->index(source, 0)).row();
}

void SkinnedListView::showOnlyRows(const std::optional<std::vector<int>>& rows) { proxy_->showOnlyRows(rows); }

void SkinnedListView::setSortableColumns(std::set<int> columns) {
    sortable_ = std::move(columns);
    header_->setSectionsClickable(!sortable_.empty());
    if (!sortable_.empty()) connect(header_, &QHeaderView::sectionClicked, this, &SkinnedListView::sortBy);
}

void SkinnedListView::sortBy(int column) {
    // The header turns its own indicator on a click; the list's sort decides what it shows.
    if (!sortable_.count(column)) {
        if (sortColumn_ >= 0) header_->setSortIndicator(sortColumn_, sortOrder_);
        header_->setSortIndicatorShown(sortColumn_ >= 0);
        return;
    }
    // The same column again reverses the order; another starts ascending.
    sortOrder_ = column == sortColumn_ && sortOrder_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    sortColumn_ = column;
    header_->setSortIndicatorShown(true);
    header_->setSortIndicator(column, sortOrder_);
    proxy_->sort(column, sortOrder_);
}

void SkinnedListView::setSeveralSelectable(bool several) {
    setSelectionMode(several ? ExtendedSelection : SingleSelection);
}

std::vector<int> SkinnedListView::selectedSourceRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows()) rows.push_back(proxy_->mapToSource(index).row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void SkinnedListView::selectRow(int row) {
    if (model_->inBatchMode()) {
        pendingCurrentRow_ = row;
        return;
    }
    const int shown = shownRow(row);
    if (shown < 0) return;
    selectionModel()->setCurrentIndex(proxy_->index(shown, 0),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void SkinnedListView::selectAndFocusRow(int row) {
    selectRow(row);
    if (const int shown = shownRow(row); shown >= 0) scrollTo(proxy_->index(shown, 0));
    setFocus(Qt::OtherFocusReason);
}

QRect SkinnedListView::checkBoxRect(int row) const {
    const int shown = shownRow(row);
    if (!model_->checkBoxesShown() || shown < 0) return {};
    return SongRowDelegate::CheckBoxRect(visualRect(proxy_->index(shown, 0)));
}

void SkinnedListView::toggleRowChecked(int row) {
    if (!model_->checkBoxesShown() || row < 0 || row >= model_->rowCount()) return;
    if (guard_ && !guard_(row)) return;
    model_->setRowChecked(row, !model_->isRowChecked(row));
    if (QAccessible::isActive()) {
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(this);
        QAccessibleTableInterface* cells = table ? table->tableInterface() : nullptr;
        if (QAccessibleInterface* cell = cells ? cells->cellAt(shownRow(row), 0) : nullptr) {
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
    const int row = sourceRow(rowAt(point.y()));
    const bool onCheckBox = checkBoxRect(row).contains(point);
    toggleRowChecked(row);
    emit rowClicked(row, onCheckBox);
}

void SkinnedListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) emit rowDoubleClicked(sourceRow(rowAt(event->position().toPoint().y())));
}

void SkinnedListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && model_->checkBoxesShown()) {
        toggleRowChecked(sourceRow(currentIndex().row()));
        event->accept();
        return;
    }
    const int current = currentIndex().row();
    const bool onSelectedRow = current >= 0 && selectionModel()->isRowSelected(current, QModelIndex());
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && onSelectedRow) {
        // What a double-click does, so a listed song can be loaded without the mouse.
        emit rowDoubleClicked(sourceRow(current));
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Delete && onSelectedRow) {
        emit deleteRequested(sourceRow(current));
        event->accept();
        return;
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
        if (row >= 0) global = viewport()->mapToGlobal(visualRect(proxy_->index(row, 0)).center());
    }
    event->accept();
    emit contextMenuRequested(sourceRow(row), global);
}

}  // namespace songloader::gui
