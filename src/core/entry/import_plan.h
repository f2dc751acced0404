// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Importing many media files at once: which files a batch holds, and for each one either the song
// it becomes (number, language, texts found in its tags and name) or why it is left out. Nothing
// here writes; the songs go onto the device through AddUserSongs (device_songs.h).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/catalogue/row_element.h"
#include "core/common/translatable.h"
#include "core/media/media_probe.h"
#include "core/media/player_profile.h"

namespace songloader {

// A file left out of a batch, with the message that names it (UTF-8).
struct ImportSkip {
    std::string file;  // as shown
    std::string message;
    bool duplicate = false;        // it repeats a song: importing with duplicates kept takes it
    bool needsConversion = false;  // it plays only after conversion, which was not asked for
};

inline constexpr const char* kInsideSongFolderMessage =
    SL_TRANSLATE_NOOP("Core", " is inside the device's songs folder; its songs are on the device already");

struct ImportFiles {
    std::vector<std::filesystem::path> files;  // in byte order of their full paths
    std::vector<ImportSkip> missing;           // given paths that name nothing or cannot be taken,
                                               // and folders that cannot be read
};

// The files of a batch: each path given that is a file, and every file below each folder given
// (recursively); hidden files and folders and linked folders below a given folder, and the
// device's own song folder `songFolder` (when known) met below one, are left out without a word.
// A given path inside that song folder, and a folder that cannot be read, are named in `missing`.
// Each file once.
ImportFiles CollectImportFiles(const std::vector<std::filesystem::path>& given,
                               const std::optional<std::filesystem::path>& songFolder);

struct ImportOptions {
    std::string languageText;           // the entry-language combo text, e.g. "EG[English]"
    std::optional<std::string> artist;  // UTF-8; replaces the artist of every song of the batch
    bool keepDuplicates = false;
    std::string codePage;  // the device's
    // When given, a file that plays only after conversion by this profile is left out
    // (needsConversion) instead of planned.
    std::optional<PlayerProfile> leaveOutConversions;
};

struct ImportPlan {
    SongList songs;                   // mediaPath = the file to copy; texts in device bytes
    std::vector<std::string> shown;   // the file of each song as shown
    std::vector<MediaFacts> facts;    // what the probe found in each song's file
    std::vector<ImportSkip> skipped;  // in file order
};

// Plans `files` (as CollectImportFiles gives them) for a device holding `deviceSongs` while
// `workSongs` are queued: each file is probed (ProbeMedia), named from its tags and file name,
// skipped when its title and artist (letter case aside) are those of a device song, a queued
// song or an earlier file (unless duplicates are kept), its texts put into the device's code page,
// and given the lowest free user number from 900000 up, then checked as "Queue to Add" and the
// song list builder check a song.
ImportPlan PlanImport(const std::vector<std::filesystem::path>& files, const SongList& deviceSongs,
                      const SongList& workSongs, const ImportOptions& options);
// The same with the files probed already (ProbeFiles, in the same order), for planning them again.
ImportPlan PlanImport(const std::vector<std::filesystem::path>& files, const std::vector<Result<MediaFacts>>& probed,
                      const SongList& deviceSongs, const SongList& workSongs, const ImportOptions& options);

// What `song` (device bytes) repeats by its title and artist, letter case aside, as the import's
// question names it: a song of `deviceSongs` ("<title>: already on the USB drive as <number>"),
// else one of `workSongs` ("<title>: the same song as <file or number>"); none when it repeats none.
std::optional<std::string> FindRepeat(const ROWELEMENT& song, const SongList& deviceSongs, const SongList& workSongs,
                                      const std::string& codePage);

// The size of every planned song's file, in order (0 for one that cannot be read).
std::vector<std::uint64_t> PlannedBytes(const SongList& songs);

}  // namespace songloader
