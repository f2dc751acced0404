// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/entry/converted_songs.h"

#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

#include "core/device/device_layout.h"
#include "core/device/device_room.h"
#include "core/entry/batch_admission.h"
#include "core/entry/media_files.h"
#include "core/media/probe_files.h"

namespace songloader {

namespace {

constexpr std::chrono::milliseconds kProgressStep{100};

std::uint64_t SizeOf(const std::filesystem::path& file) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    return error ? 0 : size;
}

// Converts the songs of a batch as the copy loop reaches them, one ahead.
class ConvertingPlacer {
public:
    ConvertingPlacer(const std::vector<SongToPlace>& songs, const ConversionPlan& plan, const ConverterSetup& setup,
                     const DeviceFolder& folder, const ConversionHooks& hooks)
        : songs_(songs), plan_(plan), setup_(setup), folder_(folder), hooks_(hooks) {
        for (std::size_t i = 0; i < songs.size(); ++i) {
            byTarget_[songs[i].target] = i;
            if (plan.tasks[i].Needed()) {
                order_.push_back(i);
                batchSeconds_ += plan.tasks[i].facts.seconds * plan.tasks[i].Passes();
            }
        }
        jobs_.resize(songs.size());
    }

    Result<std::filesystem::path> Place(const SongToPlace& song, const PlaceProgress& progress, StagedFiles& staged) {
        const auto found = byTarget_.find(song.target);
        if (found == byTarget_.end() || !plan_.tasks[found->second].Needed())
            return CopySongFile(song, progress, staged);
        const std::size_t i = found->second;
        if (!jobs_[i]) Start(i);
        const Result<std::filesystem::path> made = Wait(i);
        // The next one converts while this one is copied.
        StartAfter(i);
        if (!made) return made.failure();
        const bool converted = *made != song.song.mediaPath;
        const auto removeMade = [&] {
            std::error_code error;
            if (converted) std::filesystem::remove(*made, error);
        };
        // The room was counted with an estimate; the real file must fit too.
        if (converted) {
            if (const auto room = RoomOn(folder_.path()); room) {
                const std::uint64_t size = SizeOf(*made);
                const std::uint64_t needed = size + kRoomMarginBytes;
                if (needed > room->freeBytes) {
                    removeMade();
                    return Fail("the converted file (" + SizeText(size) + ") does not fit on the USB drive (" +
                                SizeText(room->freeBytes) + " free)");
                }
            }
        }
        SongToPlace from = song;
        from.song.mediaPath = made->string();
        from.sourceBytes.reset();
        // The copy is complete under its temporary name on the device: the converted file can go.
        Result<std::filesystem::path> copied = CopySongFileNow(from, progress, staged);
        removeMade();
        return copied;
    }

private:
    std::filesystem::path OutputFor(std::size_t i) const {
        return setup_.workFolder / (std::to_string(i) + songs_[i].target.extension().string());
    }

    void Start(std::size_t i) {
        jobs_[i] = std::make_unique<ConversionJob>(setup_, songs_[i].song.mediaPath, plan_.tasks[i], OutputFor(i));
    }

    void StartAfter(std::size_t i) {
        for (std::size_t n = 0; n < order_.size(); ++n) {
            if (order_[n] != i) continue;
            if (n + 1 < order_.size() && !jobs_[order_[n + 1]] && !Stopping()) Start(order_[n + 1]);
            return;
        }
    }

    bool Stopping() const { return hooks_.stopNow && hooks_.stopNow(); }

    Result<std::filesystem::path> Wait(std::size_t i) {
        ConversionJob& job = *jobs_[i];
        ConversionProgress progress;
        progress.fileCount = order_.size();
        for (std::size_t n = 0; n < order_.size() && order_[n] != i; ++n) progress.fileIndex = n + 1;
        progress.fileSeconds = job.SecondsTotal();
        progress.batchSeconds = batchSeconds_;
        const auto begun = std::chrono::steady_clock::now();
        const double doneBefore = secondsDone_;
        for (;;) {
            const bool ended = job.WaitFor(kProgressStep);
            if (!ended && Stopping()) job.Stop();
            progress.fileSecondsDone = job.SecondsDone();
            progress.batchSecondsDone = doneBefore + progress.fileSecondsDone;
            const double elapsed =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count() + elapsedBefore_;
            if (progress.batchSecondsDone > 0 && elapsed > 0.5) {
                progress.secondsLeft =
                    elapsed / progress.batchSecondsDone * (batchSeconds_ - progress.batchSecondsDone);
            }
            if (hooks_.onProgress) hooks_.onProgress(songs_[i].song, progress);
            if (ended) break;
        }
        secondsDone_ += job.SecondsTotal();
        elapsedBefore_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
        Result<std::filesystem::path> made = job.Take();
        jobs_[i].reset();
        return made;
    }

    const std::vector<SongToPlace>& songs_;
    const ConversionPlan& plan_;
    const ConverterSetup& setup_;
    const DeviceFolder& folder_;
    const ConversionHooks& hooks_;
    std::map<std::filesystem::path, std::size_t> byTarget_;
    std::vector<std::size_t> order_;  // the songs with a task, in batch order
    std::vector<std::unique_ptr<ConversionJob>> jobs_;
    double batchSeconds_ = 0;
    double secondsDone_ = 0;
    double elapsedBefore_ = 0;
};

}  // namespace

bool ConversionPlan::AnyNeeded() const {
    for (const ConversionTask& task : tasks) {
        if (task.Needed()) return true;
    }
    return false;
}

ConversionPlan PlanConversions(const SongList& songs, const PlayerProfile& profile, bool loudness,
                               const std::vector<MediaFacts>* probed) {
    std::vector<Result<MediaFacts>> found;
    if (!probed) {
        std::vector<std::filesystem::path> files;
        for (const ROWELEMENT& song : songs) files.emplace_back(song.mediaPath);
        found = ProbeFiles(files);
    }
    // What the probe found in the file of song `i`; none when it refused the file.
    const auto factsOf = [&](std::size_t i) -> const MediaFacts* {
        if (probed) return &(*probed)[i];
        return found[i] ? &*found[i] : nullptr;
    };
    ConversionPlan plan;
    for (std::size_t i = 0; i < songs.size(); ++i) {
        const ROWELEMENT& song = songs[i];
        ConversionTask task;
        if (const MediaFacts* facts = factsOf(i)) {
            const MediaJudgement judgement = JudgeMedia(*facts, profile);
            task.facts = *facts;
            task.convert = judgement.verdict == MediaVerdict::PlaysAfterConversion;
            task.loudness = loudness && facts->hasAudio;
            if (task.convert) {
                plan.needConversion.push_back(song.mediaPath);
                plan.reasons.push_back(NeedsConversionText(song.mediaPath, judgement));
                plan.secondsToConvert += facts->seconds;
            }
        }
        plan.tasks.push_back(std::move(task));
    }
    return plan;
}

int ConversionMinutes(const ConversionPlan& plan) {
    return std::max(1, static_cast<int>(std::ceil(plan.secondsToConvert / 60.0)));
}

std::string MinutesAndSeconds(double seconds) {
    const long whole = std::lround(std::max(0.0, seconds));
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

Result<AddReport> AddConvertedUserSongs(const SongList& deviceSongs, const SongList& songs, const ConversionPlan& plan,
                                        const ConverterSetup& setup, const DeviceFolder& songFolder,
                                        const std::string& codePage, const AddHooks& hooks,
                                        const ConversionHooks& conversionHooks) {
    std::vector<SongToPlace> placing;
    std::vector<std::uint64_t> sizes;
    SongList unreadable;
    std::vector<Failure> unreadableWhy;
    ConversionPlan kept;
    for (std::size_t i = 0; i < songs.size(); ++i) {
        const ROWELEMENT& song = songs[i];
        struct stat source {};
        // Only a regular file is read: a FIFO or a device would never end.
        if (::stat(song.mediaPath.c_str(), &source) != 0 || !S_ISREG(source.st_mode)) {
            const bool missing = ::stat(song.mediaPath.c_str(), &source) != 0;
            unreadable.push_back(song);
            unreadableWhy.push_back(
                Fail("cannot read " + song.mediaPath + ": " + (missing ? std::strerror(errno) : "not a regular file")));
            continue;
        }
        const ConversionTask task = i < plan.tasks.size() ? plan.tasks[i] : ConversionTask{};
        SongToPlace place = UserSongPlacement(song, songFolder.path());
        if (task.convert) place.target.replace_extension(".mp4");
        placing.push_back(place);
        sizes.push_back(task.convert ? EstimatedConvertedBytes(task.facts, setup.profile,
                                                               static_cast<std::uint64_t>(source.st_size))
                                     : static_cast<std::uint64_t>(source.st_size));
        kept.tasks.push_back(task);
    }
    ConvertingPlacer placer(placing, kept, setup, songFolder, conversionHooks);
    const PlaceSong place = [&placer](const SongToPlace& song, const PlaceProgress& progress, StagedFiles& staged) {
        return placer.Place(song, progress, staged);
    };
    Result<AddReport> report = AddPlacedSongs(deviceSongs, placing, place, songFolder, codePage, hooks, sizes);
    if (report) {
        for (std::size_t i = 0; i < unreadable.size(); ++i) {
            report->notAdded.insert(report->notAdded.begin() + static_cast<std::ptrdiff_t>(i),
                                    {unreadable[i], unreadableWhy[i]});
        }
    }
    return report;
}

}  // namespace songloader
