// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/cloud_catalogue_fixture.h"

#include <sqlite3.h>

#include <stdexcept>

#include "core/catalogue/cloud_catalogue.h"
#include "core/catalogue/device_database.h"

namespace songloader::test {

void WriteCloudCatalogue(const std::filesystem::path& file, const std::vector<CatalogueSong>& songs) {
    std::filesystem::remove(file);
    CatalogueDatabase db;
    if (!db.Open(file) || !CreateCatalogueTable(db, kSongListTable)) throw std::runtime_error("catalogue");
    if (!db.Execute("begin")) throw std::runtime_error("catalogue: " + db.lastError());
    SongListInserter insert(db);
    for (const CatalogueSong& song : songs) {
        DeviceDatabaseRow row;
        row.idx = song.number;
        row.lang = song.lang;
        row.name = row.allname = song.name;
        row.singername = song.singer;
        if (!insert.Insert(row)) throw std::runtime_error("insert");
    }
    if (!db.Execute("commit")) throw std::runtime_error("catalogue: " + db.lastError());
}

void ExecuteSql(const std::filesystem::path& file, const std::string& sql) {
    CatalogueDatabase db;
    if (!db.Open(file) || !db.Execute(sql)) throw std::runtime_error("sql on " + file.string() + ": " + db.lastError());
}

void WriteRecursiveSongView(const std::filesystem::path& file) {
    std::filesystem::remove(file);
    ExecuteSql(file,
               "create view songlist as with recursive r(x) as (select 1 union all select x + 1 from r) "
               "select x as idx, 0 as lang, 0 as cls, 'Title ' || x as name, '' as allname, 0 as abbr, "
               "0 as namelen, 'Singer' as singername from r;");
}

std::vector<std::string> QueryRows(const std::filesystem::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("open " + file.string());
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        std::string error = sqlite3_errmsg(db);
        sqlite3_close(db);
        throw std::runtime_error(error);
    }
    std::vector<std::string> rows;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        std::string row;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            if (c) row += '|';
            const unsigned char* text = sqlite3_column_text(stmt, c);
            if (text)
                row.append(reinterpret_cast<const char*>(text),
                           static_cast<std::size_t>(sqlite3_column_bytes(stmt, c)));
        }
        rows.push_back(row);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

}  // namespace songloader::test
