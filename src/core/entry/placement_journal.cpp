// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/entry/placement_journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>

#include "core/common/file_bytes.h"
#include "core/common/safe_file.h"
#include "core/media/media_probe.h"

namespace songloader {

namespace {

// A record names at most a batch of songs; larger files are not ours.
constexpr std::size_t kJournalMaxBytes = std::size_t{64} << 20;
constexpr const char* kDeletePrefix = "delete-";
// Set-aside names tried before giving up: .bad, .bad-2, ... .bad-999.
constexpr int kSetAsideNames = 999;
// The longest file name a device's file systems take.
constexpr std::size_t kMaxNameBytes = 255;

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

std::string DeleteRecordName(const std::string& numberText) { return kDeletePrefix + Hex(numberText) + kJournalSuffix; }

bool IsDeleteRecordName(const std::string& name) {
    return name.size() > std::strlen(kDeletePrefix) + std::strlen(kJournalSuffix) && name.starts_with(kDeletePrefix) &&
           name.ends_with(kJournalSuffix);
}

// The two parts of a song file's path inside the song folder: its folder and its name.
bool SplitSongFile(const std::filesystem::path& relative, std::string_view numberText, std::string& rest) {
    const std::string text = relative.string();
    const auto slash = text.find('/');
    if (slash == std::string::npos || !IsRecordableNumber(numberText)) return false;
    const std::string folder = text.substr(0, slash);
    const std::string name = text.substr(slash + 1);
    if (folder != numberText.substr(0, 3) || name.size() > kMaxNameBytes || !name.starts_with(numberText)) return false;
    rest = name.substr(numberText.size());
    return rest.find('/') == std::string::npos && rest.find('\0') == std::string::npos;
}

bool KnownMediaExtension(const std::string& extension) {
    for (MediaContainer container :
         {MediaContainer::Matroska, MediaContainer::MpegTs, MediaContainer::MpegPs, MediaContainer::Avi,
          MediaContainer::Mp4, MediaContainer::Flv, MediaContainer::Mp3}) {
        if (ExtensionFits(container, extension)) return true;
    }
    return false;
}

bool GoodPlacement(const JournalPlacement& placed) {
    return IsPlacedSongFile(placed.song.mediaPath, placed.song.numberText);
}

bool GoodMove(const JournalMove& move) {
    std::string fromRest;
    std::string toRest;
    return IsMovedSongFile(move.from, move.oldNumberText) && IsMovedSongFile(move.to, move.newNumberText) &&
           SplitSongFile(move.from, move.oldNumberText, fromRest) &&
           SplitSongFile(move.to, move.newNumberText, toRest) && fromRest == toRest;
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

// One line of a record, or false when the writer never wrote it.
bool ParseLine(const std::string& line, PlacementJournal& journal) {
    std::istringstream fields(line);
    std::string verb;
    fields >> verb;
    std::string rest;
    if (verb == "place") {
        JournalPlacement placed;
        std::string a, c, e, f, g, h, i;
        if (!(fields >> a >> placed.song.number >> c >> placed.song.language >> e >> f >> g >> h >> i)) return false;
        if (fields >> rest) return false;
        if (!FromHex(a, placed.song.mediaPath) || !FromHex(c, placed.song.numberText) ||
            !FromHex(e, placed.song.languageText) || !FromHex(f, placed.song.title) ||
            !FromHex(g, placed.song.artist) || !FromHex(h, placed.song.composer) || !FromHex(i, placed.song.lyricist) ||
            !GoodPlacement(placed)) {
            return false;
        }
        journal.placements.push_back(std::move(placed));
        return true;
    }
    if (verb == "move") {
        std::string a, b, c, d, from, to;
        JournalMove move;
        if (!(fields >> a >> b >> c >> d) || (fields >> rest)) return false;
        if (!FromHex(a, move.oldNumberText) || !FromHex(b, move.newNumberText) || !FromHex(c, from) ||
            !FromHex(d, to)) {
            return false;
        }
        move.from = from;
        move.to = to;
        if (!GoodMove(move)) return false;
        journal.moves.push_back(std::move(move));
        return true;
    }
    return false;
}

// The record's text read back, or why it is not a record: the record is written whole, ends with
// a line's end and is renamed in, so anything else is not ours.
bool ParseJournal(const std::vector<std::uint8_t>& bytes, PlacementJournal& journal) {
    if (!bytes.empty() && bytes.back() != '\n') return false;
    std::istringstream lines(std::string(bytes.begin(), bytes.end()));
    std::string line;
    while (std::getline(lines, line)) {
        if (!ParseLine(line, journal)) return false;
    }
    return true;
}

// Renames the record `name` aside in `folder` (never through a link: both names are entries of
// the open folder); the message that names it.
Result<std::string> SetAside(const DeviceFolder& folder, const std::string& name, const std::string& why) {
    for (int n = 1; n <= kSetAsideNames; ++n) {
        const std::string aside = name + kSetAsideSuffix + (n == 1 ? std::string() : "-" + std::to_string(n));
        if (folder.Holds(aside)) continue;
        if (Result<> renamed = folder.Rename(name, aside); !renamed) return renamed.failure();
        (void)folder.Sync();
        return "The record " + (folder.path() / name).string() + " of an interrupted write cannot be read (" + why +
               "); it was set aside as " + aside + " and nothing it names was changed.";
    }
    return Fail("The record " + (folder.path() / name).string() + " cannot be read and cannot be set aside: " +
                (folder.path() / (name + kSetAsideSuffix)).string() + " and its numbered names are taken.");
}

// What is wrong with the entry `name` as a record file, or nothing when it is a regular file a
// record can be.
std::string NotARecordFile(const DeviceFolder& folder, const std::string& name) {
    struct stat info {};
    if (::fstatat(folder.fd(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return {};
    if (S_ISLNK(info.st_mode)) return "a symbolic link";
    if (S_ISDIR(info.st_mode)) return "a folder";
    if (!S_ISREG(info.st_mode)) return "not a regular file";
    if (static_cast<std::uint64_t>(info.st_size) > kJournalMaxBytes) return "larger than a record can be";
    return {};
}

// True when `relative` (NNN/name) reaches through something the program never makes there: its
// folder is not a real folder (a link, a file) or the file is not a regular file (a link, a FIFO).
bool ThroughForeignEntry(const DeviceFolder& songs, const std::filesystem::path& relative) {
    struct stat info {};
    const std::string folder = relative.parent_path().string();
    if (::fstatat(songs.fd(), folder.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (!S_ISDIR(info.st_mode)) return true;
    const Result<DeviceFolder> opened = songs.Below(folder, false);
    if (!opened) return true;
    const std::string name = relative.filename().string();
    return ::fstatat(opened->fd(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(info.st_mode);
}

bool NamesForeignEntry(const DeviceFolder& songs, const PlacementJournal& journal) {
    for (const JournalPlacement& placed : journal.placements) {
        if (ThroughForeignEntry(songs, placed.song.mediaPath)) return true;
    }
    for (const JournalMove& move : journal.moves) {
        if (ThroughForeignEntry(songs, move.from) || ThroughForeignEntry(songs, move.to)) return true;
    }
    return false;
}

Result<> Unlink(const std::filesystem::path& songFolder, const std::string& name) {
    const Result<DeviceFolder> folder = OpenRecordFolder(songFolder);
    if (!folder) return {};  // no song folder: no record either
    if (auto removed = folder->Remove(name); !removed) return removed.failure();
    (void)folder->Sync();  // the record is gone either way
    return {};
}

}  // namespace

bool IsRecordableNumber(std::string_view numberText) {
    const std::string_view digits = numberText.starts_with('-') ? numberText.substr(1) : numberText;
    return !digits.empty() && digits.size() <= 10 &&
           std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsPlacedSongFile(const std::filesystem::path& relative, std::string_view numberText) {
    std::string rest;
    return SplitSongFile(relative, numberText, rest) && rest.size() > 1 && rest[0] == '.' &&
           rest.find('.', 1) == std::string::npos && KnownMediaExtension(rest);
}

bool IsMovedSongFile(const std::filesystem::path& relative, std::string_view numberText) {
    std::string rest;
    return SplitSongFile(relative, numberText, rest) && (rest.empty() || rest[0] == '.');
}

Result<DeviceFolder> OpenRecordFolder(const std::filesystem::path& songFolder) {
    const std::filesystem::path name = songFolder.filename();
    if (name.empty() || name == "." || name == "..") return OpenFolder(songFolder);
    return OpenFolderBelow(songFolder.parent_path(), name);
}

bool IsJournalName(const std::string& fileName) {
    return fileName == kPlacementJournalName || IsDeleteRecordName(fileName);
}

bool IsSetAsideJournalName(const std::string& fileName) {
    const auto at = fileName.rfind(std::string(kJournalSuffix) + kSetAsideSuffix);
    return at != std::string::npos && IsJournalName(fileName.substr(0, at + std::strlen(kJournalSuffix)));
}

Result<> WritePlacementJournal(const std::filesystem::path& songFolder, const PlacementJournal& journal) {
    for (const JournalPlacement& placed : journal.placements) {
        if (!GoodPlacement(placed)) return Fail(placed.song.mediaPath + " is not a name a song's file is stored under");
    }
    for (const JournalMove& move : journal.moves) {
        if (!GoodMove(move)) return Fail(move.from.string() + " cannot be recorded as a song's file");
    }
    const std::string text = JournalText(journal);
    if (text.size() > kJournalMaxBytes)
        return Fail("The batch is too large to record on the device: add fewer songs at once.");
    Result<DeviceFolder> folder = OpenRecordFolder(songFolder);
    if (!folder) return folder.failure();
    SafeFileWriter writer(std::move(*folder), kPlacementJournalName);
    if (!writer.Write(text) || !writer.Commit()) return Fail("Cannot write " + writer.status().message());
    return {};
}

Result<> RemovePlacementJournal(const std::filesystem::path& songFolder) {
    return Unlink(songFolder, kPlacementJournalName);
}

Result<> RecordDelete(const std::filesystem::path& songFolder, const std::string& numberText) {
    if (!IsRecordableNumber(numberText)) return Fail(numberText + " is not a song number the device can record");
    Result<DeviceFolder> folder = OpenRecordFolder(songFolder);
    if (!folder) return folder.failure();
    const std::string name = DeleteRecordName(numberText);
    // Empty: it takes no room of the file system's data, so even a full device can record it.
    const int fd = ::openat(folder->fd(), name.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return Fail("Cannot record the delete in " + (songFolder / name).string() + ": " + std::strerror(errno));
    ::close(fd);
    return folder->Sync();
}

Result<> ForgetDelete(const std::filesystem::path& songFolder, const std::string& numberText) {
    return Unlink(songFolder, DeleteRecordName(numberText));
}

RecordNames ListRecords(const std::filesystem::path& songFolder) {
    RecordNames names;
    const Result<DeviceFolder> folder = OpenRecordFolder(songFolder);
    if (!folder) return names;
    for (const std::string& name : folder->Names()) {
        if (IsJournalName(name)) names.pending.push_back(name);
        else if (IsSetAsideJournalName(name)) names.setAside.push_back(name);
    }
    std::sort(names.pending.begin(), names.pending.end());
    std::sort(names.setAside.begin(), names.setAside.end());
    return names;
}

bool JournalLeftOver(const std::filesystem::path& songFolder) { return !ListRecords(songFolder).pending.empty(); }

Result<RecordsRead> ReadRecords(const DeviceFolder& songFolder) {
    RecordsRead read;
    const auto setAside = [&](const std::string& name, const std::string& why) -> Result<> {
        Result<std::string> message = SetAside(songFolder, name, why);
        if (!message) return message.failure();
        read.setAside.push_back(std::move(*message));
        return {};
    };
    std::vector<std::string> names = songFolder.Names();
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        if (!IsJournalName(name)) continue;
        if (const std::string wrong = NotARecordFile(songFolder, name); !wrong.empty()) {
            if (auto aside = setAside(name, wrong); !aside) return aside.failure();
            continue;
        }
        if (name != kPlacementJournalName) {
            const std::string hex = name.substr(std::strlen(kDeletePrefix),
                                                name.size() - std::strlen(kDeletePrefix) - std::strlen(kJournalSuffix));
            std::string number;
            if (!FromHex(hex, number) || !IsRecordableNumber(number)) {
                if (auto aside = setAside(name, "its name says no song number"); !aside) return aside.failure();
                continue;
            }
            read.deletes.push_back(number);
            continue;
        }
        const Result<int> opened = songFolder.OpenForReading(name);
        if (!opened) return opened.failure();
        const auto bytes = ReadOpenFileBytes(*opened, kJournalMaxBytes);
        ::close(*opened);
        if (!bytes) return Fail("Cannot read " + (songFolder.path() / name).string() + ": " + bytes.message());
        PlacementJournal journal;
        if (!ParseJournal(*bytes, journal)) {
            if (auto aside = setAside(name, "a line that is not a record's, or a name the program never writes");
                !aside) {
                return aside.failure();
            }
            continue;
        }
        if (NamesForeignEntry(songFolder, journal)) {
            if (auto aside = setAside(name, "it names a place through a link or something that is not a file");
                !aside) {
                return aside.failure();
            }
            continue;
        }
        read.placementRecord = true;
        read.journal = std::move(journal);
    }
    std::sort(read.deletes.begin(), read.deletes.end());
    return read;
}

}  // namespace songloader
