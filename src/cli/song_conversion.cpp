// SPDX-License-Identifier: GPL-3.0-or-later
#include "song_conversion.h"

#include <cmath>
#include <cstdlib>

#include "device_access.h"
#include "interrupt_stop.h"
#include "progress.h"
#include "terminal_text.h"
#include "core/common/translatable.h"

namespace songloader::cli {

namespace {

int Percent(double done, double total) {
    return total > 0 ? static_cast<int>(std::min(100.0, done * 100.0 / total)) : 0;
}

}  // namespace

void AddConversionFlags(CLI::App& command, ConversionFlags& flags) {
    command.add_flag(
        "--convert", flags.convert,
        SL_TRANSLATE_NOOP("Cli",
                          "convert files the player plays only after conversion into MP4 (H.264, AAC) first, with the "
                          "ffmpeg program"));
    command.add_flag(
        "--loudness", flags.loudness,
        SL_TRANSLATE_NOOP(
            "Cli",
            "measure each song's loudness and set it to -16 LUFS (true peak -1.5 dBTP) unless it is within "
            "1 LU already"));
}

std::optional<PlayerProfile> LoadPlayerProfile(const std::string& encodingFlag, Console& console) {
    const UserSettings settings = SettingsInEffect(encodingFlag);
    Result<PlayerProfile> profile = PlayerProfileFrom(settings.file.values, settings.file.path);
    if (!profile) {
        console.Fail() << profile.message() << "\n";
        return std::nullopt;
    }
    return *profile;
}

std::optional<BatchConversion> PrepareConversion(const ConversionFlags& flags, const PlayerProfile& profile,
                                                 const std::string& encodingFlag, SongList& songs, Console& console,
                                                 const std::vector<MediaFacts>* probed) {
    const UserSettings settings = SettingsInEffect(encodingFlag);
    BatchConversion conversion;
    conversion.plan = PlanConversions(songs, profile, flags.loudness, probed);
    if (!flags.convert && !conversion.plan.needConversion.empty()) {
        for (const std::string& reason : conversion.plan.reasons) {
            console.Fail() << EscapeControls(reason) << kAskConvertText << "\n";
        }
        SongList kept;
        ConversionPlan plan;
        for (std::size_t i = 0; i < songs.size(); ++i) {
            if (conversion.plan.tasks[i].convert) continue;
            kept.push_back(songs[i]);
            plan.tasks.push_back(conversion.plan.tasks[i]);
        }
        songs = std::move(kept);
        conversion.plan = std::move(plan);
        conversion.leftOut = true;
    }
    if (!conversion.plan.AnyNeeded()) return conversion;
    Result<WorkFolder> folder =
        conversion.Ready(FindConverter(settings.file.values, SettingsSources::FromEnvironment().variable), profile);
    if (!folder) {
        console.Fail() << folder.message() << "\n";
        return std::nullopt;
    }
    conversion.folder.emplace(std::move(*folder));
    return conversion;
}

Result<AddReport> AddSongs(DeviceSession& session, const SongList& deviceSongs, const SongList& songs,
                           const BatchConversion& conversion, AddHooks hooks, Console& console) {
    if (!conversion.plan.AnyNeeded()) return session.AddSongs(deviceSongs, songs, hooks);
    std::unique_ptr<ProgressLine> line;
    const ROWELEMENT* current = nullptr;
    SongConversion converting = conversion;
    converting.hooks.stopNow = [] { return InterruptStopsBatch::Stopped(); };
    converting.hooks.onProgress = [&](const ROWELEMENT& song, const ConversionProgress& progress) {
        if (current != &song || !line) {
            current = &song;
            line = std::make_unique<ProgressLine>(
                console, "converting " + std::to_string(progress.fileIndex + 1) + " of " +
                             std::to_string(progress.fileCount) + " " +
                             EscapeControls(std::filesystem::path(song.mediaPath).filename().string()));
        }
        std::string state = std::to_string(Percent(progress.fileSecondsDone, progress.fileSeconds)) + "%  batch " +
                            std::to_string(Percent(progress.batchSecondsDone, progress.batchSeconds)) + "%";
        if (progress.secondsLeft >= 0) state += "  " + MinutesAndSeconds(progress.secondsLeft) + " left";
        line->Status(state);
    };
    AddHooks withConversion = hooks;
    // The conversion's line ends before the copy's begins.
    withConversion.onFileStart = [&](const ROWELEMENT& song, const BatchProgress& progress) {
        line.reset();
        if (hooks.onFileStart) hooks.onFileStart(song, progress);
    };
    withConversion.onBytes = [&](const BatchProgress& progress) {
        if (line) line.reset();
        if (hooks.onBytes) hooks.onBytes(progress);
    };
    return session.AddSongs(deviceSongs, songs, withConversion, converting);
}

}  // namespace songloader::cli
