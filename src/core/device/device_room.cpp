// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/device/device_room.h"

#include <sys/statfs.h>
#include <sys/statvfs.h>

#include <cstdio>
#include <system_error>

namespace songloader {

namespace {

constexpr long kMsdosSuperMagic = 0x4d44;  // vfat, msdos

}  // namespace

std::optional<DeviceRoom> RoomOn(const std::filesystem::path& folder) {
    struct statvfs space {};
    struct statfs kind {};
    if (::statvfs(folder.c_str(), &space) != 0 || ::statfs(folder.c_str(), &kind) != 0) return std::nullopt;
    return RoomFromCounts(space.f_blocks, space.f_bavail, space.f_frsize, kind.f_type == kMsdosSuperMagic);
}

std::optional<DeviceRoom> RoomFromCounts(std::uint64_t totalBlocks, std::uint64_t availableBlocks,
                                         std::uint64_t blockBytes, bool fat) {
    // No blocks at all is how some drivers (FUSE) say they do not know: the room is unknown.
    if (totalBlocks == 0) return std::nullopt;
    DeviceRoom room;
    room.freeBytes = availableBlocks * blockBytes;
    room.blockBytes = blockBytes ? blockBytes : 1;
    if (fat) room.largestFile = kFatLargestFile;
    return room;
}

std::string SizeText(std::uint64_t bytes) {
    static const char* const units[] = {"KiB", "MiB", "GiB", "TiB"};
    if (bytes < 1024) return std::to_string(bytes) + " bytes";
    double value = static_cast<double>(bytes) / 1024;
    std::size_t unit = 0;
    while (value >= 1024 && unit + 1 < std::size(units)) {
        value /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, value < 10 ? "%.1f %s" : "%.0f %s", value, units[unit]);
    return text;
}

Result<> RefuseForRoom(const std::string& name, std::uint64_t bytes, const DeviceRoom& room) {
    if (room.largestFile && bytes > *room.largestFile) {
        return Fail(name + " (" + SizeText(bytes) +
                    ") is too large for the device: its file system (FAT) holds no file of 4 GiB or more.");
    }
    if (bytes > room.freeBytes) {
        return Fail(name + " (" + SizeText(bytes) + ") does not fit on the device: only " + SizeText(room.freeBytes) +
                    " free.");
    }
    return {};
}

Result<> RefuseForRoomIn(const std::string& name, std::int64_t bytes, const std::filesystem::path& folder) {
    const auto room = bytes < 0 ? std::nullopt : RoomOn(folder);
    if (!room) return {};
    return RefuseForRoom(name, static_cast<std::uint64_t>(bytes), *room);
}

Result<> RefuseMediaForRoom(const std::filesystem::path& source, const std::filesystem::path& folder) {
    std::error_code error;
    const auto bytes = std::filesystem::file_size(source, error);
    if (error) return {};
    return RefuseForRoomIn(source.filename().string(), static_cast<std::int64_t>(bytes), folder);
}

}  // namespace songloader
