// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/catalogue/row_element.h"
#include "core/common/notice.h"
#include "core/common/result.h"

namespace songloader {

inline constexpr const char* kDeviceListName = "SgList.dat";
inline constexpr const char* kCloudListName = "MgList.dat";

inline constexpr const char* kListFileErrorMessage = "Sglist File Error";
inline constexpr const char* kListDataErrorMessage = "Data error ";

// The largest list file the format can describe: 65,535 songs (the count has two bytes); record
// offsets have three bytes, so the record data ends within 16 MiB plus one longest record (a 4-byte
// head and four fields of 255 bytes with their TABs); then the number index (5 bytes a song) and
// the name index (language directory, 28 language heads, 14 bytes a song), each section padded.
inline constexpr std::uint64_t kListMaxSongs = 65535;
inline constexpr std::uint64_t kListMaxRecordBytes = 4 + 4 * (255 + 1);
inline constexpr std::uint64_t kListFileMaxBytes = 20 + 3 * kListMaxSongs + 4 + (std::uint64_t{1} << 24) +
                                                   kListMaxRecordBytes + 4 + 5 * kListMaxSongs + 4 + 4 * 29 +
                                                   28 * (28 * 8 + 11 * 4 + 2) + 14 * kListMaxSongs + 64;

// The device list keeps titles as stored; the cloud list marks music videos with "(MV)".
enum class ListKind { Device, Cloud };

// Full path of the file in `folder` whose name is exactly `name` (letter case included); without
// one, the first (in name order) whose name differs only in ASCII letter case.
std::optional<std::filesystem::path> FindListFile(const std::filesystem::path& folder, const std::string& name);

// The header mask pass over the first 1024 bytes. Its mask is all zero bytes, so it changes nothing;
// it is kept so that the file layout stays documented in one place.
void ApplyHeaderMask(std::span<std::uint8_t> bytes);

// Parses a whole list file held in memory. A damaged file gives no songs at all.
Result<SongList> ParseListFile(std::span<const std::uint8_t> bytes, ListKind kind);

// Called once per entry after the whole file has been checked, so that a caller can add
// rows, pump messages and step a progress bar: index from 0, count = entries in the file.
struct ListReadHooks {
    std::function<void(std::size_t count)> onStart;
    std::function<void(const ROWELEMENT& song, std::size_t index, std::size_t count)> onEntry;
};

// Reads a list file from disk; never writes to it.
Result<SongList> ReadListFile(const std::filesystem::path& path, ListKind kind, const ListReadHooks& hooks = {});

// The numbers of a list file's songs in list order, after the same checks as ReadListFile: for
// callers that only ask which songs a list holds, at a fraction of the cost.
Result<std::vector<std::int32_t>> ReadListNumbers(const std::filesystem::path& path);

}  // namespace songloader
