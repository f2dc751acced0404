// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// --convert and --loudness of add and import: which files need the converter, the converter
// itself, and the batch that converts before it copies, with its progress on the terminal.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "command_line.h"
#include "core/convert/converter_program.h"
#include "core/entry/converted_songs.h"
#include "core/session/device_session.h"

namespace songloader::cli {

struct ConversionFlags {
    bool convert = false;
    bool loudness = false;
};

void AddConversionFlags(CLI::App& command, ConversionFlags& flags);

// The conversions a batch's songs need. Without --convert, the songs that need one are taken out
// of `songs` (each named on standard error with what it needs) and `leftOut` is set.
struct BatchConversion : SongConversion {
    std::optional<WorkFolder> folder;
    bool leftOut = false;
};

// The player profile of the settings file in effect; nullopt after printing why.
std::optional<PlayerProfile> LoadPlayerProfile(const std::string& encodingFlag, Console& console);

// The text after a file left out for wanting conversion.
inline constexpr const char* kAskConvertText = "; add --convert to convert it";

// nullopt after printing why when the converter cannot be had. `probed`: what the probe found in
// each song's file, when known already.
std::optional<BatchConversion> PrepareConversion(const ConversionFlags& flags, const PlayerProfile& profile,
                                                 const std::string& encodingFlag, SongList& songs, Console& console,
                                                 const std::vector<MediaFacts>* probed = nullptr);

// Adds `songs` to the device held by `session`, through the converter when any needs it; the
// converter's progress on a line of its own; Ctrl-C ends a conversion at once (InterruptStopsBatch).
Result<AddReport> AddSongs(DeviceSession& session, const SongList& deviceSongs, const SongList& songs,
                           const BatchConversion& conversion, AddHooks hooks, Console& console);

}  // namespace songloader::cli
