// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/controls/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPointer>
#include <QWidget>
#include <utility>

#include "gui/controls/gradient_progress_bar.h"
#include "gui/controls/skinned_list_view.h"

namespace songloader::gui {

namespace {

// One cell of a song list, or (row -1) one column title. A cell is a place in the table, so it
// stays valid while rows come and go; it reads its row when asked.
class SongCellAccessible : public QAccessibleInterface,
                           public QAccessibleTableCellInterface,
                           public QAccessibleActionInterface {
public:
    SongCellAccessible(SkinnedListView* view, int row, int column) : view_(view), row_(row), column_(column) {}

    bool isValid() const override {
        return view_ && column_ < view_->model()->columnCount() && row_ < view_->model()->rowCount();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(view_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return row_ < 0 ? QAccessible::ColumnHeader : QAccessible::Cell; }

    QString text(QAccessible::Text t) const override {
        if (!isValid() || (t != QAccessible::Name && t != QAccessible::Value)) return {};
        if (row_ < 0) return view_->model()->headerData(column_, Qt::Horizontal).toString().trimmed();
        return index().data(Qt::DisplayRole).toString();
    }

    QRect rect() const override {
        if (!isValid()) return {};
        if (row_ < 0) {
            QHeaderView* header = view_->horizontalHeader();
            const QRect section(header->sectionViewportPosition(column_), 0, header->sectionSize(column_),
                                header->height());
            return QRect(header->viewport()->mapToGlobal(section.topLeft()), section.size());
        }
        const QRect cell = view_->visualRect(index());
        return QRect(view_->viewport()->mapToGlobal(cell.topLeft()), cell.size());
    }

    QAccessible::State state() const override {
        QAccessible::State st;
        if (!isValid()) {
            st.invalid = true;
            return st;
        }
        if (row_ < 0) return st;
        if (!view_->viewport()->rect().intersects(view_->visualRect(index()))) st.offscreen = true;
        st.selectable = true;
        st.focusable = true;
        st.selected = isSelected();
        st.focused = view_->hasFocus() && view_->currentIndex() == index();
        if (checkable()) {
            st.checkable = true;
            st.checked = view_->songModel()->isRowChecked(view_->sourceRow(row_));
        }
        return st;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
        if (type == QAccessible::ActionInterface && row_ >= 0) return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    // ---- table cell ----
    bool isSelected() const override {
        return row_ >= 0 && isValid() && view_->selectionModel()->isRowSelected(row_, QModelIndex());
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override {
        QAccessibleInterface* table = parent();
        QAccessibleInterface* title = table && row_ >= 0 ? table->child(column_) : nullptr;
        return title ? QList<QAccessibleInterface*>{title} : QList<QAccessibleInterface*>{};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    // ---- actions: a row with a box is ticked by "toggle", as a click or Space would ----
    QStringList actionNames() const override {
        QStringList names;
        if (checkable()) names << toggleAction();
        names << setFocusAction();
        return names;
    }
    void doAction(const QString& name) override {
        if (!isValid() || row_ < 0) return;
        if (name == toggleAction() && checkable()) {
            view_->toggleRowChecked(view_->sourceRow(row_));
        } else if (name == setFocusAction()) {
            view_->selectAndFocusRow(view_->sourceRow(row_));
        }
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        if (name == toggleAction() && checkable()) return {QStringLiteral("Space")};
        return {};
    }

    int row() const { return row_; }
    int column() const { return column_; }

private:
    QModelIndex index() const { return view_->model()->index(row_, column_); }
    bool checkable() const { return row_ >= 0 && view_ && view_->songModel()->checkBoxesShown(); }

    QPointer<SkinnedListView> view_;
    int row_;
    int column_;
};

// A song list: a table whose first row of children are the column titles, then the cells row by
// row (the order the view's own focus events count in).
class SongListAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit SongListAccessible(SkinnedListView* view) : QAccessibleWidget(view, QAccessible::Table) {}
    ~SongListAccessible() override {
        for (QAccessible::Id id : std::as_const(cells_)) QAccessible::deleteAccessibleInterface(id);
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description) return view()->accessibleDescription();
        if (t == QAccessible::Name) return view()->accessibleName();
        return {};
    }

    int childCount() const override { return (titleRows() + rowCount()) * columnCount(); }

    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        auto found = cells_.constFind(index);
        if (found != cells_.constEnd()) return QAccessible::accessibleInterface(*found);
        const int columns = columnCount();
        auto* cell = new SongCellAccessible(view(), index / columns - titleRows(), index % columns);
        cells_.insert(index, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* cell = dynamic_cast<const SongCellAccessible*>(child);
        if (!cell || !cell->isValid()) return -1;
        return AccessibleChildIndex(*view(), cell->row(), cell->column());
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint global(x, y);
        QHeaderView* header = view()->horizontalHeader();
        if (!header->isHidden()) {
            const QPoint inHeader = header->viewport()->mapFromGlobal(global);
            if (header->viewport()->rect().contains(inHeader)) {
                const int column = header->logicalIndexAt(inHeader.x());
                return column >= 0 ? child(column) : nullptr;
            }
        }
        const QModelIndex at = view()->indexAt(view()->viewport()->mapFromGlobal(global));
        return at.isValid() ? cellAt(at.row(), at.column()) : nullptr;
    }

    // ---- table ----
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return nullptr;
        return child(AccessibleChildIndex(*view(), row, column));
    }
    int columnCount() const override { return view()->model()->columnCount(); }
    int rowCount() const override { return view()->model()->rowCount(); }
    int selectedCellCount() const override { return selectedRowCount() * columnCount(); }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> cells;
        for (int row : selectedRows()) {
            for (int column = 0; column < columnCount(); ++column) cells << cellAt(row, column);
        }
        return cells;
    }
    QString columnDescription(int column) const override {
        return view()->model()->headerData(column, Qt::Horizontal).toString().trimmed();
    }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return static_cast<int>(selectedRows().size()); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override {
        QList<int> rows;
        for (const QModelIndex& index : view()->selectionModel()->selectedRows()) rows << index.row();
        return rows;
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override { return view()->selectionModel()->isRowSelected(row, {}); }
    bool selectRow(int row) override {
        if (row < 0 || row >= rowCount()) return false;
        view()->selectAndFocusRow(view()->sourceRow(row));
        return true;
    }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override {
        if (!isRowSelected(row)) return false;
        view()->selectionModel()->select(view()->model()->index(row, 0),
                                         QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        return true;
    }
    bool unselectColumn(int) override { return false; }
    // Cells are places, not rows: nothing to forget when rows change.
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    SkinnedListView* view() const { return static_cast<SkinnedListView*>(widget()); }
    int titleRows() const { return view()->horizontalHeader()->isHidden() ? 0 : 1; }

    mutable QHash<int, QAccessible::Id> cells_;
};

// The main window's progress bar: a progress bar whose value is its position.
class ProgressBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ProgressBarAccessible(GradientProgressBar* bar) : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return bar()->valueText();
        return QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return bar()->position(); }
    void setCurrentValue(const QVariant&) override {}  // shown, not set by the user
    QVariant maximumValue() const override { return bar()->upper(); }
    QVariant minimumValue() const override { return bar()->lower(); }
    QVariant minimumStepSize() const override { return 1; }

private:
    GradientProgressBar* bar() const { return static_cast<GradientProgressBar*>(widget()); }
};

QAccessibleInterface* Factory(const QString& key, QObject* object) {
    // Only for the object's own class, not again for each base class Qt walks up through.
    if (!object || key != QLatin1StringView(object->metaObject()->className())) return nullptr;
    if (auto* list = qobject_cast<SkinnedListView*>(object)) return new SongListAccessible(list);
    if (auto* bar = qobject_cast<GradientProgressBar*>(object)) return new ProgressBarAccessible(bar);
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget) return nullptr;
    if (key == QLatin1StringView("songloader::gui::MainWindow"))
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (key == QLatin1StringView("songloader::gui::ProgressWindow"))
        return new QAccessibleWidget(widget, QAccessible::Dialog);
    return nullptr;
}

}  // namespace

int AccessibleChildIndex(const SkinnedListView& view, int row, int column) {
    const int titleRows = view.horizontalHeader()->isHidden() ? 0 : 1;
    return (row + titleRows) * view.model()->columnCount() + column;
}

void InstallAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        return true;
    }();
    (void)installed;
}

}  // namespace songloader::gui
