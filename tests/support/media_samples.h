// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace songloader::test {

// A committed media fixture of tests/fixtures/media (made by tools/media_fixtures/make-fixtures).
std::filesystem::path MediaFixture(const std::string& name);

// The bytes of a real, playable MP4 of exactly `bytes` bytes (at least MinimumMediaBytes()): the
// untagged fixture (so the file's name names the song) followed by a `free` box; `seed` varies the padding, so that two
// files differ.
std::string MediaBytes(std::uint64_t bytes, std::uint32_t seed = 0);
std::uint64_t MinimumMediaBytes();

// Writes such a file (large ones without holding them in memory). The extension of `file` should
// be .mp4; the content is an MP4 whatever its name.
void WriteMediaFile(const std::filesystem::path& file, std::uint64_t bytes, std::uint32_t seed = 0);

// An MPEG transport stream of exactly `bytes` bytes (a multiple of 188, at least the fixture's
// size): the fixture followed by null packets.
void WriteTransportStream(const std::filesystem::path& file, std::uint64_t bytes);

// Real media of the container `file`'s extension names (any case), about `bytes` long: exactly
// `bytes` for .mp4 (at least MinimumMediaBytes()), whole packets for .ts, and for the other
// containers a fixture followed by zero bytes up to `bytes`. Without a known extension: an MP4.
void WriteMediaSample(const std::filesystem::path& file, std::uint64_t bytes, std::uint32_t seed = 0);

}  // namespace songloader::test
