#include "core/entry/catalogue_rebuild.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "core/catalogue/catalogue_database.h"
#include "core/catalogue/list_file_reader.h"
#include "core/common/safe_file.h"
#include "core/songlist/song_list_writer.h"
#include "core/songlist/song_text.h"

namespace songloader {

namespace {

constexpr std::uint8_t kSongTrailer = 0x07;

Notice AppNotice(std::string text) { return {std::move(text), kApplicationName, NoticeIcon::None}; }

const char* ClosingMessage(RebuildMode mode) {
    switch (mode) {
        case RebuildMode::Revise: return kRevisedMessage;
        case RebuildMode::Delete: return kDeletedMessage;
        case RebuildMode::Add: break;
    }
    return kAddedMessage;
}

// Removes a temporary database and its journal unless it was moved into place.
struct TemporaryDatabase {
    std::filesystem::path path;
    bool published = false;
    ~TemporaryDatabase() {
        if (published) return;
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        std::filesystem::path journal = path;
        journal += "-journal";
        std::filesystem::remove(journal, ignored);
    }
};

// The player expects one 0x07 byte per song after the database; then the file is flushed.
bool AppendTrailerAndSync(const std::filesystem::path& file, std::size_t songCount, std::string& error) {
    int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    const std::string trailer(songCount, static_cast<char>(kSongTrailer));
    std::size_t written = 0;
    while (written < trailer.size()) {
        ssize_t n = ::write(fd, trailer.data() + written, trailer.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        written += static_cast<std::size_t>(n);
    }
    bool ok = written == trailer.size() && ::fsync(fd) == 0;
    if (!ok) error = std::strerror(errno);
    ::close(fd);
    return ok;
}

}  // namespace

RebuildResult RebuildDeviceCatalogue(const SongList& songs, const std::filesystem::path& songFolder,
                                     RebuildMode mode, const RebuildHooks& hooks, const std::string& codePage) {
    RebuildResult result;
    auto fail = [&result](Notice notice) {
        result.notices.push_back(std::move(notice));
        return result;
    };
    const std::filesystem::path databaseFile = songFolder / kDeviceDatabaseName;
    const std::filesystem::path listFile = songFolder / kDeviceListName;

    TemporaryDatabase temporary{TemporaryNameFor(databaseFile)};
    CatalogueDatabase db;
    if (!CreateDeviceDatabase(db, temporary.path, &result.diagnostics)) {
        return fail(AppNotice("Cannot create " + databaseFile.string() + ": " + db.lastError()));
    }

    SongText text;
    text.codePage = codePage;
    text.bytes.reserve(std::min<std::size_t>(kSongTextReserve, songs.size() * 96 + 64));
    {
        SongListInserter inserter(db);
        if (!db.Execute("begin") || !inserter.ready()) {
            return fail(AppNotice("Cannot write " + databaseFile.string() + ": " + db.lastError()));
        }
        for (std::size_t i = 0; i < songs.size(); ++i) {
            AppendSongTextRow(text, songs[i]);
            if (!inserter.Insert(MakeDeviceDatabaseRow(songs[i]))) {
                return fail(AppNotice("Cannot write " + databaseFile.string() + ": " + db.lastError()));
            }
            if (hooks.onSong) hooks.onSong(i + 1, songs.size());
        }
    }
    if (!songs.empty() && PrepareCatalogueIndexes(db) != 0) {
        return fail(AppNotice("Cannot index " + databaseFile.string()));
    }
    if (!db.Execute("commit")) {
        return fail(AppNotice("Cannot write " + databaseFile.string() + ": " + db.lastError()));
    }
    db.Close();
    std::string trailerError;
    if (!AppendTrailerAndSync(temporary.path, songs.size(), trailerError)) {
        return fail(AppNotice("Cannot write " + databaseFile.string() + ": " + trailerError));
    }

    std::optional<SafeFileWriter> list;
    if (!songs.empty()) {
        SongListBuild build = BuildSongList(&text);
        if (!build.ok) {
            result.notices = std::move(build.notices);
            return result;
        }
        list.emplace(listFile);
        if (!list->ok()) return fail(AppNotice(kCreateSongListFailMessage));
        if (!list->Write(build.bytes.data(), build.bytes.size()) || !list->Finish()) {
            return fail(AppNotice("Cannot write " + listFile.string() + ": " + list->error()));
        }
    }

    // Both files are complete and flushed: only now replace the old catalogue.
    std::error_code error;
    if (list) {
        if (!list->Publish()) return fail(AppNotice("Cannot replace " + listFile.string() + ": " + list->error()));
    } else if (std::filesystem::exists(listFile, error) && !std::filesystem::remove(listFile, error)) {
        return fail(AppNotice("Cannot remove " + listFile.string() + ": " + error.message()));
    }
    if (::rename(temporary.path.c_str(), databaseFile.c_str()) != 0) {
        return fail(AppNotice("Cannot replace " + databaseFile.string() + ": " + std::strerror(errno)));
    }
    temporary.published = true;
    SyncFolder(songFolder);

    result.ok = true;
    result.notices.push_back({ClosingMessage(mode), kCaptionNote, NoticeIcon::None});
    return result;
}

}  // namespace songloader
