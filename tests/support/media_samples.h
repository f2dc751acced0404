// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace songloader::test {

// A committed media fixture of tests/fixtures/media (made by tools/media_fixtures/make-fixtures).
std::filesystem::path MediaFixture(const std::string& name);

// The bytes of a real, playable MP4 of exactly `bytes` bytes (at least MinimumMediaBytes()): the
// untagged fixture (so the file's name names the song) followed by a `free` box; `seed` varies the padding, so that two files differ.
std::string MediaBytes(std::uint64_t bytes, std::uint32_t seed = 0);
std::uint64_t MinimumMediaBytes();

// Writes such a file (large ones without holding them in memory). The extension of `file` should
// be .mp4; the content is an MP4 whatever its name.
void WriteMediaFile(const std::filesystem::path& file, std::uint64_t bytes, std::uint32_t seed = 0);

// An MPEG transport stream of exactly `bytes` bytes (a multiple of 188, at least the fixture's
// size): the fixture followed by null packets.
void WriteTransportStream(const std::filesystem::path& file, std::uint64_t bytes);

}  // namespace songloader::test
