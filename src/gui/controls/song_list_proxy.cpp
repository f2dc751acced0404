// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/controls/song_list_proxy.h"

namespace songloader::gui {

SongListProxy::SongListProxy(QObject* parent) : QSortFilterProxyModel(parent) {}

void SongListProxy::showOnlyRows(const std::optional<std::vector<int>>& rows) {
    if (!rows) {
        shown_.reset();
    } else {
        std::vector<bool> shown(static_cast<std::size_t>(sourceModel() ? sourceModel()->rowCount() : 0), false);
        for (int row : *rows) {
            if (row >= 0 && static_cast<std::size_t>(row) < shown.size()) shown[static_cast<std::size_t>(row)] = true;
        }
        shown_ = std::move(shown);
    }
    invalidateFilter();
}

bool SongListProxy::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    // A row that came after the filter was set is shown until the filter is set again.
    return !shown_ || sourceRow < 0 || static_cast<std::size_t>(sourceRow) >= shown_->size() ||
           (*shown_)[static_cast<std::size_t>(sourceRow)];
}

bool SongListProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const QString a = left.data().toString().trimmed();
    const QString b = right.data().toString().trimmed();
    if (left.column() == 0) {
        // Numbers by value; equal ones keep the list's order.
        bool aNumber = false;
        bool bNumber = false;
        const qlonglong x = a.toLongLong(&aNumber);
        const qlonglong y = b.toLongLong(&bNumber);
        if (aNumber && bNumber) return x < y;
    }
    const int order = QString::compare(a, b, Qt::CaseInsensitive);
    if (order != 0) return order < 0;
    return left.row() < right.row();
}

}  // namespace songloader::gui
