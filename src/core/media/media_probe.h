// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/common/result.h"
#include "core/common/translatable.h"

namespace songloader {

// The containers the player plays.
enum class MediaContainer { Matroska, MpegTs, MpegPs, Avi, Mp4, Flv, Mp3 };

// What a media file holds, as far as its headers tell. Texts are UTF-8, empty when untagged.
struct MediaFacts {
    MediaContainer container = MediaContainer::Mp4;
    bool hasVideo = false;
    bool hasAudio = false;
    std::string title;
    std::string artist;
    std::string composer;
    std::string lyricist;
};

// The refusal texts; FILE is the name the caller shows.
inline constexpr const char* kNotMediaMessage = SL_TRANSLATE_NOOP("Core", " is not a video or audio file.");
inline constexpr const char* kPlayerTakesMessage =
    "; the player takes MKV, TS, VOB, DAT, AVI, MPG, MP4, FLV and MP3 files.";

// Opens `file` and reads only the headers (and, for containers that announce their streams in
// packets, the first packets) its demuxer needs. Refused, naming the file as `shownName`: not a
// video or audio file; a container the player does not play ("... is a WebM file; the player
// takes ..."); an extension that is not the container's ("... is a Matroska (MKV) file named
// .mp4"). Extensions compare case-insensitively.
Result<MediaFacts> ProbeMedia(const std::filesystem::path& file, const std::string& shownName);

// "Matroska (MKV)", "MP4", ...: the container's name for people.
const char* ContainerName(MediaContainer container);

// True when `extension` (with its dot, any case) names a file of `container`:
// .mkv; .ts; .mpg .mpeg .vob .dat; .avi; .mp4; .flv; .mp3.
bool ExtensionFits(MediaContainer container, std::string_view extension);

}  // namespace songloader
