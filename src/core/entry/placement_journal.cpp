// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/entry/placement_journal.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>
#include <system_error>

#include "core/catalogue/list_file_reader.h"
#include "core/common/file_bytes.h"
#include "core/common/safe_file.h"
#include "core/entry/catalogue_rebuild.h"
#include "core/device/device_layout.h"
#include "core/entry/media_files.h"

namespace songloader {

namespace {

// A record names at most a batch of songs; larger files are not ours.
constexpr std::size_t kJournalMaxBytes = std::size_t{64} << 20;
constexpr const char* kDeletePrefix = "delete-";

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2 + 1);
    text += 'x';  // never empty, so a line always splits into all its fields
    for (unsigned char c : bytes) {
        text += digits[c >> 4];
        text += digits[c & 15];
    }
    return text;
}

bool FromHex(const std::string& text, std::string& bytes) {
    if (text.empty() || text[0] != 'x' || text.size() % 2 != 1) return false;
    bytes.clear();
    auto value = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    for (std::size_t i = 1; i < text.size(); i += 2) {
        const int high = value(text[i]);
        const int low = value(text[i + 1]);
        if (high < 0 || low < 0) return false;
        bytes += static_cast<char>(high * 16 + low);
    }
    return true;
}

std::filesystem::path DeleteRecordOf(const std::filesystem::path& songFolder, const std::string& numberText) {
    return songFolder / (kDeletePrefix + Hex(numberText) + kJournalSuffix);
}

bool Exists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::not_found && !error;
}

bool IsRegularFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() == std::filesystem::file_type::regular;
}

// A path of the record: inside the song folder, never climbing out of it.
bool InsideSongFolder(const std::filesystem::path& relative) {
    if (relative.empty() || relative.is_absolute()) return false;
    return std::none_of(relative.begin(), relative.end(), [](const auto& part) { return part == ".." || part == "."; });
}

std::string JournalText(const PlacementJournal& journal) {
    std::string text;
    for (const JournalPlacement& placed : journal.placements) {
        const ROWELEMENT& song = placed.song;
        text += "place " + Hex(song.mediaPath) + " " + std::to_string(song.number) + " " + Hex(song.numberText) + " " +
                std::to_string(song.language) + " " + Hex(song.languageText) + " " + Hex(song.title) + " " +
                Hex(song.artist) + " " + Hex(song.composer) + " " + Hex(song.lyricist) + "\n";
    }
    for (const JournalMove& move : journal.moves) {
        text += "move " + Hex(move.oldNumberText) + " " + Hex(move.newNumberText) + " " + Hex(move.from.string()) +
                " " + Hex(move.to.string()) + "\n";
    }
    return text;
}

Result<PlacementJournal> ReadJournal(const std::filesystem::path& songFolder) {
    PlacementJournal journal;
    const std::filesystem::path file = songFolder / kPlacementJournalName;
    if (!Exists(file)) return journal;
    const auto bytes = ReadFileBytes(file, kJournalMaxBytes);
    if (!bytes) return Fail("Cannot read " + file.string());
    std::istringstream lines(std::string(bytes->begin(), bytes->end()));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string verb;
        fields >> verb;
        bool good = false;
        if (verb == "place") {
            std::string target, numberText, languageText, title, artist, composer, lyricist;
            JournalPlacement placed;
            std::string a, c, e, f, g, h, i;
            if (fields >> a >> placed.song.number >> c >> placed.song.language >> e >> f >> g >> h >> i) {
                good = FromHex(a, placed.song.mediaPath) && FromHex(c, placed.song.numberText) &&
                       FromHex(e, placed.song.languageText) && FromHex(f, placed.song.title) &&
                       FromHex(g, placed.song.artist) && FromHex(h, placed.song.composer) &&
                       FromHex(i, placed.song.lyricist) && InsideSongFolder(placed.song.mediaPath);
            }
            if (good) journal.placements.push_back(std::move(placed));
        } else if (verb == "move") {
            std::string a, b, c, d, from, to;
            JournalMove move;
            if (fields >> a >> b >> c >> d) {
                good = FromHex(a, move.oldNumberText) && FromHex(b, move.newNumberText) && FromHex(c, from) &&
                       FromHex(d, to) && InsideSongFolder(from) && InsideSongFolder(to);
            }
            move.from = from;
            move.to = to;
            if (good) journal.moves.push_back(std::move(move));
        }
        // The record is written whole and renamed in: a line we cannot read is not ours.
        if (!good) return Fail("The record " + file.string() + " of an interrupted write cannot be read.");
    }
    return journal;
}

std::vector<std::string> DeleteRecords(const std::filesystem::path& songFolder) {
    std::vector<std::string> numbers;
    std::error_code error;
    for (std::filesystem::directory_iterator it(songFolder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(kDeletePrefix) || !name.ends_with(kJournalSuffix)) continue;
        std::string number;
        const std::string hex = name.substr(std::strlen(kDeletePrefix),
                                            name.size() - std::strlen(kDeletePrefix) - std::strlen(kJournalSuffix));
        if (FromHex(hex, number) && !number.empty()) numbers.push_back(number);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

Result<> Rename(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (Result<bool> ready = RealFolderForWrite(to.parent_path()); !ready) return ready.failure();
    if (::rename(from.c_str(), to.c_str()) != 0) {
        return Fail("Cannot move " + from.string() + " to " + to.string() + ": " + std::strerror(errno));
    }
    return {};
}

void (*g_writeStepHook)() = nullptr;

}  // namespace

void SetWriteStepHook(void (*hook)()) { g_writeStepHook = hook; }

void WriteStep() {
    if (g_writeStepHook) g_writeStepHook();
}

bool IsJournalName(const std::string& fileName) {
    return fileName == kPlacementJournalName ||
           (fileName.starts_with(kDeletePrefix) && fileName.ends_with(kJournalSuffix));
}

Result<> WritePlacementJournal(const std::filesystem::path& songFolder, const PlacementJournal& journal) {
    SafeFileWriter writer(songFolder / kPlacementJournalName);
    if (!writer.Write(JournalText(journal)) || !writer.Commit()) return Fail("Cannot write " + writer.status().message());
    return {};
}

Result<> RemovePlacementJournal(const std::filesystem::path& songFolder) {
    const std::filesystem::path file = songFolder / kPlacementJournalName;
    if (::unlink(file.c_str()) != 0 && errno != ENOENT) {
        return Fail("Cannot remove " + file.string() + ": " + std::strerror(errno));
    }
    (void)SyncFolder(songFolder);  // the record is gone either way
    return {};
}

Result<> RecordDelete(const std::filesystem::path& songFolder, const std::string& numberText) {
    const std::filesystem::path file = DeleteRecordOf(songFolder, numberText);
    // Empty: it takes no room of the file system's data, so even a full device can record it.
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return Fail("Cannot record the delete in " + file.string() + ": " + std::strerror(errno));
    ::close(fd);
    return SyncFolder(songFolder);
}

Result<> ForgetDelete(const std::filesystem::path& songFolder, const std::string& numberText) {
    const std::filesystem::path file = DeleteRecordOf(songFolder, numberText);
    if (::unlink(file.c_str()) != 0 && errno != ENOENT) {
        return Fail("Cannot remove " + file.string() + ": " + std::strerror(errno));
    }
    (void)SyncFolder(songFolder);  // the record is gone either way
    return {};
}

bool JournalLeftOver(const std::filesystem::path& songFolder) {
    return Exists(songFolder / kPlacementJournalName) || !DeleteRecords(songFolder).empty();
}

Result<JournalRecovery> FinishInterruptedPlacements(const std::filesystem::path& songFolder,
                                                    const std::string& codePage) {
    JournalRecovery recovery;
    const std::vector<std::string> deletes = DeleteRecords(songFolder);
    const bool journalThere = Exists(songFolder / kPlacementJournalName);
    if (deletes.empty() && !journalThere) return recovery;
    Result<PlacementJournal> journal = ReadJournal(songFolder);
    if (!journal) return journal.failure();

    SongList songs;
    if (const auto file = FindListFile(songFolder, kDeviceListName)) {
        Result<SongList> read = ReadListFile(*file, ListKind::Device);
        if (!read) return Fail(read.message());
        songs = std::move(read).value();
    }
    const auto listed = [&](const std::string& numberText) {
        return std::find_if(songs.begin(), songs.end(),
                            [&](const ROWELEMENT& song) { return song.numberText == numberText; });
    };
    bool changed = false;

    // An interrupted delete is finished: its files go, then the catalogue without it.
    for (const std::string& number : deletes) {
        DeleteDeviceSongFiles(songFolder, number);
        if (auto it = listed(number); it != songs.end()) {
            songs.erase(it);
            changed = true;
        }
        recovery.removed.push_back(number);
    }
    // An interrupted move follows the catalogue: on when it names the new number, back otherwise.
    for (const JournalMove& move : journal->moves) {
        const bool committed = listed(move.newNumberText) != songs.end() && listed(move.oldNumberText) == songs.end();
        const std::filesystem::path from = songFolder / (committed ? move.from : move.to);
        const std::filesystem::path to = songFolder / (committed ? move.to : move.from);
        if (Exists(from) && !Exists(to)) {
            if (auto moved = Rename(from, to); !moved) return moved.failure();
        }
    }
    // A placed file the catalogue does not name is catalogued; one that never arrived is forgotten.
    for (const JournalPlacement& placed : journal->placements) {
        const std::filesystem::path target = songFolder / placed.song.mediaPath;
        if (!IsRegularFile(target) || listed(placed.song.numberText) != songs.end()) continue;
        ROWELEMENT song = placed.song;
        song.mediaPath = target.string();
        songs.push_back(song);
        recovery.catalogued.push_back(song);
        changed = true;
    }
    if (changed) {
        const Result<CatalogueWritten> rebuilt = RebuildDeviceCatalogue(songs, songFolder, RebuildMode::Add, {}, codePage);
        if (!rebuilt) {
            std::string why = "The catalogue cannot be written to finish an interrupted change:";
            for (const Notice& notice : rebuilt.failure().AsNotices()) why += "\n" + notice.text;
            return Fail(why);
        }
        recovery.catalogueChanged = true;
    }
    if (auto removed = RemovePlacementJournal(songFolder); !removed) return removed.failure();
    for (const std::string& number : deletes) {
        if (auto forgotten = ForgetDelete(songFolder, number); !forgotten) return forgotten.failure();
    }
    return recovery;
}

}  // namespace songloader
