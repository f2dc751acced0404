#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/catalogue/row_element.h"
#include "core/common/notice.h"
#include "core/entry/catalogue_rebuild.h"
#include "core/entry/media_files.h"

namespace songloader {

// Messages for failures the old window did not report.
inline constexpr const char* kMediaMissingMessage =
    "The media file of song %s is not on the device; nothing was changed.";
inline constexpr const char* kMoveFailedMessage = "The media file could not be moved; nothing was changed.\n%s";

struct ReviseHooks {
    // Before the files of a song with a new number move: the media file's size in bytes.
    std::function<void(std::uint64_t bytes)> onMoveStart;
    ChunkProgress onChunk;
    RebuildHooks rebuild;
};

struct ReviseResult {
    bool ok = false;
    Notices notices;                       // the refusal, or the rebuild's messages
    std::vector<std::string> diagnostics;  // the rebuild's, for a console
};

// Stores `revised` as device song `row`: a new number must pass the number checks of the entry
// form and be used by no other device song, the song must pass the list builder's row checks; then
// every file of the song moves to its new number and the catalogue is rebuilt. When any step fails
// nothing stays changed: `songs`, the files and the catalogue are as before. `codePage` is the
// device's (see RebuildDeviceCatalogue).
ReviseResult ReviseDeviceSong(SongList& songs, std::size_t row, ROWELEMENT revised,
                              const std::filesystem::path& songFolder, const std::string& codePage,
                              const ReviseHooks& hooks = {});

}  // namespace songloader
