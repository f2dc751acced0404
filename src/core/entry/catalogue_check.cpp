// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/entry/catalogue_check.h"

#include <sqlite3.h>

#include <algorithm>
#include <unordered_map>
#include <system_error>

#include "core/catalogue/catalogue_database.h"
#include "core/catalogue/list_file_reader.h"

namespace songloader {

namespace {

struct DatabaseSong {
    std::string title;
    std::string artist;
};

std::string Column(sqlite3_stmt* statement, int column) {
    const auto* text = sqlite3_column_text(statement, column);
    return text ? std::string(reinterpret_cast<const char*>(text), sqlite3_column_bytes(statement, column)) : "";
}

}  // namespace

std::vector<std::string> CompareListAndDatabase(const SongList& listSongs, const std::filesystem::path& databaseFile) {
    std::error_code error;
    if (!std::filesystem::exists(databaseFile, error)) {
        if (listSongs.empty()) return {};
        return {databaseFile.filename().string() + " is missing"};
    }
    CatalogueDatabase db;
    sqlite3_stmt* statement = nullptr;
    if (!db.OpenForReading(databaseFile) ||
        sqlite3_prepare_v2(db.handle(), "select idx, name, singername from songlist", -1, &statement, nullptr) !=
            SQLITE_OK) {
        return {databaseFile.filename().string() + " cannot be read: " + db.lastError()};
    }
    std::unordered_map<std::int64_t, DatabaseSong> inDatabase;
    inDatabase.reserve(listSongs.size());
    int step = SQLITE_ROW;
    // More rows than a list can hold cannot agree with one: no need to read on.
    while (inDatabase.size() <= kListMaxSongs && (step = sqlite3_step(statement)) == SQLITE_ROW) {
        inDatabase.try_emplace(sqlite3_column_int64(statement, 0),
                               DatabaseSong{Column(statement, 1), Column(statement, 2)});
    }
    sqlite3_finalize(statement);
    if (step != SQLITE_DONE && step != SQLITE_ROW) {
        return {databaseFile.filename().string() + " cannot be read: " + db.lastError()};
    }

    std::vector<std::string> lines;
    for (const ROWELEMENT& song : listSongs) {
        const auto found = inDatabase.find(song.number);
        if (found == inDatabase.end()) {
            lines.push_back(song.numberText + "\tin the list, not in the database");
            continue;
        }
        if (found->second.title != song.title || found->second.artist != song.artist) {
            lines.push_back(song.numberText + "\ttitle or artist differ between the list and the database");
        }
        inDatabase.erase(found);
    }
    // In number order, whatever order the table holds them in.
    std::vector<std::int64_t> onlyInDatabase;
    for (const auto& entry : inDatabase) onlyInDatabase.push_back(entry.first);
    std::sort(onlyInDatabase.begin(), onlyInDatabase.end());
    for (const std::int64_t number : onlyInDatabase) {
        lines.push_back(std::to_string(number) + "\tin the database, not in the list");
    }
    return lines;
}

}  // namespace songloader
