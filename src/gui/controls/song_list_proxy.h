// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSortFilterProxyModel>

#include <optional>
#include <vector>

namespace songloader::gui {

// What a list view shows of its SongListModel: the rows the search let through, in the order of
// the column the user sorted by (number, title or artist). The model's own order, which is what
// the device's catalogue is written from, never changes.
class SongListProxy : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit SongListProxy(QObject* parent = nullptr);

    // Only `rows` of the model (ascending), or all of them.
    void showOnlyRows(const std::optional<std::vector<int>>& rows);
    bool filtering() const { return shown_.has_value(); }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    std::optional<std::vector<bool>> shown_;
};

}  // namespace songloader::gui
