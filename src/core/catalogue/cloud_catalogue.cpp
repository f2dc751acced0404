// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/catalogue/cloud_catalogue.h"

#include <sqlite3.h>

#include "core/catalogue/language_table.h"
#include "core/catalogue/song_search.h"

namespace songloader {

namespace {

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
    const char* sql =
        "select count(*) from main.sqlite_master where type = 'table' and name = 'songlist' "
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
