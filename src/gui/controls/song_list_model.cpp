// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/controls/song_list_model.h"

#include <algorithm>
#include <cstring>

#include "core/app/dialog_texts.h"

namespace songloader::gui {

SongListModel::Row::Row(const RowTexts& texts) {
    std::size_t size = 0;
    for (const std::string& text : texts) size += text.size() + 1;
    packed.reserve(size);
    // A text holding a NUL is cut there, as the list would show it anyway.
    for (const std::string& text : texts) packed.append(text.c_str()).push_back('\0');
}

QString SongListModel::Row::text(int column) const {
    const char* at = packed.c_str();
    for (int skipped = 0; skipped < column; ++skipped) at += std::strlen(at) + 1;
    return QString::fromUtf8(at, static_cast<qsizetype>(std::strlen(at)));
}

SongListModel::SongListModel(QObject* parent) : QAbstractTableModel(parent) {
    for (int column = 0; column < kColumnCount; ++column) {
        titles_[column] = QString::fromUtf8(kListColumns[column].title);
        alignments_[column] = Qt::AlignLeft;
    }
}

void SongListModel::setColumn(int column, const QString& title, Qt::Alignment alignment) {
    if (column < 0 || column >= kColumnCount) return;
    titles_[column] = title;
    alignments_[column] = alignment;
    emit headerDataChanged(Qt::Horizontal, column, column);
    if (!batch_ && publishedRows_ > 0) emit dataChanged(index(0, column), index(publishedRows_ - 1, column));
}

void SongListModel::removeAllRows() {
    if (batch_) {
        rows_.clear();
        batchChanged_ = true;
        return;
    }
    beginResetModel();
    rows_.clear();
    publishedRows_ = 0;
    endResetModel();
}

void SongListModel::setAllRows(std::vector<RowTexts> rows) {
    if (!batch_) beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
    rows_.reserve(rows.size());
    for (const RowTexts& texts : rows) rows_.emplace_back(texts);
    rows = {};
    if (batch_) {
        batchChanged_ = true;
        return;
    }
    publishedRows_ = songRowCount();
    endResetModel();
}

void SongListModel::insertSongRow(int row, const RowTexts& texts) {
    row = std::clamp(row, 0, songRowCount());
    if (batch_) {
        rows_.insert(rows_.begin() + row, Row(texts));
        batchChanged_ = true;
        return;
    }
    beginInsertRows({}, row, row);
    rows_.insert(rows_.begin() + row, Row(texts));
    publishedRows_ = songRowCount();
    endInsertRows();
}

void SongListModel::setSongRowTexts(int row, const RowTexts& texts) {
    if (!validRow(row)) return;
    rows_[row].packed = Row(texts).packed;
    rowChanged(row);
}

void SongListModel::removeSongRow(int row) {
    if (!validRow(row)) return;
    if (batch_) {
        rows_.erase(rows_.begin() + row);
        batchChanged_ = true;
        return;
    }
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    publishedRows_ = songRowCount();
    endRemoveRows();
}

void SongListModel::setRowChecked(int row, bool checked) {
    if (!validRow(row) || rows_[row].checked == checked) return;
    rows_[row].checked = checked;
    rowChanged(row);
}

void SongListModel::markOnDevice(const std::vector<int>& rows) {
    int first = -1;
    int last = -1;
    for (int row : rows) {
        if (!validRow(row) || rows_[row].onDevice) continue;
        rows_[row].onDevice = true;
        if (first < 0 || row < first) first = row;
        last = std::max(last, row);
    }
    if (first < 0 || batch_) return;
    last = std::min(last, publishedRows_ - 1);
    if (first <= last) emit dataChanged(index(first, 0), index(last, kColumnCount - 1));
}

bool SongListModel::isOnDevice(int row) const { return validRow(row) && rows_[row].onDevice; }

bool SongListModel::isRowChecked(int row) const { return validRow(row) && rows_[row].checked; }

void SongListModel::setCheckBoxesShown(bool shown) {
    if (checkBoxesShown_ == shown) return;
    checkBoxesShown_ = shown;
    if (!batch_ && publishedRows_ > 0) emit dataChanged(index(0, 0), index(publishedRows_ - 1, 0));
}

void SongListModel::setBatchMode(bool on) {
    if (batch_ == on) return;
    batch_ = on;
    if (on) {
        batchChanged_ = false;
        return;
    }
    if (!batchChanged_ && publishedRows_ == songRowCount()) {
        // Only texts or checks changed: one repaint of what is shown.
        if (publishedRows_ > 0) emit dataChanged(index(0, 0), index(publishedRows_ - 1, kColumnCount - 1));
        return;
    }
    beginResetModel();
    publishedRows_ = songRowCount();
    endResetModel();
}

void SongListModel::rowChanged(int row) {
    if (batch_ || row >= publishedRows_) return;
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
}

int SongListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : publishedRows_; }

int SongListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant SongListModel::data(const QModelIndex& index, int role) const {
    // Views may ask for a row that a running batch has already removed.
    if (!index.isValid() || !validRow(index.row())) return {};
    const Row& row = rows_[index.row()];
    switch (role) {
        case Qt::DisplayRole: return row.text(index.column());
        case Qt::CheckStateRole:
            if (index.column() == 0 && checkBoxesShown_) return row.checked ? Qt::Checked : Qt::Unchecked;
            return {};
        case Qt::TextAlignmentRole: return QVariant::fromValue(alignments_[index.column()]);
        case kOnDeviceRole: return row.onDevice;
        case Qt::ToolTipRole:
        case Qt::AccessibleDescriptionRole:
            if (row.onDevice) return tr("Already on the USB drive");
            return {};
        default: return {};
    }
}

QVariant SongListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
    if (role == Qt::DisplayRole) return titles_[section];
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(alignments_[section]);
    return {};
}

Qt::ItemFlags SongListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    // Not user-checkable for Qt: the list view flips the box itself, after asking its guard.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace songloader::gui
