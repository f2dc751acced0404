#include "support/cloud_catalogue_fixture.h"

#include <sqlite3.h>

#include <stdexcept>

#include "core/catalogue/catalogue_database.h"

namespace songloader::test {

void WriteCloudCatalogue(const std::filesystem::path& file, const std::vector<CatalogueSong>& songs) {
    std::filesystem::remove(file);
    CatalogueDatabase db;
    if (!db.Open(file) || !CreateCatalogueTable(db, kSongListTable)) throw std::runtime_error("catalogue");
    db.Execute("begin");
    SongListInserter insert(db);
    for (const CatalogueSong& song : songs) {
        DeviceDatabaseRow row;
        row.idx = song.number;
        row.lang = song.lang;
        row.name = row.allname = song.name;
        row.singername = song.singer;
        if (!insert.Insert(row)) throw std::runtime_error("insert");
    }
    db.Execute("commit");
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
            if (text) row.append(reinterpret_cast<const char*>(text), static_cast<std::size_t>(sqlite3_column_bytes(stmt, c)));
        }
        rows.push_back(row);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

}  // namespace songloader::test
