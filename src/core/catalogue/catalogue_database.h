// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/row_element.h"
#include "core/common/result.h"
#include "core/common/translatable.h"

struct sqlite3;
struct sqlite3_stmt;

namespace songloader {

inline constexpr const char* kDeviceDatabaseName = "usbsong.db";
inline constexpr const char* kCloudDatabaseName = "Msong.db";

// Table kinds of the catalogue schema; the device only ever gets songlist.
enum CatalogueTableKind : int {
    kSingerPicTable = 0,
    kSingerListTable = 1,
    kSongListTable = 2,
    kInfoTable = 3,
    kBhSrfTable = 4,
};

// An open SQLite database; closes itself.
class CatalogueDatabase {
public:
    CatalogueDatabase() = default;
    ~CatalogueDatabase();
    CatalogueDatabase(CatalogueDatabase&& other) noexcept;
    CatalogueDatabase& operator=(CatalogueDatabase&& other) noexcept;
    CatalogueDatabase(const CatalogueDatabase&) = delete;
    CatalogueDatabase& operator=(const CatalogueDatabase&) = delete;

    // sqlite3_open: creates an empty database when the file is missing. A failure says SQLite's
    // reason.
    Result<> Open(const std::filesystem::path& file);
    // Read-only: never creates, changes or rolls back anything (a hot journal is left alone and
    // makes reads fail), so reading cannot alter the file or its journal.
    Result<> OpenForReading(const std::filesystem::path& file);
    void Close();
    bool isOpen() const { return db_ != nullptr; }
    sqlite3* handle() const { return db_; }
    std::string lastError() const;
    // Runs statements without results; a failure says SQLite's reason (as lastError does).
    Result<> Execute(const std::string& sql);

private:
    Result<> OpenWith(const std::filesystem::path& file, int flags);

    sqlite3* db_ = nullptr;
    std::string openError_;  // why the last open was refused before SQLite saw the file
};

// "create table %s %s" for one table kind; a failure says SQLite's reason.
Result<> CreateCatalogueTable(CatalogueDatabase& db, int kind);

// The four PRAGMAs, then one index per songlist column. A failure (SQLite's reason) closes the
// database.
Result<> PrepareCatalogueIndexes(CatalogueDatabase& db);

// Deletes `file` when present and creates it anew with the songlist table. Fails when the database
// cannot be opened. A songlist table that cannot be created is no failure (the database is still
// written, as the player expects): the lines about it are the value, notes for a console.
Result<std::vector<std::string>> CreateDeviceDatabase(CatalogueDatabase& db, const std::filesystem::path& file);

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

// Search-language combo index -> language filter: 0 none, 1 OPM, 2 EG, 3 ES, other -> 27.
enum class SearchFilter { All, Opm, English, Spanish, Other };
SearchFilter SearchFilterFromIndex(int comboIndex);

inline constexpr const char* kNotACatalogueMessage = SL_TRANSLATE_NOOP("Core", " is not a song catalogue");  // after the file name

// What a catalogue read may cost: a list file holds at most 65,535 songs, and a hostile file must
// not keep a read busy for long.
struct CatalogueReadLimits {
    std::size_t maxRows = 65535;
    std::chrono::milliseconds time{10000};
};

// The cloud catalogue (Msong.db) kept open for searching. The search runs on every keystroke,
// so the four columns it reads are taken into memory once when the catalogue is opened.
// It is read only when `songlist` is a real table with the columns the search reads, of at most
// maxRows rows that reads within the time limit; anything else is "not a song catalogue" and searches fail.
class CloudCatalogue {
public:
    explicit CloudCatalogue(CatalogueReadLimits limits = {}) : limits_(limits) {}

    // Fails when the database cannot be opened (a missing file included: it is never created).
    // An open file that is no song catalogue is not a failure: see isSongCatalogue.
    Result<> OpenCatalogueDatabase(const std::filesystem::path& songFolder);
    // The same on any file, e.g. a download before it is put in place.
    Result<> OpenCatalogueFile(const std::filesystem::path& file);
    void CloseCatalogueDatabase();
    bool isOpen() const { return db_.isOpen(); }
    // Open, and its songs were read.
    bool isSongCatalogue() const { return loaded_; }

    // Songs whose title or artist starts with `text` (a literal prefix; ASCII letters in any case),
    // in table order; fails when no song catalogue is open.
    Result<> SearchCloudCatalogue(std::string_view text, SearchFilter filter,
                             const std::function<void(const ROWELEMENT& hit, std::size_t index)>& onHit);

private:
    // A song's texts live in texts_, one after another: one allocation for the whole catalogue
    // instead of several per song.
    struct TextSpan {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
        bool null = true;  // a NULL never matches
    };
    struct Entry {
        std::int32_t number = 0;        // as a song number holds it
        std::int64_t wholeNumber = 0;   // the integer as stored, for its digits
        std::int64_t language = 0;
        bool hasLanguage = false;  // false for NULL: no language filter matches it
        TextSpan numberText;       // null when the number is an integer: its digits then
        TextSpan title;
        TextSpan artist;
    };
    std::string_view TextOf(const TextSpan& span) const {
        return std::string_view(texts_).substr(span.offset, span.length);
    }
    TextSpan KeepText(sqlite3_stmt* stmt, int column);
    bool LoadEntries();
    bool IsSongTable();
    // `songlist` has idx, lang, name and singername where the search reads them.
    bool HasSearchColumns();

    CatalogueReadLimits limits_;
    CatalogueDatabase db_;
    std::filesystem::path file_;  // the file last opened, for messages
    std::vector<Entry> entries_;
    std::string texts_;
    bool loaded_ = false;
};

}  // namespace songloader
