// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/catalogue/catalogue_database.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sqlite3.h>

#include <cstdio>
#include <cstring>
#include <system_error>

#include "core/catalogue/language_table.h"
#include "core/catalogue/song_search.h"

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
constexpr const char* kIndexedColumns[] = {"singerid4", "singerid3", "singerid2", "singerid1", "rank",
                                           "newflag",   "track",     "vollevel",  "singername", "namelen",
                                           "abbr",      "name",      "cls",       "lang",       "idx"};

// Song texts are at most 255 bytes in a list file; room for far more, but not for a gigabyte.
constexpr int kMaxCatalogueText = 1 << 20;
// Virtual machine steps between two looks at the clock during a catalogue read.
constexpr int kProgressSteps = 10000;

int PastDeadline(void* deadline) {
    return std::chrono::steady_clock::now() > *static_cast<std::chrono::steady_clock::time_point*>(deadline) ? 1 : 0;
}

std::optional<std::int64_t> LanguageFilterOf(SearchFilter filter) {
    switch (filter) {
        case SearchFilter::All: return std::nullopt;
        case SearchFilter::Opm: return 6;
        case SearchFilter::English: return 0;
        case SearchFilter::Spanish: return 2;
        case SearchFilter::Other: break;
    }
    return 27;
}

}  // namespace

CatalogueDatabase::~CatalogueDatabase() { Close(); }

CatalogueDatabase::CatalogueDatabase(CatalogueDatabase&& other) noexcept : db_(other.db_) { other.db_ = nullptr; }

CatalogueDatabase& CatalogueDatabase::operator=(CatalogueDatabase&& other) noexcept {
    if (this != &other) {
        Close();
        db_ = other.db_;
        other.db_ = nullptr;
    }
    return *this;
}

Result<> CatalogueDatabase::Open(const std::filesystem::path& file) {
    return OpenWith(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

Result<> CatalogueDatabase::OpenForReading(const std::filesystem::path& file) {
    return OpenWith(file, SQLITE_OPEN_READONLY);
}

Result<> CatalogueDatabase::OpenWith(const std::filesystem::path& file, int flags) {
    Close();
    openError_.clear();
    // A FIFO or a device where the database should be would hold the open for ever: only a
    // regular file (or none, when it may be created) is handed to SQLite.
    if (const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); fd >= 0) {
        struct stat info {};
        const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
        ::close(fd);
        if (!regular) {
            openError_ = "not a regular file";
            return Fail(openError_);
        }
    }
    // Each handle is used by one thread at a time: no per-call locking.
    if (sqlite3_open_v2(file.c_str(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        // The reason is the handle's: taken before the handle goes.
        Failure failure = Fail(db_ ? lastError() : "out of memory");
        Close();
        return failure;
    }
    return {};
}

void CatalogueDatabase::Close() {
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

std::string CatalogueDatabase::lastError() const {
    if (!db_) return openError_.empty() ? "database not open" : openError_;
    const int system = sqlite3_system_errno(db_);
    // A call that worked since the failure leaves SQLite saying "not an error": the system's reason
    // is then all that is left to tell.
    if (sqlite3_errcode(db_) == SQLITE_OK) {
        return system != 0 ? std::strerror(system) : "the database could not be written (no reason was kept)";
    }
    std::string text = sqlite3_errmsg(db_);
    // SQLite's words alone ("disk I/O error") hide the system's reason.
    if (system != 0) text += " (" + std::string(std::strerror(system)) + ")";
    return text;
}

Result<> CatalogueDatabase::Execute(const std::string& sql) {
    if (!db_) return Fail(lastError());
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) return Fail(lastError());
    return {};
}

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
        std::snprintf(statement, sizeof statement, "create index %s_ on %s(%s) ;", column, kSongListTableName,
                      column);
        (void)db.Execute(statement);  // an index that exists already just fails
    }
    return {};
}

Result<std::vector<std::string>> CreateDeviceDatabase(CatalogueDatabase& db, const std::filesystem::path& file) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    if (Result<> opened = db.Open(file); !opened) return opened.failure();
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

SearchFilter SearchFilterFromIndex(int comboIndex) {
    switch (comboIndex) {
        case 0: return SearchFilter::All;
        case 1: return SearchFilter::Opm;
        case 2: return SearchFilter::English;
        case 3: return SearchFilter::Spanish;
        default: return SearchFilter::Other;
    }
}

Result<> CloudCatalogue::OpenCatalogueDatabase(const std::filesystem::path& songFolder) {
    return OpenCatalogueFile(songFolder / kCloudDatabaseName);
}

Result<> CloudCatalogue::OpenCatalogueFile(const std::filesystem::path& file) {
    entries_.clear();
    loaded_ = false;
    file_ = file;
    if (Result<> opened = db_.OpenForReading(file); !opened) {
        return Fail("cannot open " + file.string() + ": " + opened.message());
    }
    // The file comes from the network: its schema runs no functions with side effects, a text
    // cannot be larger than any song text could sensibly be, and the read has a deadline.
    sqlite3_db_config(db_.handle(), SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db_.handle(), SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_limit(db_.handle(), SQLITE_LIMIT_LENGTH, kMaxCatalogueText);
    auto deadline = std::chrono::steady_clock::now() + limits_.time;
    sqlite3_progress_handler(db_.handle(), kProgressSteps, PastDeadline, &deadline);
    loaded_ = IsSongTable() && LoadEntries();
    sqlite3_progress_handler(db_.handle(), 0, nullptr, nullptr);
    return {};
}

bool CloudCatalogue::IsSongTable() {
    // A view (a recursive one never ends) or a virtual table is no catalogue.
    const char* sql = "select count(*) from main.sqlite_master where type = 'table' and name = 'songlist' "
                      "collate nocase and sql not like 'create virtual%'";
    sqlite3_stmt* stmt = nullptr;
    bool table = sqlite3_prepare_v2(db_.handle(), sql, -1, &stmt, nullptr) == SQLITE_OK &&
                 sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_int(stmt, 0) == 1;
    sqlite3_finalize(stmt);
    return table && HasSearchColumns();
}

bool CloudCatalogue::HasSearchColumns() {
    // The search reads the number, the language, the title and the artist by their places.
    static constexpr std::pair<int, const char*> kRead[] = {{0, "idx"}, {1, "lang"}, {3, "name"}, {7, "singername"}};
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_.handle(), "select cid, name from pragma_table_info('songlist', 'main')", -1, &stmt,
                           nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return false;
    }
    std::size_t found = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        const int place = sqlite3_column_int(stmt, 0);
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
        for (const auto& [wanted, wantedName] : kRead) {
            if (place == wanted && name && sqlite3_stricmp(name, wantedName) == 0) ++found;
        }
    }
    sqlite3_finalize(stmt);
    return found == std::size(kRead);
}

void CloudCatalogue::CloseCatalogueDatabase() {
    db_.Close();
    entries_.clear();
    texts_.clear();
    loaded_ = false;
}

CloudCatalogue::TextSpan CloudCatalogue::KeepText(sqlite3_stmt* stmt, int column) {
    TextSpan span;
    if (sqlite3_column_type(stmt, column) == SQLITE_NULL) return span;
    const unsigned char* text = sqlite3_column_text(stmt, column);
    span.null = false;
    span.offset = static_cast<std::uint32_t>(texts_.size());
    if (text) {
        span.length = static_cast<std::uint32_t>(sqlite3_column_bytes(stmt, column));
        texts_.append(reinterpret_cast<const char*>(text), span.length);
    }
    return span;
}

bool CloudCatalogue::LoadEntries() {
    sqlite3_stmt* stmt = nullptr;
    // Only the four columns the search reads (HasSearchColumns found them), in table order: a
    // covering index must not be scanned instead, its order is not the table's.
    const char* sql = "select idx, lang, name, singername from main.songlist not indexed";
    if (sqlite3_prepare_v2(db_.handle(), sql, -1, &stmt, nullptr) != SQLITE_OK || !stmt) {
        sqlite3_finalize(stmt);
        return false;
    }
    entries_.reserve(std::min<std::size_t>(limits_.maxRows, 65536));
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (entries_.size() == limits_.maxRows) break;  // one more than a list can hold
        Entry& entry = entries_.emplace_back();
        entry.number = sqlite3_column_int(stmt, 0);
        if (sqlite3_column_type(stmt, 0) == SQLITE_INTEGER) {
            entry.wholeNumber = sqlite3_column_int64(stmt, 0);
        } else {
            entry.numberText = KeepText(stmt, 0);
            entry.numberText.null = false;  // a NULL number reads as no text, as before
        }
        entry.hasLanguage = sqlite3_column_type(stmt, 1) != SQLITE_NULL;
        if (entry.hasLanguage) entry.language = sqlite3_column_int64(stmt, 1);
        entry.title = KeepText(stmt, 2);
        entry.artist = KeepText(stmt, 3);
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) {
        entries_.clear();
        texts_.clear();
    }
    return rc == SQLITE_DONE;
}

Result<> CloudCatalogue::SearchCloudCatalogue(std::string_view text, SearchFilter filter,
                                              const std::function<void(const ROWELEMENT&, std::size_t)>& onHit) {
    if (!db_.isOpen()) return Fail("no cloud catalogue is open");
    if (!loaded_) return Fail(file_.string() + kNotACatalogueMessage);
    const std::optional<std::int64_t> language = LanguageFilterOf(filter);
    std::size_t k = 0;
    ROWELEMENT hit;  // reused: its strings keep their room from hit to hit
    for (const Entry& entry : entries_) {
        if (language && (!entry.hasLanguage || entry.language != *language)) continue;
        const bool matches = (!entry.title.null && StartsWithIgnoringAsciiCase(TextOf(entry.title), text)) ||
                             (!entry.artist.null && StartsWithIgnoringAsciiCase(TextOf(entry.artist), text));
        if (!matches) continue;
        hit.number = entry.number;
        if (entry.numberText.null) {
            hit.numberText = std::to_string(entry.wholeNumber);
        } else {
            hit.numberText = TextOf(entry.numberText);
        }
        hit.title = TextOf(entry.title);
        if (IsMvNumber(hit.number)) hit.title += kMvSuffix;
        hit.artist = TextOf(entry.artist);
        SetLanguage(hit, entry.hasLanguage ? static_cast<int>(entry.language) : kOtherLanguage);
        if (onHit) onHit(hit, k);
        ++k;
    }
    return {};
}

}  // namespace songloader
