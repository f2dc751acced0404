// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/entry/batch_admission.h"

#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <string>
#include <unordered_map>

#include "core/catalogue/catalogue_database.h"
#include "core/catalogue/list_file_reader.h"
#include "core/entry/add_queue.h"
#include "core/songlist/song_list_writer.h"
#include "core/songlist/song_text.h"
#include "core/text/code_page.h"

namespace songloader {

namespace {

// The most songs a device's list holds.
constexpr std::size_t kMostListedSongs = kSongListRowLimit - 1;

// A record line is the song's fields in hex with a few words around them.
constexpr std::uint64_t kRecordLineBytes = 64;

bool Occupied(const std::filesystem::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// Whether the songs' targets and their folders are taken, each folder asked once: a batch of
// thousands of songs mostly goes into a few folders, often new ones where no file can be yet.
class Occupancy {
public:
    bool Folder(const std::string& folder) {
        const auto [known, added] = folders_.try_emplace(folder, false);
        if (added) known->second = Occupied(folder);
        return known->second;
    }
    bool File(const std::filesystem::path& file) {
        const std::string& name = file.native();
        const auto slash = name.rfind('/');
        // A file whose folder is not there is not there either.
        if (slash != std::string::npos && slash > 0 && !Folder(name.substr(0, slash))) return false;
        return Occupied(file);
    }

private:
    std::unordered_map<std::string, bool> folders_;
};

// The length of `target`'s path inside `songFolder` (where a batch puts every file).
std::size_t LengthInside(const std::filesystem::path& target, const std::filesystem::path& songFolder) {
    const std::string& full = target.native();
    const std::string& folder = songFolder.native();
    if (full.size() > folder.size() + 1 && full.starts_with(folder) && full[folder.size()] == '/') {
        return full.size() - folder.size() - 1;
    }
    return target.lexically_relative(songFolder).native().size();
}

std::uint64_t FileBytes(const std::filesystem::path& file) {
    struct stat info {};
    return ::lstat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) ? static_cast<std::uint64_t>(info.st_size) : 0;
}

std::string Counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Why the texts of `song` are no text of `codePage`, or nothing.
std::optional<std::string> TextsOutsideCodePage(const ROWELEMENT& song, const std::string& codePage) {
    for (auto [text, what] : {std::pair{&song.title, "title"}, std::pair{&song.artist, "artist"},
                              std::pair{&song.composer, "composer"}, std::pair{&song.lyricist, "lyricist"}}) {
        if (!ConvertText(*text, codePage, "UTF-8")) {
            return std::string("its ") + what + " holds bytes that are no text of the device's code page " + codePage;
        }
    }
    return std::nullopt;
}

// The refusal of one song, or nothing when it may be written as row `rowNumber` of the list.
std::optional<Failure> RefusalOf(const SongToPlace& placing, std::uint64_t bytes, std::size_t rowNumber,
                                 const std::string& codePage, const std::optional<DeviceRoom>& room,
                                 Occupancy& occupancy) {
    const ROWELEMENT& song = placing.song;
    if (occupancy.File(placing.target)) {
        // A file no listed song owns may be the user's: never replaced.
        return Fail(placing.target.string() + " already exists on the device and is not replaced");
    }
    if (const auto outside = TextsOutsideCodePage(song, codePage)) return Fail(*outside);
    if (Result<> row = CheckSongRow(song, rowNumber, codePage); !row) return row.failure();
    if (room) {
        const std::filesystem::path file =
            song.mediaPath.empty() ? placing.target : std::filesystem::path(song.mediaPath);
        const std::string name = file.filename().string();
        if (Result<> fits = RefuseForRoom(name, bytes, *room); !fits) return fits.failure();
    }
    return std::nullopt;
}

}  // namespace

std::uint64_t BatchBytesNeeded(const std::vector<SongToPlace>& songs, const std::vector<std::uint64_t>& bytes,
                               const std::filesystem::path& songFolder, std::uint64_t blockBytes) {
    const std::uint64_t block = std::max<std::uint64_t>(blockBytes, 1);
    const auto whole = [block](std::uint64_t size) { return (size + block - 1) / block * block; };
    std::uint64_t need = 0;
    std::uint64_t record = 0;
    Occupancy occupancy;
    std::set<std::filesystem::path> newFolders;
    for (std::size_t i = 0; i < songs.size(); ++i) {
        const ROWELEMENT& song = songs[i].song;
        need += whole(i < bytes.size() ? bytes[i] : 0);
        if (!occupancy.Folder(songs[i].target.parent_path().native())) newFolders.insert(songs[i].target.parent_path());
        record += kRecordLineBytes +
                  2 * (LengthInside(songs[i].target, songFolder) + song.numberText.size() + song.languageText.size() +
                       song.title.size() + song.artist.size() + song.composer.size() + song.lyricist.size());
    }
    need += newFolders.size() * block + whole(record);
    // The new catalogue is written beside the old one, which goes only once both new files are whole.
    need += whole(FileBytes(songFolder / kDeviceListName) + songs.size() * kListBytesPerSong);
    need += whole(FileBytes(songFolder / kDeviceDatabaseName) + songs.size() * kDatabaseBytesPerSong);
    return need + kRoomMarginBytes;
}

Result<AdmittedBatch> AdmitBatch(const SongList& deviceSongs, const std::vector<SongToPlace>& songs,
                                 const std::vector<std::uint64_t>& bytes, const std::filesystem::path& songFolder,
                                 const std::string& codePage, const std::optional<DeviceRoom>& room) {
    AdmittedBatch batch;
    batch.songs.reserve(songs.size());
    batch.bytes.reserve(songs.size());
    std::set<std::int32_t> used;
    for (const ROWELEMENT& song : deviceSongs) used.insert(song.number);
    std::set<std::int32_t> numbers;
    Occupancy occupancy;
    for (std::size_t i = 0; i < songs.size(); ++i) {
        SongToPlace placing = songs[i];
        placing.song = StoredTexts(std::move(placing.song), codePage);
        const std::uint64_t size = i < bytes.size() ? bytes[i] : 0;
        std::optional<Failure> refusal;
        if (used.count(placing.song.number)) {
            refusal = Fail(kDuplicateOnDeviceMessage);
        } else if (!numbers.insert(placing.song.number).second) {
            refusal = Fail(kDuplicateInWorkMessage);
        } else {
            refusal = RefusalOf(placing, size, deviceSongs.size() + batch.songs.size() + 1, codePage, room, occupancy);
        }
        if (refusal) {
            batch.notAdded.push_back({songs[i].song, std::move(*refusal)});
            continue;
        }
        batch.songs.push_back(std::move(placing));
        batch.bytes.push_back(size);
    }
    if (batch.songs.empty()) return batch;

    const std::size_t free = kMostListedSongs - std::min(kMostListedSongs, deviceSongs.size());
    if (batch.songs.size() > free) {
        return Fail("The device's song list holds at most " + std::to_string(kMostListedSongs) + " songs and has " +
                    std::to_string(deviceSongs.size()) + ": " +
                    (free == 0 ? std::string("no more songs can be added")
                               : "only " + Counted(free, "more song", "more songs") + " can be added") +
                    ", not " + std::to_string(batch.songs.size()) + ". Nothing was copied.");
    }
    if (room) {
        const std::uint64_t need = BatchBytesNeeded(batch.songs, batch.bytes, songFolder, room->blockBytes);
        if (need > room->freeBytes) {
            return Fail("The songs need " + SizeText(need) +
                        " on the device (their files, the record of the batch and the new catalogue) but it has only " +
                        SizeText(room->freeBytes) + " free: " + SizeText(need - room->freeBytes) +
                        " more is needed. Nothing was copied.");
        }
    }
    return batch;
}

}  // namespace songloader
