// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/catalogue_database.h"
#include "core/catalogue/row_element.h"

struct sqlite3_stmt;

namespace songloader {

// The device's catalogue database (usbsong.db): its schema, indexes and rows.

// Table kinds of the catalogue schema; the device only ever gets songlist.
enum CatalogueTableKind : int {
    kSingerPicTable = 0,
    kSingerListTable = 1,
    kSongListTable = 2,
    kInfoTable = 3,
    kBhSrfTable = 4,
};

// "create table %s %s" for one table kind; a failure says SQLite's reason.
Result<> CreateCatalogueTable(CatalogueDatabase& db, int kind);

// The four PRAGMAs, then one index per songlist column. A failure (SQLite's reason) closes the
// database.
Result<> PrepareCatalogueIndexes(CatalogueDatabase& db);

// Deletes `file` when present and creates it anew with the songlist table. Fails when the database
// cannot be opened. A songlist table that cannot be created is no failure (the database is still
// written, as the player expects): the lines about it are the value, notes for a console.
// `flushedByCaller`: the caller flushes the finished file itself before it counts (a temporary put
// in place afterwards), so SQLite's own flushes of each transaction are left out.
Result<std::vector<std::string>> CreateDeviceDatabase(CatalogueDatabase& db, const std::filesystem::path& file,
                                                      bool flushedByCaller = false);

// The initials of a title: the first byte, then the byte after every inner space (at most 255).
std::string TitleInitials(std::string_view title);
// Base-27 value of up to six leading letters of the initials.
std::int64_t InitialsValue(std::string_view initials);

// One songlist row of the device database, in column order.
struct DeviceDatabaseRow {
    std::int64_t idx = 0;
    std::int64_t lang = 0;
    std::int64_t cls = 0;
    std::string name;
    std::string allname;
    std::int64_t abbr = 0;
    std::int64_t namelen = 0;
    std::string singername;
    std::int64_t vollevel = 50;
    std::int64_t track = 0;
    std::int64_t newflag = 1;
    std::int64_t rank = 1;
    std::int64_t singerid1 = 0, singerid2 = 0, singerid3 = 0, singerid4 = 0;
};
DeviceDatabaseRow MakeDeviceDatabaseRow(const ROWELEMENT& song);

// Inserts rows into songlist through one prepared statement with bound values.
class SongListInserter {
public:
    explicit SongListInserter(CatalogueDatabase& db);
    ~SongListInserter();
    SongListInserter(const SongListInserter&) = delete;
    SongListInserter& operator=(const SongListInserter&) = delete;
    bool ready() const { return stmt_ != nullptr; }
    bool Insert(const DeviceDatabaseRow& row);

private:
    CatalogueDatabase& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace songloader
