// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/catalogue/list_file_reader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/catalogue/language_table.h"
#include "core/common/file_bytes.h"

namespace songloader {

namespace {

constexpr std::size_t kHeaderSize = 20;
constexpr std::uint8_t kListMarker = 0xEC;
constexpr std::size_t kMaxFieldBytes = 255;
constexpr std::uint8_t kFieldEnd = 0x09;

Failure ListFileError() { return Fail(kListFileErrorMessage, kCaptionError, NoticeIcon::None); }
Failure ListDataError() { return Fail(kListDataErrorMessage, kCaptionError, NoticeIcon::None); }

std::uint32_t BigEndian(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) value = (value << 8) | bytes[offset + i];
    return value;
}

// Reads one TAB-terminated field at `pos`; false when the TAB is missing or the field is too long.
bool ReadField(std::span<const std::uint8_t> bytes, std::size_t& pos, std::string_view& field) {
    const std::size_t limit = std::min(bytes.size(), pos + kMaxFieldBytes + 1);
    const auto* begin = bytes.data() + pos;
    const auto* tab = std::find(begin, bytes.data() + limit, kFieldEnd);
    if (tab == bytes.data() + limit) return false;
    field = std::string_view(reinterpret_cast<const char*>(begin), static_cast<std::size_t>(tab - begin));
    pos += field.size() + 1;
    return true;
}

// One record of a list file: number, language byte, then title, artist, composer and lyricist.
struct ListRecord {
    std::int32_t number = 0;
    std::uint8_t language = 0;
    std::array<std::string_view, 4> fields;
};

// Checks the header, then hands every record to `onRecord` (after `onCount` with their number).
// The failure of a damaged file, or nothing; a damaged file may have handed out records first.
template <typename OnCount, typename OnRecord>
std::optional<Failure> WalkListRecords(std::span<const std::uint8_t> bytes, OnCount&& onCount, OnRecord&& onRecord) {
    if (bytes.size() < kHeaderSize) return ListFileError();
    if (bytes[0] != kListMarker) {
        // The mask pass is the only chance a file has to show its marker.
        std::vector<std::uint8_t> head(bytes.begin(), bytes.begin() + std::min<std::size_t>(bytes.size(), 1024));
        if (bytes.size() >= 1024) ApplyHeaderMask(head);
        if (head[0] != kListMarker) return ListDataError();
    }
    const std::size_t count = BigEndian(bytes, 2, 2);
    std::size_t pos = BigEndian(bytes, 8, 4);
    onCount(count);
    ListRecord record;
    for (std::size_t i = 0; i < count; ++i) {
        if (pos > bytes.size() || bytes.size() - pos < 4) return ListFileError();
        record.number = static_cast<std::int32_t>(BigEndian(bytes, pos, 3));
        record.language = bytes[pos + 3];
        pos += 4;
        for (std::string_view& field : record.fields) {
            if (!ReadField(bytes, pos, field)) return ListFileError();
        }
        onRecord(record);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::filesystem::path> FindListFile(const std::filesystem::path& folder, const std::string& name) {
    std::error_code error;
    // A stick that ignores letter case may have stored the list as SGLIST.DAT: without the exact
    // name, the first variant (in name order) is the list.
    std::optional<std::filesystem::path> variant;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string entry = it->path().filename().string();
        if (entry == name) return it->path();
        const bool same =
            entry.size() == name.size() && std::equal(entry.begin(), entry.end(), name.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
            });
        if (same && (!variant || it->path() < *variant)) variant = it->path();
    }
    return variant;
}

void ApplyHeaderMask(std::span<std::uint8_t> bytes) {
    static constexpr std::array<std::uint8_t, 512> kMask{};  // all zero
    if (bytes.size() < 1024) return;
    for (std::size_t block = 0; block < 2; ++block) {
        for (std::size_t i = 0; i < kMask.size(); ++i) bytes[block * 512 + i] ^= kMask[i];
    }
}

Result<SongList> ParseListFile(std::span<const std::uint8_t> bytes, ListKind kind) {
    SongList songs;
    const auto damage = WalkListRecords(
        bytes, [&](std::size_t count) { songs.reserve(count); },
        [&](const ListRecord& record) {
            ROWELEMENT& song = songs.emplace_back();
            song.number = record.number;
            song.numberText = std::to_string(song.number);
            SetLanguage(song, LanguageFromListByte(record.language));
            song.title = record.fields[0];
            song.artist = record.fields[1];
            song.composer = record.fields[2];
            song.lyricist = record.fields[3];
            if (kind == ListKind::Cloud && IsMvNumber(song.number) && !song.title.empty()) song.title += kMvSuffix;
        });
    if (damage) return *damage;
    return songs;
}

Result<SongList> ReadListFile(const std::filesystem::path& path, ListKind kind, const ListReadHooks& hooks) {
    // Too large for the format, or not a regular file: refused before anything is read.
    const auto bytes = ReadFileBytes(path, kListFileMaxBytes);
    if (!bytes) return ListFileError();

    Result<SongList> result = ParseListFile(*bytes, kind);
    if (!result) return result;
    const std::size_t count = result->size();
    if (hooks.onStart) hooks.onStart(count);
    if (hooks.onEntry) {
        for (std::size_t i = 0; i < count; ++i) hooks.onEntry((*result)[i], i, count);
    }
    return result;
}

Result<std::vector<std::int32_t>> ReadListNumbers(const std::filesystem::path& path) {
    const auto bytes = ReadFileBytes(path, kListFileMaxBytes);
    if (!bytes) return ListFileError();
    std::vector<std::int32_t> numbers;
    const auto damage = WalkListRecords(
        *bytes, [&](std::size_t count) { numbers.reserve(count); },
        [&](const ListRecord& record) { numbers.push_back(record.number); });
    if (damage) return *damage;
    return numbers;
}

}  // namespace songloader
