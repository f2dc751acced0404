// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/catalogue/row_element.h"

namespace songloader {

// Where the device list and the device database disagree: one line per song whose number is in
// only one of them or whose title or artist differ ("NUMBER\twhat"), or one line saying the
// database cannot be read. Empty when they agree. The database is opened read-only.
std::vector<std::string> CompareListAndDatabase(const SongList& listSongs, const std::filesystem::path& databaseFile);

}  // namespace songloader
