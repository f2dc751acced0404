// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>

#include "core/media/media_probe.h"

namespace songloader {

// Reads the streams, duration and tags of a plain MP4 file from its boxes, without the media
// library: loading that library costs about fifty milliseconds, and its probe a tenth of one per
// file, which is most of the time an import of small files takes. Only what this reader knows in
// full is answered: H.264 and MPEG-4 Visual video, AAC-LC audio, tags in an
// iTunes-style list. Anything else (other codecs, fragments, cover pictures, QuickTime text tags,
// per-track tags, chapter references, damaged or oversized boxes) gives nullopt, and the caller
// asks the media library, whose answer this one equals where both answer.
// Fills streams, hasVideo, hasAudio, seconds, bitsPerSecond, title, artist and composer.
std::optional<MediaFacts> ReadMp4Header(const std::filesystem::path& file);

}  // namespace songloader
