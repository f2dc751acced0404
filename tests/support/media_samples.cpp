// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/media_samples.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace songloader::test {

namespace {

constexpr std::uint64_t kLargeBoxHeader = 16;  // size 1, type, 64-bit size
constexpr std::uint64_t kTransportPacket = 188;

std::string ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("missing media fixture " + file.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::string& Mp4Fixture() {
    static const std::string bytes = ReadAll(MediaFixture("untagged.mp4"));
    return bytes;
}

void PutBigEndian(std::string& out, std::uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The header of a `free` box of `size` bytes in all.
std::string FreeBoxHeader(std::uint64_t size) {
    std::string header;
    PutBigEndian(header, 1, 4);
    header += "free";
    PutBigEndian(header, size, 8);
    return header;
}

// Padding bytes that differ between seeds and along the file.
void Pad(std::ostream& out, std::uint64_t count, std::uint32_t seed) {
    std::string block(1 << 16, '\0');
    std::uint32_t state = seed * 2654435761u + 1;
    std::uint64_t left = count;
    bool first = true;
    while (left > 0) {
        if (first || seed != 0) {
            for (char& c : block) {
                state = state * 1664525u + 1013904223u;
                c = static_cast<char>(state >> 24);
            }
            first = false;
        }
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(left, block.size()));
        out.write(block.data(), static_cast<std::streamsize>(n));
        left -= n;
    }
}

}  // namespace

std::filesystem::path MediaFixture(const std::string& name) {
    return std::filesystem::path(SONGLOADER_MEDIA_FIXTURES) / name;
}

std::uint64_t MinimumMediaBytes() { return Mp4Fixture().size() + kLargeBoxHeader; }

std::string MediaBytes(std::uint64_t bytes, std::uint32_t seed) {
    if (bytes < MinimumMediaBytes())
        throw std::invalid_argument("a media file needs at least " + std::to_string(MinimumMediaBytes()) + " bytes");
    std::string out = Mp4Fixture();
    out += FreeBoxHeader(bytes - out.size());
    std::uint32_t state = seed * 2654435761u + 1;
    while (out.size() < bytes) {
        state = state * 1664525u + 1013904223u;
        out += static_cast<char>(state >> 24);
    }
    return out;
}

void WriteMediaFile(const std::filesystem::path& file, std::uint64_t bytes, std::uint32_t seed) {
    if (bytes < MinimumMediaBytes())
        throw std::invalid_argument("a media file needs at least " + std::to_string(MinimumMediaBytes()) + " bytes");
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    const std::string& head = Mp4Fixture();
    out.write(head.data(), static_cast<std::streamsize>(head.size()));
    const std::string header = FreeBoxHeader(bytes - head.size());
    out.write(header.data(), static_cast<std::streamsize>(header.size()));
    Pad(out, bytes - head.size() - header.size(), seed);
    if (!out.flush()) throw std::runtime_error("cannot write " + file.string());
}

void WriteTransportStream(const std::filesystem::path& file, std::uint64_t bytes) {
    const std::string head = ReadAll(MediaFixture("stream.ts"));
    if (bytes < head.size() || bytes % kTransportPacket != 0) {
        throw std::invalid_argument("a transport stream is whole packets of 188 bytes, at least the fixture's");
    }
    std::string null(kTransportPacket, static_cast<char>(0xFF));
    // Sync byte, then PID 0x1FFF (null packets), payload only.
    null[0] = 0x47;
    null[1] = 0x1F;
    null[2] = static_cast<char>(0xFF);
    null[3] = 0x10;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(head.data(), static_cast<std::streamsize>(head.size()));
    for (std::uint64_t at = head.size(); at < bytes; at += kTransportPacket) {
        out.write(null.data(), static_cast<std::streamsize>(null.size()));
    }
    if (!out.flush()) throw std::runtime_error("cannot write " + file.string());
}

void WriteMediaSample(const std::filesystem::path& file, std::uint64_t bytes, std::uint32_t seed) {
    std::string extension = file.extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const char* fixture = nullptr;
    if (extension == ".mkv") fixture = "tagged.mkv";
    if (extension == ".avi") fixture = "Artist - Title.avi";
    if (extension == ".mp3") fixture = "tagged.mp3";
    if (extension == ".flv") fixture = "clip.flv";
    if (extension == ".mpg" || extension == ".mpeg" || extension == ".vob" || extension == ".dat") {
        fixture = "01 - Gil Park - Night Train.mpg";
    }
    if (extension == ".ts") {
        const std::uint64_t least = std::filesystem::file_size(MediaFixture("stream.ts"));
        const std::uint64_t size = std::max(bytes, least);
        return WriteTransportStream(file, (size + kTransportPacket - 1) / kTransportPacket * kTransportPacket);
    }
    if (!fixture) return WriteMediaFile(file, std::max(bytes, MinimumMediaBytes()), seed);
    std::string content = ReadAll(MediaFixture(fixture));
    if (content.size() < bytes) content.resize(static_cast<std::size_t>(bytes), '\0');
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out.flush()) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace songloader::test
