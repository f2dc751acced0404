// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/catalogue/row_element.h"
#include "core/common/notice.h"
#include "core/common/result.h"
#include "core/entry/catalogue_rebuild.h"
#include "core/entry/media_files.h"
#include "core/entry/write_steps.h"
#include "core/common/translatable.h"

namespace songloader {

// Why a revise changed nothing.
inline constexpr const char* kMediaMissingMessage =
    SL_TRANSLATE_NOOP("Core", "The media file of song %s is not on the device; nothing was changed.");
inline constexpr const char* kMoveFailedMessage =
    SL_TRANSLATE_NOOP("Core", "The media file could not be moved; nothing was changed.\n%s");

// Puts `song` into the revised row of the device list: the revised song, or the old one back.
using StoreRow = std::function<void(const ROWELEMENT& song)>;

// What a caller does between the steps of a revise; each may be left out.
struct ReviseHooks {
    // Device bytes as the caller's messages show them; as they are when not given.
    std::function<std::string(const std::string& deviceBytes)> messageText;
    // Once the checks passed, before anything is written: false stops the revise with nothing
    // changed (the caller has said why).
    std::function<bool()> beginWrite;
    // Before the files of a song with a new number move: the media file's size in bytes.
    std::function<void(std::uint64_t bytes)> onMoveStart;
    ChunkProgress onChunk;
    // After the move, whether it succeeded or not.
    std::function<void()> onMoveEnd;
    // Writes the catalogue of the device list (the revised row stored); when not given,
    // RebuildDeviceCatalogue in revise mode with `rebuildHooks`. A hook that shows its own messages
    // gives an empty CatalogueWritten, or FailQuietly().
    std::function<Result<CatalogueWritten>()> rebuild;
    RebuildHooks rebuildHooks;
    // After a failed move or rebuild: false when the device is gone. Then nothing is put back
    // (there is nothing to put it on) and the step's messages are left out.
    std::function<bool()> deviceStillThere;
    // Before every file-system step (tests).
    WriteStepHook writeStep;
};

// Stores `revised` as device song `row` of `songs`: a new number must pass the number checks of
// the entry form and be used by no other device song nor by one of `queuedSongs`, the song must
// pass the list builder's row checks; then every file of the song moves to its new number, the
// row is stored (`storeRow` changes `songs`) and the catalogue is rebuilt, also when the number
// stays. When any step fails nothing stays changed: the row, the files and the catalogue are as
// before. `codePage` is the device's (see RebuildDeviceCatalogue). The value is the rebuild's; a
// failure is the refusal or the rebuild's messages (Failure::AsNotices), and has nothing to show
// when a hook stopped it or the device went.
Result<CatalogueWritten> ReviseDeviceSong(const SongList& songs, std::size_t row, ROWELEMENT revised,
                                          const StoreRow& storeRow, const std::filesystem::path& songFolder,
                                          const std::string& codePage, const ReviseHooks& hooks = {},
                                          const SongList& queuedSongs = {});

}  // namespace songloader
