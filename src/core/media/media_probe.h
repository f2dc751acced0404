// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/result.h"
#include "core/common/translatable.h"

namespace songloader {

// The containers the player plays.
enum class MediaContainer { Matroska, MpegTs, MpegPs, Avi, Mp4, Flv, Mp3 };

// One video or audio stream as its headers describe it.
struct MediaStream {
    int index = 0;       // in the file, as the converter numbers streams
    bool video = false;  // else audio
    std::string codec;   // libav's codec name ("h264", "vp9", "mp3"); AAC as "aac-lc" or "aac-he", ...
    int width = 0;       // a video's size; 0 when neither the headers nor the first picture tell (then it passes)
    int height = 0;
    int sampleRate = 0;  // an audio's; 0 when not told
};

// What a media file holds, as far as its headers tell. Texts are UTF-8, empty when untagged.
struct MediaFacts {
    // The player's container when the file is one and its extension says so; none otherwise, with
    // `containerText` saying what it is ("a WebM file", "an MP4 file named .m4a").
    std::optional<MediaContainer> container;
    std::string containerText;
    bool hasVideo = false;
    bool hasAudio = false;
    std::vector<MediaStream> streams;  // video streams (not cover pictures) and audio streams
    double seconds = 0;                // the duration; 0 when not told
    std::int64_t bitsPerSecond = 0;    // the whole file's; 0 when not told
    std::string title;
    std::string artist;
    std::string composer;
    std::string lyricist;
};

// The refusal texts; FILE is the name the caller shows.
inline constexpr const char* kNotMediaMessage = SL_TRANSLATE_NOOP("Core", " is not a video or audio file.");
inline constexpr const char* kNotDecodableMessage =
    SL_TRANSLATE_NOOP("Core", " cannot be read: no decoder knows its %s (damaged or unknown).");

// Opens `file` and reads only the headers (and, for containers that announce their streams in
// packets, the first packets) its demuxer needs. Refused, naming the file as `shownName`: not a
// video or audio file; a file whose video or audio no decoder here reads (damaged, or unknown).
// A container the player does not play, or an extension that is not the container's (compared
// case-insensitively), is told in the facts: such a file plays after conversion (player_profile.h).
Result<MediaFacts> ProbeMedia(const std::filesystem::path& file, const std::string& shownName);
// The same, always through the media library: ProbeMedia reads plain MP4 headers itself
// (mp4_header.h), and tests hold the two readings side by side.
Result<MediaFacts> ProbeMediaWithLibrary(const std::filesystem::path& file, const std::string& shownName);

// "Matroska (MKV)", "MP4", ...: the container's name for people.
const char* ContainerName(MediaContainer container);

// True when `extension` (with its dot, any case) names a file of `container`:
// .mkv; .ts; .mpg .mpeg .vob .dat; .avi; .mp4; .flv; .mp3.
bool ExtensionFits(MediaContainer container, std::string_view extension);

}  // namespace songloader
