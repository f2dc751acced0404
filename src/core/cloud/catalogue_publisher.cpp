// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/catalogue_publisher.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "core/catalogue/device_database.h"
#include "core/cloud/cloud_client.h"
#include "core/cloud/midi_pack.h"
#include "core/common/safe_file.h"
#include "core/entry/media_files.h"
#include "core/songlist/song_list_writer.h"
#include "core/songlist/song_text.h"

namespace songloader {

namespace {

// Prepared output, removed unless its files were moved out.
class StagingFolder {
public:
    explicit StagingFolder(const std::filesystem::path& outFolder) { path_ = TemporaryNameFor(outFolder / ".publish"); }
    ~StagingFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

bool SyncFile(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

std::optional<std::string> WriteCatalogueDatabase(const std::filesystem::path& file,
                                                  const std::vector<PublishSong>& songs) {
    CatalogueDatabase db;
    if (const auto created = CreateDeviceDatabase(db, file); !created) {
        return "cannot create " + file.string() + ": " + created.message();
    }
    {
        SongListInserter inserter(db);
        if (!db.Execute("begin") || !inserter.ready()) return "cannot write " + file.string() + ": " + db.lastError();
        for (const PublishSong& song : songs) {
            if (!inserter.Insert(MakeDeviceDatabaseRow(song.song))) {
                return "cannot write " + file.string() + ": " + db.lastError();
            }
        }
    }
    if (!PrepareCatalogueIndexes(db)) return "cannot index " + file.string();
    if (!db.Execute("commit")) return "cannot write " + file.string() + ": " + db.lastError();
    db.Close();
    if (!SyncFile(file)) return "cannot flush " + file.string() + ": " + std::strerror(errno);
    return std::nullopt;
}

std::optional<std::string> WriteCloudList(const std::filesystem::path& file, const std::vector<PublishSong>& songs) {
    SongText text;
    for (const PublishSong& song : songs) AppendSongTextRow(text, song.song);
    const Result<std::vector<std::uint8_t>> build = BuildSongList(&text);
    if (!build) {
        std::string reason = "the song list cannot be built:";
        for (const Notice& notice : build.failure().AsNotices()) reason += " " + notice.text;
        return reason;
    }
    SafeFileWriter writer(file);
    if (!writer.Write(build->data(), build->size()) || !writer.Commit()) return writer.status().message();
    return std::nullopt;
}

}  // namespace

Result<> PublishCatalogue(const std::vector<PublishSong>& songs, const std::filesystem::path& outFolder,
                          const std::optional<std::filesystem::path>& midiFolder, const PublishHooks& hooks) {
    auto fail = [](std::string reason) { return Result<>(Fail(std::move(reason))); };
    if (songs.empty()) return fail("the table holds no songs");
    std::error_code error;
    if (midiFolder) {
        std::string missing;
        for (const MidiPackFile& file : MidiPackFiles) {
            if (!std::filesystem::is_regular_file(*midiFolder / file.localName, error)) {
                if (!missing.empty()) missing += '\n';
                missing += "no MIDI pack file " + (*midiFolder / file.localName).string();
            }
        }
        if (!missing.empty()) return fail(missing);
    }
    std::filesystem::create_directories(outFolder, error);
    StagingFolder staging(outFolder);
    if (!std::filesystem::create_directory(staging.path(), error)) {
        return fail("cannot create " + staging.path().string() + ": " + error.message());
    }

    // Staged file names in the order they are moved in: the lists come last, so a server never
    // offers a list whose videos are not there yet.
    std::vector<std::string> names;
    const std::size_t total = songs.size() + (midiFolder ? MidiPackFiles.size() : 0);
    auto copy = [&](const std::filesystem::path& source, const std::string& name) -> std::optional<std::string> {
        const Result<std::filesystem::path> copied = CopyMediaFile(source, staging.path() / name);
        if (!copied) return "cannot copy " + source.string() + ": " + copied.message();
        names.push_back(name);
        if (hooks.onFile) hooks.onFile(names.size(), total);
        return std::nullopt;
    };
    for (const PublishSong& song : songs) {
        if (auto failure = copy(song.media, song.song.numberText + kSongRemoteSuffix)) return fail(*failure);
    }
    if (midiFolder) {
        for (const MidiPackFile& file : MidiPackFiles) {
            if (auto failure = copy(*midiFolder / file.localName, file.remoteName)) return fail(*failure);
        }
    }
    if (auto failure = WriteCatalogueDatabase(staging.path() / kCloudDatabaseRemoteName, songs)) return fail(*failure);
    names.push_back(kCloudDatabaseRemoteName);
    if (auto failure = WriteCloudList(staging.path() / kCloudListRemoteName, songs)) return fail(*failure);
    names.push_back(kCloudListRemoteName);

    for (const std::string& name : names) {
        std::filesystem::rename(staging.path() / name, outFolder / name, error);
        if (error) return fail("cannot move " + name + " into " + outFolder.string() + ": " + error.message());
    }
    (void)SyncFolder(outFolder);  // the files are in place; a folder that cannot be flushed changes nothing
    return {};
}

}  // namespace songloader
