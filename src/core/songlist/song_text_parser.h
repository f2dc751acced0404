// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/result.h"
#include "core/common/translatable.h"

namespace songloader {

// A text slot holds this many bytes plus a NUL; longer texts are cut.
inline constexpr std::size_t kSongTextSlot = 52;

// One row of the temporary song text as the song list builder keeps it (232 bytes).
struct SongRow {
    std::uint32_t number = 0;
    std::uint16_t rowIndex = 0;
    std::uint8_t language = 0;
    std::uint8_t wordClass = 0;
    std::uint8_t titleLength = 0;
    std::uint8_t artistLength = 0;
    std::uint8_t lyricistLength = 0;
    std::uint8_t composerLength = 0;
    std::uint32_t titleKey = 0;
    std::uint32_t artistKey = 0;
    char title[kSongTextSlot + 1] = {};
    char artist[kSongTextSlot + 1] = {};
    char lyricist[kSongTextSlot + 1] = {};
    char composer[kSongTextSlot + 1] = {};

    std::string_view Title() const { return {title, titleLength}; }
    std::string_view Artist() const { return {artist, artistLength}; }
    std::string_view Lyricist() const { return {lyricist, lyricistLength}; }
    std::string_view Composer() const { return {composer, composerLength}; }
};
static_assert(sizeof(SongRow) == 232);

// The row checks' messages; a failing row's message is its 1-based row number followed directly
// by one of these.
inline constexpr const char* kRowCountMessage =
    SL_TRANSLATE_NOOP("Core", "have row error: Existence of a number of rows with inconsistency");
inline constexpr const char* kExtraSpaceMessage = SL_TRANSLATE_NOOP("Core", "have row Error:There is extra space!");
inline constexpr const char* kBadCharacterMessage =
    SL_TRANSLATE_NOOP("Core", "have row Error:There could not distinguish characters!");
inline constexpr const char* kNumberTooLongMessage = SL_TRANSLATE_NOOP("Core", "行出现错误:歌号太长");
inline constexpr const char* kLanguageMessage = SL_TRANSLATE_NOOP("Core", "have row error:Country ID is wrong!");
inline constexpr const char* kTagMessage = SL_TRANSLATE_NOOP("Core", "have row error!");
inline constexpr const char* kWordCountMessage =
    SL_TRANSLATE_NOOP("Core", "have row error:Song name characters is wrong!");

struct ParsedSongText {
    std::vector<SongRow> rows;   // in text order
    std::uint32_t dataSize = 0;  // sum of the four text lengths + 8 over the rows
};

// Reads the CR LF-terminated rows of the temporary song text; `rowCount` is the number of rows
// the text must hold (at most 65536, the row index being 16 bits). Text after the last CR LF is
// ignored. `codePage` is the device's (see SlotLength). A failure's message is the failing row's
// number and message. Throws std::bad_alloc when the rows do not fit in memory.
Result<ParsedSongText> ParseSongText(std::string_view text, std::size_t rowCount, std::string_view codePage = {});

// Length of `text` cut to a slot: at most 52 bytes, and never inside a two-byte character: for
// language 1 a byte 0x81..0xFE with a byte after it starts one, for any other language a lead
// byte of the device's double-byte code page does.
std::size_t SlotLength(std::string_view text, int language, std::string_view codePage = {});

// `text` as its slot holds it: cut as SlotLength says.
std::string CutToSlot(std::string_view text, int language, std::string_view codePage = {});

}  // namespace songloader
