// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/catalogue/device_database.h"

#include <sqlite3.h>

#include <cstdio>
#include <system_error>

namespace songloader {

namespace {

constexpr const char* kSongListTableName = "songlist";

struct TableText {
    const char* name;
    const char* columns;
};

constexpr TableText kTables[] = {
    {"singerpic",
     " (nbr primary key, idx integer, pic_flag integer, pic_width integer, pic_height integer, pic_dat blob);"},
    {"singerlist", " (nbr primary key, idx integer, name varchar(48) , abbr integer, sex integer, dist integer);"},
    {"songlist",
     " (idx integer, lang integer, cls integer, name varchar(160), allname varchar(160),abbr integer, namelen "
     "integer, singername varchar(160), vollevel integer, track integer, newflag integer, rank integer, "
     "singerid1 integer, singerid2 integer, singerid3 integer, singerid4 integer );"},
    {"infotab", " (nbr primary key, idx integer,name varchar(2048));"},
    {"bhSrf", " (nbr primary key, idx integer,abbr varchar(40),font varchar(10));"},
};

// Index order: the songlist columns from last to first.
constexpr const char* kIndexedColumns[] = {"singerid4", "singerid3", "singerid2", "singerid1",  "rank",
                                           "newflag",   "track",     "vollevel",  "singername", "namelen",
                                           "abbr",      "name",      "cls",       "lang",       "idx"};

}  // namespace

Result<> CreateCatalogueTable(CatalogueDatabase& db, int kind) {
    if (kind < 0 || kind > kBhSrfTable) return Fail("no table kind " + std::to_string(kind));
    const TableText& table = kTables[kind];
    return db.Execute(std::string("create table ") + table.name + " " + table.columns);
}

Result<> PrepareCatalogueIndexes(CatalogueDatabase& db) {
    if (!db.isOpen()) return Fail(db.lastError());
    Result<> last;
    for (const char* pragma : {"PRAGMA synchronous = OFF", "PRAGMA page_size = 4096", "PRAGMA cache_size = 8000",
                               "PRAGMA case_sensitive_like=1"}) {
        last = db.Execute(pragma);  // only the last outcome counts
    }
    if (!last) {
        db.Close();
        return last;
    }
    for (const char* column : kIndexedColumns) {
        char statement[256];
        std::snprintf(statement, sizeof statement, "create index %s_ on %s(%s) ;", column, kSongListTableName, column);
        (void)db.Execute(statement);  // an index that exists already just fails
    }
    return {};
}

Result<std::vector<std::string>> CreateDeviceDatabase(CatalogueDatabase& db, const std::filesystem::path& file,
                                                      bool flushedByCaller) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    if (Result<> opened = db.Open(file); !opened) return opened.failure();
    // Not stored in the file: its bytes are the same either way.
    if (flushedByCaller) (void)db.Execute("PRAGMA synchronous = OFF");
    std::vector<std::string> notes;
    if (const Result<> created = CreateCatalogueTable(db, kSongListTable); !created) {
        notes.push_back(created.message() + "\n");
        notes.push_back("Step 2. Create Singer list table failed.\n");
        (void)db.Execute(std::string("TRUNCATE TABLE ") + kSongListTableName);
    }
    return notes;
}

std::string TitleInitials(std::string_view title) {
    constexpr std::size_t kMaxInitials = 255;
    std::string initials;
    if (title.empty()) return initials;
    initials += title[0];
    for (std::size_t i = 1; i + 1 < title.size() && initials.size() < kMaxInitials; ++i) {
        if (title[i] == ' ') initials += title[i + 1];
    }
    return initials;
}

std::int64_t InitialsValue(std::string_view initials) {
    std::int64_t value = 0;
    std::int64_t weight = 14348907;  // 27^5
    for (std::size_t i = 0; i < initials.size() && i < 6; ++i) {
        const char c = initials[i];
        int letter = 0;
        if (c >= 'A' && c <= 'Z') letter = c - 'A' + 1;
        else if (c >= 'a' && c <= 'z') letter = c - 'a' + 1;
        else break;
        value += letter * weight;
        weight /= 27;
    }
    return value;
}

DeviceDatabaseRow MakeDeviceDatabaseRow(const ROWELEMENT& song) {
    DeviceDatabaseRow row;
    row.idx = song.number;
    row.lang = song.language;
    row.name = song.title;
    row.allname = song.title;
    const std::string initials = TitleInitials(song.title);
    row.abbr = InitialsValue(initials);
    row.namelen = static_cast<std::int64_t>(initials.size());
    row.singername = song.artist;
    return row;
}

SongListInserter::SongListInserter(CatalogueDatabase& db) : db_(db) {
    if (!db_.isOpen()) return;
    // User text travels as bound values, never inside the statement.
    const char* sql = "insert into songlist values(?, ?, ?, ?, ?, ?, ?, ?, ?, ?,?,?,?,?,?,?);";
    if (sqlite3_prepare_v2(db_.handle(), sql, -1, &stmt_, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }
}

SongListInserter::~SongListInserter() { sqlite3_finalize(stmt_); }

bool SongListInserter::Insert(const DeviceDatabaseRow& row) {
    if (!stmt_) return false;
    sqlite3_reset(stmt_);
    int i = 0;
    auto bindInt = [&](std::int64_t v) { sqlite3_bind_int64(stmt_, ++i, v); };
    auto bindText = [&](const std::string& v) {
        sqlite3_bind_text(stmt_, ++i, v.data(), static_cast<int>(v.size()), SQLITE_STATIC);
    };
    bindInt(row.idx);
    bindInt(row.lang);
    bindInt(row.cls);
    bindText(row.name);
    bindText(row.allname);
    bindInt(row.abbr);
    bindInt(row.namelen);
    bindText(row.singername);
    bindInt(row.vollevel);
    bindInt(row.track);
    bindInt(row.newflag);
    bindInt(row.rank);
    bindInt(row.singerid1);
    bindInt(row.singerid2);
    bindInt(row.singerid3);
    bindInt(row.singerid4);
    const bool done = sqlite3_step(stmt_) == SQLITE_DONE;
    sqlite3_clear_bindings(stmt_);
    return done;
}

}  // namespace songloader
