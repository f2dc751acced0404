// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The converter's command lines: the conversion into what the player plays (MP4, H.264 High within
// the profile's size, AAC-LC 48 kHz stereo, the tags kept), the loudness measurement (EBU R128),
// and the loudness change of a file that plays as it is (its audio alone made again).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/media/media_probe.h"
#include "core/media/player_profile.h"

namespace songloader {

// The loudness every song is set to, and how close counts as there already.
inline constexpr double kTargetLoudness = -16.0;   // LUFS, integrated
inline constexpr double kTargetTruePeak = -1.5;    // dBTP
inline constexpr double kTargetRange = 11.0;       // LU
inline constexpr double kLoudnessTolerance = 1.0;  // LU

// The bit rates a conversion keeps within, for the room a converted file is counted to need.
inline constexpr std::int64_t kAudioBitsPerSecond = 192000;
std::int64_t VideoBitsPerSecondFor(int height);

// What a measurement found (the converter's own loudnorm report).
struct Loudness {
    double integrated = 0;  // LUFS
    double truePeak = 0;    // dBTP
    double range = 0;       // LU
    double threshold = 0;   // LUFS
    double offset = 0;      // LU
};

// The conversion of `source` (facts: what the probe read) into the MP4 `target`; with `loudness`,
// the audio is set to the target in the same pass (two-pass loudnorm with the measured values).
std::vector<std::string> ConversionArguments(const std::filesystem::path& source, const MediaFacts& facts,
                                             const PlayerProfile& profile, const std::filesystem::path& target,
                                             const std::optional<Loudness>& loudness);

// The measurement of `source`'s first audio stream; its report comes on standard error.
std::vector<std::string> MeasureArguments(const std::filesystem::path& source);
// Reads that report; a failure when it holds none.
Result<Loudness> ReadLoudnessReport(const std::string& errorText);

// True when `measured` is within the tolerance of the target: such a song is left as it is.
bool LoudnessOnTarget(const Loudness& measured);

// The loudness change of a file that plays as it is, into `target` of the same container: video
// and pictures copied, every audio stream made again with the same codec at its own sample rate.
// Fails for an audio codec it cannot make again (the caller converts the file instead).
Result<std::vector<std::string>> LoudnessArguments(const std::filesystem::path& source, const MediaFacts& facts,
                                                   const std::filesystem::path& target, const Loudness& loudness);

// The bytes a converted file of `facts` is counted to need: the bit rates it keeps within, times
// its duration (the source's size when the duration is not told).
std::uint64_t EstimatedConvertedBytes(const MediaFacts& facts, const PlayerProfile& profile, std::uint64_t sourceBytes);

}  // namespace songloader
