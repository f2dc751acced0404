// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/entry/catalogue_rebuild.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

#include "core/catalogue/device_database.h"
#include "core/catalogue/list_file_reader.h"
#include "core/common/device_folder.h"
#include "core/common/pair_replacement.h"
#include "core/common/temporary_name.h"
#include "core/common/safe_file.h"
#include "core/songlist/song_list_writer.h"
#include "core/songlist/song_text.h"

namespace songloader {

namespace {

constexpr std::uint8_t kSongTrailer = 0x07;

const char* ClosingMessage(RebuildMode mode) {
    switch (mode) {
        case RebuildMode::Revise: return kRevisedMessage;
        case RebuildMode::Delete: return kDeletedMessage;
        case RebuildMode::Add: break;
    }
    return kAddedMessage;
}

// The player expects one 0x07 byte per song after the database.
Result<> AppendTrailer(const DeviceFolder& folder, const std::string& file, std::size_t songCount) {
    int fd = ::openat(folder.fd(), file.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return Fail(std::strerror(errno));
    const std::string trailer(songCount, static_cast<char>(kSongTrailer));
    std::size_t written = 0;
    while (written < trailer.size()) {
        ssize_t n = ::write(fd, trailer.data() + written, trailer.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        written += static_cast<std::size_t>(n);
    }
    Result<> done;
    if (written != trailer.size()) done = Fail(std::strerror(errno));
    ::close(fd);
    return done;
}

// A name in the open folder as a path SQLite can open: through the process's own descriptor of
// the folder, so that neither the database nor its journal lands anywhere else.
std::filesystem::path FolderEntryPath(const DeviceFolder& folder, const std::string& name) {
    const std::filesystem::path viaDescriptor = "/proc/self/fd/" + std::to_string(folder.fd());
    std::error_code error;
    if (std::filesystem::is_directory(viaDescriptor, error)) return viaDescriptor / name;
    return folder.path() / name;
}

// The song's texts as the list stores them (in `spare` when they differ): the database gets the same.
const ROWELEMENT& AsListed(const ROWELEMENT& song, ROWELEMENT& spare, const std::string& codePage) {
    if (!NeedsStoredTexts(song)) return song;
    spare = StoredTexts(song, codePage);
    return spare;
}

// Flushes the pair's new files, each in the song folder opened without following a link.
Result<> FlushTemporaries(const PairReplacement& pair) {
    const Result<DeviceFolder> folder = OpenFolderBelow(pair.folder.parent_path(), pair.folder.filename());
    if (!folder) return folder.failure();
    for (const PairMember& member : pair.members) {
        if (!member.replace) continue;
        const std::string name = pair.temporaryOf(member).filename().string();
        const Result<int> fd = folder->OpenForReading(name);
        if (!fd) return Fail("Cannot write " + (pair.folder / member.name).string() + ": " + fd.message());
        const int flushed = ::fsync(*fd) == 0 ? 0 : errno;
        ::close(*fd);
        if (flushed != 0) {
            return Fail("Cannot write " + (pair.folder / member.name).string() + ": " + std::strerror(flushed));
        }
    }
    return {};
}

}  // namespace

RebuildHooks StepsBetweenRenames(RebuildHooks hooks, const WriteStepHook& step) {
    hooks.betweenRenames = [inner = std::move(hooks.betweenRenames), step] {
        StepTaken(step);
        if (inner) inner();
    };
    return hooks;
}

PairReplacement DeviceCataloguePair(const std::filesystem::path& songFolder, bool withList) {
    return {songFolder, kDeviceCataloguePairName, {{kDeviceListName, withList}, {kDeviceDatabaseName, true}}};
}

Result<PairRecovery> FinishDeviceCatalogueReplacement(const std::filesystem::path& songFolder) {
    return FinishPairReplacement(songFolder, kDeviceCataloguePairName, {kDeviceListName, kDeviceDatabaseName});
}

PreparedCatalogue::PreparedCatalogue(PreparedCatalogue&& other) noexcept
    : notes(std::move(other.notes)), songCount(other.songCount), pair_(std::exchange(other.pair_, std::nullopt)) {}

PreparedCatalogue::~PreparedCatalogue() {
    // What was not put in place goes: nothing of it is named yet.
    if (pair_) (void)FinishDeviceCatalogueReplacement(pair_->folder);
}

Result<CatalogueWritten> PreparedCatalogue::Commit(RebuildMode mode, const RebuildHooks& hooks) {
    if (!pair_) return Fail("the catalogue was put in place already", kApplicationName, NoticeIcon::None);
    // Flushed only now: a catalogue built while a batch's files are flushed goes to the disk with
    // them, and its own flush then finds little left (a flush of its own amid theirs would commit
    // the file system's journal once more).
    Result<> committed = FlushTemporaries(*pair_);
    // Both files are complete and flushed: only now replace the old catalogue, as one.
    if (committed) committed = CommitPairReplacement(*pair_, hooks.betweenRenames);
    // Put in place, or left for FinishDeviceCatalogueReplacement to finish or discard.
    (void)FinishDeviceCatalogueReplacement(pair_->folder);
    pair_.reset();
    if (!committed) return Fail(committed.message(), kApplicationName, NoticeIcon::None);
    CatalogueWritten written;
    written.notes = std::move(notes);
    written.notices.push_back({ClosingMessage(mode), kCaptionNote, NoticeIcon::None});
    return written;
}

Result<PreparedCatalogue> PrepareDeviceCatalogue(const SongList& songs, const std::filesystem::path& songFolder,
                                                 const RebuildHooks& hooks, const std::string& codePage) {
    auto fail = [](std::string text) { return Fail(std::move(text), kApplicationName, NoticeIcon::None); };
    const std::filesystem::path databaseFile = songFolder / kDeviceDatabaseName;
    const std::filesystem::path listFile = songFolder / kDeviceListName;
    // The list cannot hold that many: refused before anything is built.
    if (songs.size() >= kSongListRowLimit) return fail(kSongTextRowCountMessage);

    // What an earlier run left half-done is finished or discarded first: the fixed names are ours.
    if (const Result<PairRecovery> left = FinishDeviceCatalogueReplacement(songFolder); !left) {
        return fail(left.message());
    }
    PairReplacement pair = DeviceCataloguePair(songFolder, !songs.empty());
    // The song folder is reached without following a link out of the device, and every file is
    // made in the folder opened here.
    const Result<DeviceFolder> opened = OpenFolderBelow(songFolder.parent_path(), songFolder.filename());
    if (!opened) {
        std::string why = opened.message();
        if (!why.empty()) why[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(why[0])));
        return fail("Cannot create " + databaseFile.string() + ": " + why);
    }
    const DeviceFolder& folder = *opened;
    const std::string temporaryDatabaseName = PairTemporaryNameFor(kDeviceDatabaseName).string();
    const std::filesystem::path temporaryDatabase = FolderEntryPath(folder, temporaryDatabaseName);
    // Whatever fails below, no half-built temporary stays.
    struct Discard {
        const PairReplacement& pair;
        bool keep = false;
        ~Discard() {
            if (!keep) (void)FinishDeviceCatalogueReplacement(pair.folder);
        }
    } discard{pair};
    // SQLite would only say "unable to open": the system's reason comes from creating the file.
    if (const Result<int> probe = folder.CreateFile(temporaryDatabaseName); !probe) {
        return fail(probe.message());
    } else {
        ::close(*probe);
    }
    CatalogueDatabase db;
    // The finished file is flushed with its trailer, before the pair is put in place.
    Result<std::vector<std::string>> created = CreateDeviceDatabase(db, temporaryDatabase, true);
    if (!created) return fail("Cannot create " + databaseFile.string() + ": " + created.message());
    PreparedCatalogue prepared(pair);
    prepared.notes = std::move(created).value();
    prepared.songCount = songs.size();

    SongText text;
    text.codePage = codePage;
    text.bytes.reserve(std::min<std::size_t>(kSongTextReserve, songs.size() * 96 + 64));
    {
        // Each step's failure is read before the next call can clear it.
        if (!db.Execute("begin")) return fail("Cannot write " + databaseFile.string() + ": " + db.lastError());
        SongListInserter inserter(db);
        if (!inserter.ready()) {
            // A table that could not be made says why in the first note (a full stick, say).
            std::string why = prepared.notes.empty() ? db.lastError() : prepared.notes.front();
            while (!why.empty() && why.back() == '\n') why.pop_back();
            return fail("Cannot write " + databaseFile.string() + ": " + why);
        }
        for (std::size_t i = 0; i < songs.size(); ++i) {
            AppendSongTextRow(text, songs[i]);
            ROWELEMENT spare;
            if (!inserter.Insert(MakeDeviceDatabaseRow(AsListed(songs[i], spare, codePage)))) {
                return fail("Cannot write " + databaseFile.string() + ": " + db.lastError());
            }
            if (hooks.onSong) hooks.onSong(i + 1, songs.size());
        }
    }
    if (!songs.empty() && !PrepareCatalogueIndexes(db)) return fail("Cannot index " + databaseFile.string());
    if (!db.Execute("commit")) return fail("Cannot write " + databaseFile.string() + ": " + db.lastError());
    db.Close();
    if (Result<> trailer = AppendTrailer(folder, temporaryDatabaseName, songs.size()); !trailer) {
        return fail("Cannot write " + databaseFile.string() + ": " + trailer.message());
    }

    std::optional<SafeFileWriter> list;
    if (!songs.empty()) {
        const Result<std::vector<std::uint8_t>> build = BuildSongList(&text);
        if (!build) return build.failure();
        list.emplace(folder, kDeviceListName, PairTemporaryNameFor(kDeviceListName).string());
        if (!list->status()) return fail(kCreateSongListFailMessage);
        if (!list->Write(build->data(), build->size()) || !list->Close()) {
            return fail("Cannot write " + listFile.string() + ": " + list->status().message());
        }
        list->Release();
    }
    discard.keep = true;
    return prepared;
}

Result<CatalogueWritten> RebuildDeviceCatalogue(const SongList& songs, const std::filesystem::path& songFolder,
                                                RebuildMode mode, const RebuildHooks& hooks,
                                                const std::string& codePage) {
    Result<PreparedCatalogue> prepared = PrepareDeviceCatalogue(songs, songFolder, hooks, codePage);
    if (!prepared) return prepared.failure();
    return prepared->Commit(mode, hooks);
}

}  // namespace songloader
