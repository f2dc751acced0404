// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace songloader::test {

struct CatalogueSong {
    int number;
    int lang;
    std::string name;
    std::string singer;
};

// Writes a Msong.db with the songlist table holding these songs (other columns zero).
void WriteCloudCatalogue(const std::filesystem::path& file, const std::vector<CatalogueSong>& songs);

// Runs statements on a database file, creating it when missing.
void ExecuteSql(const std::filesystem::path& file, const std::string& sql);

// A small hostile Msong.db: `songlist` is a view over a recursive query that never ends.
void WriteRecursiveSongView(const std::filesystem::path& file);

// Runs a query and returns each row's columns joined by '|'.
std::vector<std::string> QueryRows(const std::filesystem::path& file, const std::string& sql);

}  // namespace songloader::test
