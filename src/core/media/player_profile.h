// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the player plays, checked to the codec: a file plays as it is only when its container is
// one the player reads (media_probe.h), its video is one of the profile's codecs within its size,
// and every audio stream is one of its audio codecs. Anything else that the probe could read plays
// after conversion.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/media/media_probe.h"

namespace songloader {

struct PlayerProfile {
    std::vector<std::string> videoCodecs;  // libav codec names
    std::vector<std::string> audioCodecs;  // libav codec names; AAC as "aac-lc"
    int maxWidth = 0;
    int maxHeight = 0;
    friend bool operator==(const PlayerProfile&, const PlayerProfile&) = default;
};

// The settings file's keys that replace the built-in profile, each on its own:
//   player-video-codecs = mpeg1video, mpeg2video, mpeg4, h264
//   player-audio-codecs = mp3, mp2, aac-lc, ac3
//   player-max-size = 1920x1080
inline constexpr const char* kPlayerVideoKey = "player-video-codecs";
inline constexpr const char* kPlayerAudioKey = "player-audio-codecs";
inline constexpr const char* kPlayerSizeKey = "player-max-size";

// MPEG-1, MPEG-2, MPEG-4 Visual and H.264 video up to 1920x1080; MP3, MP2, AAC-LC and AC-3 audio.
PlayerProfile BuiltInPlayerProfile();

// The built-in profile with the keys of the settings file `values` (read from `file`) in its place;
// a key with a value that is not a list of names or a size is named with the file.
Result<PlayerProfile> PlayerProfileFrom(const std::map<std::string, std::string>& values,
                                        const std::filesystem::path& file);

enum class MediaVerdict { Plays, PlaysAfterConversion };

struct MediaJudgement {
    MediaVerdict verdict = MediaVerdict::Plays;
    // What the player cannot play, for people: "a WebM file, VP9 video, Opus audio"; empty when it plays.
    std::string why;
};

// The verdict on a file the probe read (a file it refused cannot be used at all).
MediaJudgement JudgeMedia(const MediaFacts& facts, const PlayerProfile& profile);

// "FILE plays only after conversion (a WebM file, VP9 video)": the message naming such a file.
std::string NeedsConversionText(const std::string& shownName, const MediaJudgement& judgement);

}  // namespace songloader
