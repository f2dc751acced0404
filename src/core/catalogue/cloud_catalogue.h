// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/catalogue_database.h"
#include "core/catalogue/row_element.h"
#include "core/common/translatable.h"

struct sqlite3_stmt;

namespace songloader {

// Search-language combo index -> language filter: 0 none, 1 OPM, 2 EG, 3 ES, other -> 27.
enum class SearchFilter { All, Opm, English, Spanish, Other };
SearchFilter SearchFilterFromIndex(int comboIndex);

inline constexpr const char* kNotACatalogueMessage =
    SL_TRANSLATE_NOOP("Core", " is not a song catalogue");  // after the file name

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
        std::int32_t number = 0;       // as a song number holds it
        std::int64_t wholeNumber = 0;  // the integer as stored, for its digits
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
