// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

namespace songloader {

// Every temporary file or folder the song loader makes carries this mark in its name, so a later
// run recognises what a killed one left behind.
inline constexpr std::string_view kTemporaryMark = ".sltmp-";

// A temporary name beside `target` that no other writer uses at the same time:
// <target>.sltmp-<pid>-<counter>.
std::filesystem::path TemporaryNameFor(const std::filesystem::path& target);

// The fixed temporary name of one file of a pair replacement: <target>.sltmp-pair.
std::filesystem::path PairTemporaryNameFor(const std::filesystem::path& target);

// True for a file name made by TemporaryNameFor, PairTemporaryNameFor (with SQLite's side files)
// or a marker of a pair: the whole pattern after the last mark, never the mark alone.
bool IsTemporaryName(std::string_view fileName);

// The temporaries in each of `folders` and their direct sub-folders (symbolic links are not
// followed), sorted. Missing folders are skipped.
std::vector<std::filesystem::path> FindTemporaries(const std::vector<std::filesystem::path>& folders);

// Removes them (folders with what they hold); the paths that could not be removed.
std::vector<std::filesystem::path> RemoveTemporaries(const std::vector<std::filesystem::path>& temporaries);

}  // namespace songloader
