// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <vector>

namespace songloader {

// The whole content of a regular file; nullopt when it cannot be opened or read, is not a regular
// file (a FIFO never blocks: it is opened without waiting), or is larger than `maxBytes`
// (checked before anything is read or allocated).
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path,
                                                       std::uint64_t maxBytes = std::numeric_limits<std::uint64_t>::max());

// The same from an open file (its reading position onwards); the descriptor stays open.
std::optional<std::vector<std::uint8_t>> ReadOpenFileBytes(int fd, std::uint64_t maxBytes);

}  // namespace songloader
