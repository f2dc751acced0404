#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/catalogue/row_element.h"
#include "core/common/notice.h"

namespace songloader {

enum class RebuildMode { Add, Revise, Delete };

inline constexpr const char* kAddedMessage = "Added successfully";
inline constexpr const char* kRevisedMessage = "Revised successfully!";
inline constexpr const char* kDeletedMessage = "Song deleted successfully";

struct RebuildHooks {
    // Once per song, after its row is written: songs done so far and the total.
    std::function<void(std::size_t done, std::size_t total)> onSong;
};

struct RebuildResult {
    bool ok = false;
    // In order: the builder's messages on failure, or the closing message on success.
    Notices notices;
    // What the database creation reported (for a console).
    std::vector<std::string> diagnostics;
};

// Writes a new usbsong.db and SgList.dat for `songs` into `songFolder`. Both are built under
// temporary names, flushed, and only then moved over the old files; on any failure the old
// catalogue stays as it was. A device without songs keeps an empty usbsong.db and no SgList.dat.
// `codePage` is the device's: the list's text slots are cut between its characters.
RebuildResult RebuildDeviceCatalogue(const SongList& songs, const std::filesystem::path& songFolder,
                                     RebuildMode mode, const RebuildHooks& hooks = {},
                                     const std::string& codePage = {});

}  // namespace songloader
