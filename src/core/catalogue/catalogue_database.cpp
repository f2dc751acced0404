// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/catalogue/catalogue_database.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sqlite3.h>

#include <cstring>

namespace songloader {

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

}  // namespace songloader
