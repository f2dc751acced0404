// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/songlist/song_list_writer.h"

#include <new>
#include <span>

#include "core/songlist/big_endian_writer.h"
#include "core/songlist/exchange_order.h"
#include "core/songlist/name_index.h"
#include "core/songlist/song_list_layout.h"
#include "core/songlist/song_text_parser.h"

namespace songloader {

namespace {

Notice BuilderNotice(std::string text) { return Notice{std::move(text), kApplicationName, NoticeIcon::None}; }

Failure Failed(std::string text, Notices followUps = {}) {
    Failure failure = Fail(std::move(text), kApplicationName, NoticeIcon::None);
    failure.followUps = std::move(followUps);
    return failure;
}

// The rows of the text; a bad row's message comes before the analyse error.
Result<ParsedSongText> ParseRows(const SongText& text, const std::function<void(SongListStage)>& beforeStage) {
    try {
        beforeStage(SongListStage::ParsedRows);
        Result<ParsedSongText> parse = ParseSongText(text.bytes, text.rowCount, text.codePage);
        if (!parse) return Failed(parse.message(), {BuilderNotice(kSongTextAnalyseMessage)});
        return parse;
    } catch (const std::bad_alloc&) {
        return Failed(kSongTextAnalyseMessage);
    }
}

void WriteHeader(std::vector<std::uint8_t>& bytes, std::uint32_t n, const SongListLayout& layout) {
    BigEndianWriter out(bytes.data());
    out.U8(kSongListMarker);
    out.U8(0);
    out.U16(n);
    out.U32(layout.recordOffsets);
    out.U32(layout.recordData);
    out.U32(layout.numberIndex);
    out.U32(layout.nameIndex);
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < kSongListHeaderSize; ++i) sum += bytes[i];
    bytes[1] = static_cast<std::uint8_t>(sum);
}

void WriteRecords(std::vector<std::uint8_t>& bytes, std::span<const SongRow> rows, const SongListLayout& layout) {
    BigEndianWriter offsets(bytes.data() + layout.recordOffsets);
    BigEndianWriter data(bytes.data() + layout.recordData);
    std::uint32_t offset = 0;
    for (const SongRow& row : rows) {
        offsets.U24(offset);
        offset += row.titleLength + row.artistLength + row.composerLength + row.lyricistLength + 8u;
        data.U24(row.number);
        data.U8(row.language);
        data.Text(row.Title());
        data.Text(row.Artist());
        data.Text(row.Composer());
        data.Text(row.Lyricist());
    }
}

void WriteNumberIndex(std::vector<std::uint8_t>& bytes, std::span<const SongRow> rows, const SongListLayout& layout) {
    std::vector<std::uint32_t> numbers(rows.size());
    std::vector<std::uint16_t> rowIndexes(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        numbers[i] = rows[i].number;
        rowIndexes[i] = rows[i].rowIndex;
    }
    BigEndianWriter out(bytes.data() + layout.numberIndex);
    for (std::uint32_t i : ExchangeOrder(numbers)) {
        out.U24(numbers[i]);
        out.U16(rowIndexes[i]);
    }
}

}  // namespace

Result<std::vector<std::uint8_t>> BuildSongList(const SongText* text) {
    return BuildSongList(text, [](SongListStage) {});
}

Result<std::vector<std::uint8_t>> BuildSongList(const SongText* text,
                                                const std::function<void(SongListStage)>& beforeStage) {
    if (text == nullptr) return Failed(kNoSongTextMessage);
    if (text->rowCount == 0 || text->rowCount >= kSongListRowLimit) return Failed(kSongTextRowCountMessage);

    const Result<ParsedSongText> parse = ParseRows(*text, beforeStage);
    if (!parse) return parse.failure();

    const std::span<const SongRow> rows = parse->rows;
    const auto n = static_cast<std::uint32_t>(rows.size());
    const SongListLayout layout = SongListLayoutOf(n, parse->dataSize);

    std::vector<std::uint8_t> bytes;
    try {
        beforeStage(SongListStage::FileBytes);
        bytes.assign(layout.nameIndex + NameIndexSize(rows), 0);
    } catch (const std::bad_alloc&) {
        return Failed(kCreateSongListFailMessage);
    }
    WriteHeader(bytes, n, layout);
    WriteRecords(bytes, rows, layout);
    try {
        beforeStage(SongListStage::NumberIndex);
        WriteNumberIndex(bytes, rows, layout);
    } catch (const std::bad_alloc&) {
        return Failed(kNumberIndexMemoryMessage);
    }
    try {
        beforeStage(SongListStage::NameIndex);
        WriteNameIndex(std::span<std::uint8_t>(bytes).subspan(layout.nameIndex), rows);
    } catch (const std::bad_alloc&) {
        return Failed(kNameIndexMemoryMessage);
    }
    return bytes;
}

}  // namespace songloader
