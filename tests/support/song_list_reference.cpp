// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/song_list_reference.h"

namespace songloader {

namespace {

void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutAt(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

void Zeros(std::vector<std::uint8_t>& out, std::size_t count) { out.insert(out.end(), count, 0); }

void PutText(std::vector<std::uint8_t>& out, const char* text, std::uint8_t length) {
    out.insert(out.end(), text, text + length);
    out.push_back('\t');
}

// Byte by byte, a-z as A-Z, unsigned; a prefix is smaller.
bool TitleBefore(const SongRow* a, const SongRow* b) {
    const auto up = [](char c) {
        unsigned v = static_cast<unsigned char>(c);
        return (v >= 'a' && v <= 'z') ? v - 32 : v;
    };
    for (std::size_t i = 0; i < a->titleLength && i < b->titleLength; ++i) {
        if (up(a->title[i]) != up(b->title[i])) return up(a->title[i]) < up(b->title[i]);
    }
    return a->titleLength < b->titleLength;
}

struct Entry {
    std::uint32_t key;
    std::uint16_t row;
};

void PutInitials(std::vector<std::uint8_t>& out, const std::vector<Entry>& entries) {
    for (std::uint32_t j = 0; j < 27; ++j) {
        std::uint32_t below = 0;
        for (const Entry& e : entries) {
            if (e.key < j * 14348907u) ++below;
        }
        Put(out, below, 4);
    }
    Put(out, static_cast<std::uint32_t>(entries.size()), 4);
}

void PutBlock(std::vector<std::uint8_t>& out, const std::vector<SongRow>& all, int language) {
    std::vector<const SongRow*> rows;
    for (const SongRow& r : all) {
        if (r.language == language) rows.push_back(&r);
    }
    const std::size_t m = rows.size();
    LiteralExchangeSort(rows, TitleBefore);
    const std::vector<const SongRow*> byTitle = rows;
    LiteralExchangeSort(rows, [](const SongRow* a, const SongRow* b) { return a->titleKey < b->titleKey; });

    std::vector<Entry> titles;
    std::vector<Entry> artists;
    for (const SongRow* r : rows) {
        titles.push_back({r->titleKey, r->rowIndex});
        artists.push_back({r->artistKey, r->rowIndex});
    }
    LiteralExchangeSort(titles, [](const Entry& a, const Entry& b) { return a.key < b.key; });
    LiteralExchangeSort(artists, [](const Entry& a, const Entry& b) { return a.key < b.key; });

    std::vector<std::uint16_t> lists[10];
    for (const SongRow* r : (language == 1 ? byTitle : rows)) {
        lists[r->wordClass < 9 ? r->wordClass : 9].push_back(r->rowIndex);
    }

    PutInitials(out, titles);
    PutInitials(out, artists);
    std::uint32_t offset = static_cast<std::uint32_t>(268 + 12 * m);
    for (const auto& list : lists) {
        Put(out, offset, 4);
        offset += static_cast<std::uint32_t>(2 * list.size());
    }
    Put(out, offset, 4);
    for (const Entry& e : titles) {
        Put(out, e.key, 4);
        Put(out, e.row, 2);
    }
    for (const Entry& e : artists) {
        Put(out, e.key, 4);
        Put(out, e.row, 2);
    }
    for (const auto& list : lists) {
        for (std::uint16_t row : list) Put(out, row, 2);
    }
    if (m % 2 == 1) Zeros(out, 2);
}

}  // namespace

std::vector<std::uint32_t> LiteralExchangeOrder(std::span<const std::uint32_t> keys) {
    std::vector<std::uint32_t> order;
    for (std::uint32_t i = 0; i < keys.size(); ++i) order.push_back(i);
    LiteralExchangeSort(order, [&](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
    return order;
}

std::vector<std::uint8_t> ReferenceSongListBytes(const std::vector<SongRow>& rows, std::uint32_t dataSize) {
    const auto n = static_cast<std::uint32_t>(rows.size());
    const std::uint32_t d = 20 + 4 * (3 * n / 4) + 4;
    const std::uint32_t x = d + 4 * (dataSize / 4) + 4;
    const std::uint32_t a = x + 4 * (5 * n / 4) + 4;

    std::vector<std::uint8_t> out;
    out.push_back(0xEC);
    out.push_back(0);
    Put(out, n, 2);
    Put(out, 20, 4);
    Put(out, d, 4);
    Put(out, x, 4);
    Put(out, a, 4);
    unsigned sum = 0;
    for (std::size_t i = 0; i < 20; ++i) {
        if (i != 1) sum += out[i];
    }
    out[1] = static_cast<std::uint8_t>(sum & 0xFF);

    std::uint32_t offset = 0;
    for (const SongRow& r : rows) {
        Put(out, offset, 3);
        offset += r.titleLength + r.artistLength + r.composerLength + r.lyricistLength + 8u;
    }
    Zeros(out, 4 - (3 * n) % 4);

    for (const SongRow& r : rows) {
        Put(out, r.number, 3);
        out.push_back(r.language);
        PutText(out, r.title, r.titleLength);
        PutText(out, r.artist, r.artistLength);
        PutText(out, r.composer, r.composerLength);
        PutText(out, r.lyricist, r.lyricistLength);
    }
    Zeros(out, 4 - dataSize % 4);

    std::vector<const SongRow*> byNumber;
    for (const SongRow& r : rows) byNumber.push_back(&r);
    LiteralExchangeSort(byNumber, [](const SongRow* p, const SongRow* q) { return p->number < q->number; });
    for (const SongRow* r : byNumber) {
        Put(out, r->number, 3);
        Put(out, r->rowIndex, 2);
    }
    Zeros(out, 4 - n % 4);

    const std::size_t nameIndex = out.size();
    Zeros(out, 29 * 4);
    for (int k = 0; k < 28; ++k) {
        PutAt(out, nameIndex + 4 * static_cast<std::size_t>(k), static_cast<std::uint32_t>(out.size() - nameIndex));
        bool any = false;
        for (const SongRow& r : rows) any = any || r.language == k;
        if (any) PutBlock(out, rows, k);
    }
    PutAt(out, nameIndex + 4 * 28, static_cast<std::uint32_t>(out.size() - nameIndex));
    return out;
}

std::vector<std::uint8_t> ReferenceSongList(const SongText& text) {
    const Result<ParsedSongText> parse = ParseSongText(text.bytes, text.rowCount);
    if (!parse) return {};
    return ReferenceSongListBytes(parse->rows, parse->dataSize);
}

}  // namespace songloader
