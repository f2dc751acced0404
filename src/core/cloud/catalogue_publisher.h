// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/cloud/publish_table.h"

namespace songloader {

struct PublishHooks {
    // After each copied file (videos, then MIDI pack files): files done and the total.
    std::function<void(std::size_t done, std::size_t total)> onFile;
};

// Builds what a static cloud server holds in `outFolder`: MgList.dat (the device song list layout),
// Msong.db (the songlist table, one device database row per song, indexed), <number>.mp4 per song,
// and, with `midiFolder`, the MIDI pack files (found there under their device names) under their
// remote names. Everything is prepared beside the output first and moved in only when all of it is
// complete, the lists last; on failure the output folder is left as it was (the failure names
// every missing MIDI pack file, one a line).
Result<> PublishCatalogue(const std::vector<PublishSong>& songs, const std::filesystem::path& outFolder,
                          const std::optional<std::filesystem::path>& midiFolder, const PublishHooks& hooks = {});

}  // namespace songloader
