// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
#include <vector>

#include "core/common/result.h"

namespace songloader {

// The whole content of a regular file. A failure says why: it cannot be opened or read (the
// system's reason), is not a regular file (a FIFO never blocks: it is opened without waiting), or is
// larger than `maxBytes` (checked before anything is read or allocated).
Result<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path,
                                                std::uint64_t maxBytes = std::numeric_limits<std::uint64_t>::max());

// The same from an open file (its reading position onwards); the descriptor stays open.
Result<std::vector<std::uint8_t>> ReadOpenFileBytes(int fd, std::uint64_t maxBytes);

}  // namespace songloader
