// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "core/common/result.h"

namespace songloader {

// A FAT32 file holds at most 4 GiB - 1 bytes.
inline constexpr std::uint64_t kFatLargestFile = (std::uint64_t{1} << 32) - 1;

// What a device's file system can still take.
struct DeviceRoom {
    std::uint64_t freeBytes = 0;
    std::uint64_t blockBytes = 1;              // a file takes whole blocks of this size (statvfs f_frsize)
    std::optional<std::uint64_t> largestFile;  // none: no limit below the free space
};

// The room on the file system holding `folder` (statvfs, and FAT's file size limit from statfs);
// nullopt when it cannot be asked or the file system reports no blocks at all (it does not know).
std::optional<DeviceRoom> RoomOn(const std::filesystem::path& folder);

// The room from a file system's counts (statvfs); nullopt when it reports no blocks at all.
std::optional<DeviceRoom> RoomFromCounts(std::uint64_t totalBlocks, std::uint64_t availableBlocks,
                                         std::uint64_t blockBytes, bool fat);

// Fine when a file of `bytes` named `name` fits onto a device with `room`; else a failure saying why.
Result<> RefuseForRoom(const std::string& name, std::uint64_t bytes, const DeviceRoom& room);

// Fine when a file of `bytes` named `name` fits into `folder`, or when the size (negative: not
// announced) or the room there cannot be told: the write itself then says what went wrong.
Result<> RefuseForRoomIn(const std::string& name, std::int64_t bytes, const std::filesystem::path& folder);

// The same for copying the file `source` into `folder`.
Result<> RefuseMediaForRoom(const std::filesystem::path& source, const std::filesystem::path& folder);

// "1.5 GiB", "700 MiB", "12 KiB", "512 bytes": a size for people.
std::string SizeText(std::uint64_t bytes);

}  // namespace songloader
