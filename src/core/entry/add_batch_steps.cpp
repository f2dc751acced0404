// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/entry/add_batch_steps.h"

#include <exception>
#include <optional>
#include <system_error>
#include <utility>

#include "core/entry/placement_journal.h"
#include "core/entry/placement_recovery.h"
#include "core/common/translatable.h"

namespace songloader {

namespace {

constexpr const char* kStoppedMessage = SL_TRANSLATE_NOOP("Core", "not copied: the batch was stopped before it");
constexpr const char* kJournalPendingMessage =
    SL_TRANSLATE_NOOP("Core", "An interrupted change of the USB drive is not finished yet; nothing was added.");

std::filesystem::path InsideSongFolder(const SongToPlace& song, const std::filesystem::path& songFolder) {
    return song.target.lexically_relative(songFolder);
}

bool StillThere(const AddHooks& hooks) { return !hooks.deviceStillThere || hooks.deviceStillThere(); }

}  // namespace

Result<> RecordBatch(const std::vector<SongToPlace>& songs, const AdmittedSongs& admitted,
                     const std::filesystem::path& songFolder, const WriteStepHook& step) {
    // Records left by a run that could not be finished would be lost under a new one.
    if (JournalLeftOver(songFolder)) return Fail(kJournalPendingMessage);
    PlacementJournal journal;
    journal.placements.reserve(admitted.indexes.size());
    for (std::size_t i : admitted.indexes) {
        ROWELEMENT song = songs[i].song;
        song.mediaPath = InsideSongFolder(songs[i], songFolder).string();
        journal.placements.push_back({song});
    }
    StepTaken(step);
    return WritePlacementJournal(songFolder, journal);
}

CatalogueAhead::CatalogueAhead(SongList deviceSongs, std::filesystem::path songFolder, std::string codePage)
    : deviceSongs_(std::move(deviceSongs)), songFolder_(std::move(songFolder)), codePage_(std::move(codePage)) {}

void CatalogueAhead::Start(const SongList& came) {
    if (building_.valid()) return;
    SongList all = std::move(deviceSongs_);
    all.insert(all.end(), came.begin(), came.end());
    try {
        building_ = std::async(std::launch::async, [all = std::move(all), folder = songFolder_, codePage = codePage_] {
            return PrepareDeviceCatalogue(all, folder, {}, codePage);
        });
    } catch (const std::system_error&) {
        // No thread to be had: the catalogue is built once the files are in place.
    }
}

std::optional<PreparedCatalogue> CatalogueAhead::Take(std::size_t songCount) {
    if (!building_.valid()) return std::nullopt;
    try {
        Result<PreparedCatalogue> built = building_.get();
        if (!built || built->songCount != songCount) return std::nullopt;  // discarded here
        return std::move(built).value();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

ArrivedSongs CopyBatch(const std::vector<SongToPlace>& songs, const AdmittedSongs& admitted, const PlaceSong& place,
                       StagedFiles& staged, const AddHooks& hooks, AddReport& report, CatalogueAhead* ahead) {
    // Every file that came, in batch order; those left to `staged` with their index there.
    struct Came {
        const SongToPlace* from;
        std::filesystem::path file;
        std::optional<std::size_t> stagedIndex;
    };
    std::vector<Came> came;
    const auto asPlaced = [](const Came& song) {
        ROWELEMENT placed = song.from->song;
        placed.mediaPath = song.file.string();
        return placed;
    };
    BatchProgress progress;
    progress.fileCount = admitted.indexes.size();
    for (std::uint64_t size : admitted.sizes) progress.batchBytes += size;
    std::uint64_t bytesBefore = 0;
    for (std::size_t n = 0; n < admitted.indexes.size(); ++n) {
        const SongToPlace& placing = songs[admitted.indexes[n]];
        if (n > 0 && hooks.stopAfterCurrent && hooks.stopAfterCurrent()) {
            report.stopped = true;
            for (std::size_t rest = n; rest < admitted.indexes.size(); ++rest) {
                report.notAdded.push_back({songs[admitted.indexes[rest]].song, Fail(kStoppedMessage)});
            }
            break;
        }
        progress.fileIndex = n;
        progress.fileBytes = admitted.sizes[n];
        progress.fileBytesDone = 0;
        progress.batchBytesDone = bytesBefore;
        if (hooks.onFileStart) hooks.onFileStart(placing.song, progress);
        StepTaken(hooks.writeStep);
        const std::size_t stagedBefore = staged.size();
        Result<std::filesystem::path> file = place(
            placing,
            [&](std::uint64_t done, std::uint64_t total) {
                StepTaken(hooks.writeStep);
                progress.fileBytesDone = done;
                if (total) progress.fileBytes = total;
                progress.batchBytesDone = bytesBefore + done;
                if (hooks.onBytes) hooks.onBytes(progress);
            },
            staged);
        bytesBefore += progress.fileBytes;
        if (hooks.onFileEnd) hooks.onFileEnd(placing.song, file);
        if (!file) {
            if (!StillThere(hooks)) {
                report.deviceLost = true;
                break;
            }
            report.notAdded.push_back({placing.song, file.failure()});
            continue;
        }
        came.push_back({&placing, *file, std::nullopt});
        if (staged.size() > stagedBefore) came.back().stagedIndex = staged.size() - 1;
    }
    // The staged files go in place only on the device that was chosen.
    std::vector<Result<std::filesystem::path>> putInPlace;
    if (staged.size() > 0 && !report.deviceLost) {
        if (StillThere(hooks)) {
            if (ahead) {
                SongList placed;
                placed.reserve(came.size());
                for (const Came& song : came) placed.push_back(asPlaced(song));
                ahead->Start(placed);
            }
            putInPlace = staged.PutInPlace(hooks.writeStep);
        } else {
            report.deviceLost = true;
        }
    }
    ArrivedSongs arrived;
    for (const Came& song : came) {
        if (song.stagedIndex) {
            if (*song.stagedIndex >= putInPlace.size()) continue;  // the device went first
            const Result<std::filesystem::path>& placed = putInPlace[*song.stagedIndex];
            if (!placed) {
                report.notAdded.push_back({song.from->song, placed.failure()});
                continue;
            }
        }
        arrived.placed.push_back(asPlaced(song));
        arrived.from.push_back(song.from);
    }
    // A flush or a rename refused because the device went: what is in place stays recorded.
    if (!report.deviceLost && arrived.placed.size() < came.size() && !StillThere(hooks)) report.deviceLost = true;
    return arrived;
}

void CatalogueBatch(const SongList& deviceSongs, ArrivedSongs arrived, const std::filesystem::path& songFolder,
                    const std::string& codePage, const AddHooks& hooks, AddReport& report, CatalogueAhead* ahead) {
    // What arrived before the device went is recorded on it: its next writing command finishes it.
    const auto keepRecorded = [&] {
        report.deviceLost = true;
        report.uncatalogued = std::move(arrived.placed);
    };
    if (report.deviceLost) return keepRecorded();
    if (arrived.placed.empty()) {
        StepTaken(hooks.writeStep);
        (void)RemovePlacementJournal(songFolder);
        return;
    }
    if (!StillThere(hooks)) return keepRecorded();
    SongList all = deviceSongs;
    all.insert(all.end(), arrived.placed.begin(), arrived.placed.end());
    const RebuildHooks rebuildHooks = StepsBetweenRenames(hooks.rebuildHooks, hooks.writeStep);
    std::optional<PreparedCatalogue> prepared = ahead ? ahead->Take(all.size()) : std::nullopt;
    StepTaken(hooks.writeStep);
    const auto build = [&]() -> Result<CatalogueWritten> {
        if (!prepared) return RebuildDeviceCatalogue(all, songFolder, RebuildMode::Add, rebuildHooks, codePage);
        // Built while the files were put in place: its songs are all done, and told so now.
        for (std::size_t done = 1; rebuildHooks.onSong && done <= all.size(); ++done) {
            rebuildHooks.onSong(done, all.size());
        }
        return prepared->Commit(RebuildMode::Add, rebuildHooks);
    };
    Result<CatalogueWritten> rebuilt = build();
    if (rebuilt) {
        report.added = std::move(arrived.placed);
        report.notices = std::move(rebuilt->notices);
        report.notes = std::move(rebuilt->notes);
        StepTaken(hooks.writeStep);
        // The catalogue names every placed song: a record left here would only be dropped next time.
        (void)RemovePlacementJournal(songFolder);
        return;
    }
    if (!StillThere(hooks)) return keepRecorded();
    report.notices = rebuilt.failure().AsNotices();
    report.catalogueFailure = Fail(NoticesText(report.notices));
    // A catalogue that cannot take the songs now will not take them later either: a record kept for
    // them would stop every later write. They are taken off the device again.
    std::vector<std::filesystem::path> targets;
    for (const SongToPlace* from : arrived.from) targets.push_back(InsideSongFolder(*from, songFolder));
    if (Result<> undone = RollBackPlacements(songFolder, targets, hooks.writeStep); !undone) {
        // Still recorded: the next writing command catalogues them or takes them off.
        report.uncatalogued = std::move(arrived.placed);
        return;
    }
    for (const SongToPlace* from : arrived.from) report.notAdded.push_back({from->song, Fail(kNotCataloguedMessage)});
    report.takenOff = arrived.from.size();
}

}  // namespace songloader
