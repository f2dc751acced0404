// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// User songs whose files play only after conversion, or whose loudness is set, on their way onto
// the device: each is converted on the computer first (conversion_job.h) and only a finished file
// is copied, through the same batch as every add (AddPlacedSongs). The next song converts while
// the one before is copied.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/catalogue/row_element.h"
#include "core/common/device_folder.h"
#include "core/common/result.h"
#include "core/convert/conversion_job.h"
#include "core/entry/device_songs.h"

namespace songloader {

// What the songs of a batch need: a task per song (in order), and the files that play only
// after conversion, as their songs' mediaPath names them.
struct ConversionPlan {
    std::vector<ConversionTask> tasks;
    std::vector<std::string> needConversion;
    std::vector<std::string> reasons;  // NeedsConversionText of each of needConversion
    double secondsToConvert = 0;       // their durations together
    bool AnyNeeded() const;
};

// Judges each song's file (mediaPath) by `profile`; with `loudness`, every song's loudness is to be
// measured and set. The files are probed, unless `probed` gives what the probe found in each, in
// order (an import has probed them already). A file the probe refuses keeps no task (its copy then
// fails with the probe's reason).
ConversionPlan PlanConversions(const SongList& songs, const PlayerProfile& profile, bool loudness,
                               const std::vector<MediaFacts>* probed = nullptr);

// About how long converting takes, for the question asked before: a minute per minute of
// media at worst on a small machine, at least one.
int ConversionMinutes(const ConversionPlan& plan);

// A time left as minutes and seconds, e.g. "3:07".
std::string MinutesAndSeconds(double seconds);

// How far the conversions are, as they run.
struct ConversionProgress {
    std::size_t fileIndex = 0;  // 0-based, among the songs converted
    std::size_t fileCount = 0;
    double fileSecondsDone = 0;
    double fileSeconds = 0;
    double batchSecondsDone = 0;
    double batchSeconds = 0;
    double secondsLeft = -1;  // the time still needed at the rate so far; negative when not known yet
};

struct ConversionHooks {
    std::function<void(const ROWELEMENT& song, const ConversionProgress& progress)> onProgress;
    // Polled while a song converts: true ends the converter at once; nothing of that song is kept.
    std::function<bool()> stopNow;
};

// Adds user songs as AddUserSongs does, converting first every one whose task needs it: a song
// converted goes onto the device as MP4 (its target named .mp4), one whose loudness alone was set
// keeps its extension. The room check counts each converted file as EstimatedConvertedBytes, and
// each finished file is checked again with its real size before it is copied. The work folder of
// `setup` must exist; every file made there is gone when this returns.
Result<AddReport> AddConvertedUserSongs(const SongList& deviceSongs, const SongList& songs, const ConversionPlan& plan,
                                        const ConverterSetup& setup, const DeviceFolder& songFolder,
                                        const std::string& codePage, const AddHooks& hooks,
                                        const ConversionHooks& conversionHooks);

}  // namespace songloader
