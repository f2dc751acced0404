// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

#include "core/common/result.h"

struct sqlite3;

namespace songloader {

inline constexpr const char* kDeviceDatabaseName = "usbsong.db";
inline constexpr const char* kCloudDatabaseName = "Msong.db";

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

}  // namespace songloader
