// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/entry/placement_recovery.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "core/catalogue/list_file_reader.h"
#include "core/common/device_folder.h"
#include "core/device/device_layout.h"
#include "core/entry/catalogue_rebuild.h"
#include "core/entry/media_files.h"
#include "core/entry/placement_journal.h"

namespace songloader {

namespace {

// The folder of a recorded song file (NNN), opened below the song folder without following a link.
Result<DeviceFolder> FolderOf(const DeviceFolder& songs, const std::filesystem::path& relative, bool create) {
    return songs.Below(relative.parent_path().string(), create);
}

bool HoldsRegularFile(const DeviceFolder& folder, const std::string& name) {
    struct stat info {};
    return ::fstatat(folder.fd(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode);
}

// Moves the recorded file `from` to `to`, both inside the song folder, when it stands at `from`
// and nothing stands at `to`. A folder on the way that is not a real folder stops the move: the
// message says why, and nothing moved. A rename the device refuses is a failure.
Result<std::string> MoveRecorded(const DeviceFolder& songs, const std::filesystem::path& from,
                                 const std::filesystem::path& to) {
    const Result<DeviceFolder> source = FolderOf(songs, from, false);
    const std::string fromName = from.filename().string();
    if (!source || !source->Holds(fromName)) return std::string();
    const Result<DeviceFolder> target = FolderOf(songs, to, true);
    if (!target) return "The interrupted move of " + from.string() + " cannot be finished: " + target.message();
    const std::string toName = to.filename().string();
    if (target->Holds(toName)) return std::string();
    if (::renameat(source->fd(), fromName.c_str(), target->fd(), toName.c_str()) != 0) {
        return SystemFailure("Cannot move " + (songs.path() / from).string() + " to", songs.path() / to, errno);
    }
    (void)source->Sync();
    (void)target->Sync();
    return std::string();
}

}  // namespace

std::string RolledBackMessage(const std::string& numberText, const std::filesystem::path& file,
                              const std::string& why) {
    return "Song " + numberText + " (" + file.string() +
           ") was not added: the catalogue could not be written with it (" + why +
           "); its file was taken off the device again.";
}

Result<> RollBackPlacements(const std::filesystem::path& songFolder, const std::vector<std::filesystem::path>& targets,
                            const WriteStepHook& step) {
    const Result<DeviceFolder> songs = OpenRecordFolder(songFolder);
    if (!songs) return songs.failure();
    for (const std::filesystem::path& target : targets) {
        const Result<DeviceFolder> folder = FolderOf(*songs, target, false);
        // No folder: no file; a link where the folder should be: nothing is removed through it.
        if (!folder) continue;
        const std::string name = target.filename().string();
        if (!HoldsRegularFile(*folder, name)) continue;
        StepTaken(step);
        if (Result<> removed = folder->Remove(name); !removed) return removed.failure();
        (void)folder->Sync();
    }
    StepTaken(step);
    return RemovePlacementJournal(songFolder);
}

Result<JournalRecovery> FinishInterruptedPlacements(const std::filesystem::path& songFolder,
                                                    const std::string& codePage, const WriteStepHook& step) {
    JournalRecovery recovery;
    const Result<DeviceFolder> songs = OpenRecordFolder(songFolder);
    if (!songs) return recovery;  // no song folder: no record either
    Result<RecordsRead> records = ReadRecords(*songs);
    if (!records) return records.failure();
    recovery.problems = std::move(records->setAside);
    if (records->deletes.empty() && !records->placementRecord) return recovery;
    const PlacementJournal& journal = records->journal;

    SongList listedSongs;
    if (const auto file = FindListFile(songFolder, kDeviceListName)) {
        Result<SongList> read = ReadListFile(*file, ListKind::Device);
        if (!read) return Fail(read.message());
        listedSongs = std::move(read).value();
    }
    const auto listed = [&](const std::string& numberText) {
        return std::find_if(listedSongs.begin(), listedSongs.end(),
                            [&](const ROWELEMENT& song) { return song.numberText == numberText; });
    };

    // An interrupted delete is finished: its files go, then the catalogue without it.
    std::vector<std::string> unlisted;  // deletes the catalogue still has to take
    for (const std::string& number : records->deletes) {
        StepTaken(step);
        DeleteDeviceSongFiles(songFolder, number);
        if (auto it = listed(number); it != listedSongs.end()) {
            listedSongs.erase(it);
            unlisted.push_back(number);
        }
        recovery.removed.push_back(number);
    }
    const bool deletesChanged = !unlisted.empty();
    // An interrupted move follows the catalogue: on when it names the new number, back otherwise.
    for (const JournalMove& move : journal.moves) {
        const bool committed =
            listed(move.newNumberText) != listedSongs.end() && listed(move.oldNumberText) == listedSongs.end();
        StepTaken(step);
        Result<std::string> moved =
            committed ? MoveRecorded(*songs, move.from, move.to) : MoveRecorded(*songs, move.to, move.from);
        if (!moved) return moved.failure();
        if (!moved->empty()) recovery.problems.push_back(*moved);
    }
    // A placed file the catalogue does not name is catalogued; one that never arrived is forgotten.
    SongList placed;
    std::vector<std::filesystem::path> targets;
    for (const JournalPlacement& placement : journal.placements) {
        const std::filesystem::path relative = placement.song.mediaPath;
        const Result<DeviceFolder> folder = FolderOf(*songs, relative, false);
        if (!folder || !HoldsRegularFile(*folder, relative.filename().string())) continue;
        if (listed(placement.song.numberText) != listedSongs.end()) continue;
        ROWELEMENT song = placement.song;
        song.mediaPath = (songFolder / relative).string();
        placed.push_back(song);
        targets.push_back(relative);
    }

    const auto rebuild = [&](const SongList& all) {
        StepTaken(step);
        return RebuildDeviceCatalogue(all, songFolder, RebuildMode::Add, {}, codePage);
    };
    if (deletesChanged || !placed.empty()) {
        SongList all = listedSongs;
        all.insert(all.end(), placed.begin(), placed.end());
        Result<CatalogueWritten> rebuilt = rebuild(all);
        if (!rebuilt && !placed.empty()) {
            // Songs the catalogue cannot take would block every later write: they are taken off again.
            const std::string why = NoticesText(rebuilt.failure().AsNotices());
            if (Result<> undone = RollBackPlacements(songFolder, targets, step); !undone) return undone.failure();
            for (std::size_t i = 0; i < placed.size(); ++i) {
                recovery.problems.push_back(RolledBackMessage(placed[i].numberText, targets[i], why));
            }
            recovery.rolledBack = std::move(placed);
            placed.clear();
            if (deletesChanged) rebuilt = rebuild(listedSongs);
        }
        if (rebuilt) {
            recovery.catalogueChanged = true;
            recovery.catalogued = std::move(placed);
        } else if (deletesChanged) {
            // The files are gone; the catalogue keeps listing the songs until it can be written.
            const std::string why = NoticesText(rebuilt.failure().AsNotices());
            for (const std::string& number : unlisted) {
                recovery.problems.push_back("The delete of song " + number +
                                            " could not be finished: its files are removed, but the catalogue could "
                                            "not be written and still lists it (" +
                                            why + ").");
                std::erase(recovery.removed, number);
            }
        }
    }
    StepTaken(step);
    if (auto removed = RemovePlacementJournal(songFolder); !removed) return removed.failure();
    for (const std::string& number : records->deletes) {
        StepTaken(step);
        if (auto forgotten = ForgetDelete(songFolder, number); !forgotten) return forgotten.failure();
    }
    return recovery;
}

}  // namespace songloader
