// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <string>
#include <vector>

#include "core/app/dialog_view.h"

namespace songloader::gui {

// The rows of one song list: six UTF-8 texts and a check state per row. The calls mirror what the
// window's logic does to a list. A list can hold 65,535 rows: rows are plain values (no item
// objects), appending is amortised, and in batch mode the attached views learn of every change
// made meanwhile through one reset at the end.
class SongListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumnCount = 6;
    // True for a row marked as a song already on the device (apart from its tick).
    static constexpr int kOnDeviceRole = Qt::UserRole + 1;

    explicit SongListModel(QObject* parent = nullptr);

    // Title and alignment of a column (the header and the cells use both).
    void setColumn(int column, const QString& title, Qt::Alignment alignment);

    void removeAllRows();
    // Every row at once, unticked: one reset for the views (and the accessibility layer).
    void setAllRows(std::vector<RowTexts> rows);
    void insertSongRow(int row, const RowTexts& texts);
    void setSongRowTexts(int row, const RowTexts& texts);
    void removeSongRow(int row);
    void setRowChecked(int row, bool checked);
    // Marks `rows` (ascending) as songs already on the device, with one change for the views.
    void markOnDevice(const std::vector<int>& rows);
    bool isOnDevice(int row) const;
    bool isRowChecked(int row) const;
    void setCheckBoxesShown(bool shown);
    bool checkBoxesShown() const { return checkBoxesShown_; }

    // Batch mode: while on, views keep the row count they knew; turning it off publishes every
    // change at once.
    void setBatchMode(bool on);
    bool inBatchMode() const { return batch_; }
    // Rows held, including those a batch has not published yet.
    int songRowCount() const { return static_cast<int>(rows_.size()); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    // The six texts back to back, each ended by a NUL: one allocation per row instead of six
    // strings (two lists of 65,535 rows are a good part of the window's memory).
    struct Row {
        explicit Row(const RowTexts& texts);
        QString text(int column) const;
        std::string packed;
        bool checked = false;
        bool onDevice = false;
    };
    bool validRow(int row) const { return row >= 0 && row < songRowCount(); }
    void rowChanged(int row);

    std::vector<Row> rows_;
    std::array<QString, kColumnCount> titles_;
    std::array<Qt::Alignment, kColumnCount> alignments_;
    bool checkBoxesShown_ = false;
    bool batch_ = false;
    bool batchChanged_ = false;
    int publishedRows_ = 0;
};

}  // namespace songloader::gui
