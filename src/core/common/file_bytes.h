#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace songloader {

// The whole content of a regular file; nullopt when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path);

}  // namespace songloader
