// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/songlist/name_index.h"

#include <algorithm>
#include <array>
#include <functional>
#include <numeric>
#include <string_view>
#include <vector>

#include "core/songlist/abbreviation_key.h"
#include "core/songlist/big_endian_writer.h"
#include "core/songlist/exchange_order.h"
#include "core/songlist/song_list_layout.h"

namespace songloader {

namespace {

constexpr int kChinese = 1;
constexpr std::uint32_t kNoEntry = 0xFFFFFFFF;

// What the name index takes from each row, in compact columns: the orderings gather keys by row
// and should not walk the 232-byte rows to do so.
struct Columns {
    std::vector<std::uint32_t> titleRank;
    std::vector<std::uint32_t> titleKey;
    std::vector<std::uint32_t> artistKey;
    std::vector<std::uint16_t> rowIndex;
    std::vector<std::uint8_t> wordClass;
};

// The title order (byte by byte, a-z as A-Z, unsigned, a prefix first) as ranks, equal titles
// sharing one. Titles are folded once; equal ones meet in a hash table, and only the distinct
// ones are sorted.
std::vector<std::uint32_t> TitleRanks(std::span<const SongRow> rows) {
    const std::size_t n = rows.size();
    std::vector<char> folded(n * kSongTextSlot);
    std::vector<std::string_view> distinct;
    std::vector<std::uint32_t> ranks(n);
    // Open addressing; each slot keeps the title's hash beside its distinct number.
    std::size_t tableSize = 1;
    while (tableSize < 2 * n) tableSize *= 2;
    struct Slot {
        std::uint32_t distinct = kNoEntry;
        std::uint32_t hash = 0;
    };
    std::vector<Slot> table(tableSize);
    const std::hash<std::string_view> hasher;
    for (std::size_t r = 0; r < n; ++r) {
        const std::string_view title = rows[r].Title();
        char* out = folded.data() + r * kSongTextSlot;
        std::transform(title.begin(), title.end(), out,
                       [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; });
        const std::string_view key(out, title.size());
        const std::size_t hash = hasher(key);
        const auto hash32 = static_cast<std::uint32_t>(hash >> 32);
        std::size_t at = hash & (tableSize - 1);
        while (table[at].distinct != kNoEntry && (table[at].hash != hash32 || distinct[table[at].distinct] != key)) {
            at = (at + 1) & (tableSize - 1);
        }
        if (table[at].distinct == kNoEntry) {
            table[at] = {static_cast<std::uint32_t>(distinct.size()), hash32};
            distinct.push_back(key);
        }
        ranks[r] = table[at].distinct;
    }
    // string_view compares bytes as unsigned, a prefix first.
    std::vector<std::uint32_t> order(distinct.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) { return distinct[a] < distinct[b]; });
    std::vector<std::uint32_t> rankOf(distinct.size());
    for (std::size_t i = 0; i < order.size(); ++i) rankOf[order[i]] = static_cast<std::uint32_t>(i);
    for (std::uint32_t& rank : ranks) rank = rankOf[rank];
    return ranks;
}

Columns ColumnsOf(std::span<const SongRow> rows) {
    Columns c;
    c.titleRank = TitleRanks(rows);
    for (const SongRow& row : rows) {
        c.titleKey.push_back(row.titleKey);
        c.artistKey.push_back(row.artistKey);
        c.rowIndex.push_back(row.rowIndex);
        c.wordClass.push_back(row.wordClass);
    }
    return c;
}

// `members` rearranged as the exchange sort orders them by `key`.
std::vector<std::uint32_t> ExchangeSorted(const std::vector<std::uint32_t>& members,
                                          const std::vector<std::uint32_t>& key) {
    std::vector<std::uint32_t> keys(members.size());
    std::transform(members.begin(), members.end(), keys.begin(), [&](std::uint32_t r) { return key[r]; });
    std::vector<std::uint32_t> sorted = ExchangeOrder(keys);
    for (std::uint32_t& i : sorted) i = members[i];
    return sorted;
}

void WriteInitialTable(BigEndianWriter& out, const std::vector<std::uint32_t>& entries,
                       const std::vector<std::uint32_t>& key) {
    // Entries are ascending by key: table entry j is where the keys of first initial j begin.
    std::size_t below = 0;
    for (std::uint32_t j = 0; j < 27; ++j) {
        while (below < entries.size() && key[entries[below]] < j * kFirstInitialWeight) ++below;
        out.U32(static_cast<std::uint32_t>(below));
    }
    out.U32(static_cast<std::uint32_t>(entries.size()));
}

void WriteBlock(std::uint8_t* at, const Columns& c, const std::vector<std::uint32_t>& members, int language) {
    const auto m = static_cast<std::uint32_t>(members.size());
    const std::vector<std::uint32_t> byTitle = ExchangeSorted(members, c.titleRank);
    const std::vector<std::uint32_t> byTitleKey = ExchangeSorted(byTitle, c.titleKey);
    // The title entries are exchange-sorted by title key again, which leaves this order as it is.
    const std::vector<std::uint32_t>& titleEntries = byTitleKey;
    const std::vector<std::uint32_t> artistEntries = ExchangeSorted(byTitleKey, c.artistKey);
    const std::vector<std::uint32_t>& classWalk = language == kChinese ? byTitle : byTitleKey;

    std::array<std::uint32_t, kWordClassLists> classSize{};
    for (std::uint32_t r : members) ++classSize[std::min<std::size_t>(c.wordClass[r], kWordClassLists - 1)];

    BigEndianWriter out(at);
    WriteInitialTable(out, titleEntries, c.titleKey);
    WriteInitialTable(out, artistEntries, c.artistKey);
    std::array<std::uint32_t, kWordClassLists> listAt{};
    std::uint32_t offset = kLanguageBlockHead + 12 * m;
    for (int k = 0; k < kWordClassLists; ++k) {
        listAt[static_cast<std::size_t>(k)] = offset;
        out.U32(offset);
        offset += 2 * classSize[static_cast<std::size_t>(k)];
    }
    out.U32(offset);
    for (std::uint32_t r : titleEntries) {
        out.U32(c.titleKey[r]);
        out.U16(c.rowIndex[r]);
    }
    for (std::uint32_t r : artistEntries) {
        out.U32(c.artistKey[r]);
        out.U16(c.rowIndex[r]);
    }
    for (std::uint32_t r : classWalk) {
        std::uint32_t& next = listAt[std::min<std::size_t>(c.wordClass[r], kWordClassLists - 1)];
        BigEndianWriter(at + next).U16(c.rowIndex[r]);
        next += 2;
    }
}

std::array<std::uint32_t, kNameIndexLanguages> LanguageCounts(std::span<const SongRow> rows) {
    std::array<std::uint32_t, kNameIndexLanguages> counts{};
    for (const SongRow& row : rows) ++counts[row.language];
    return counts;
}

}  // namespace

std::size_t NameIndexSize(std::span<const SongRow> rows) {
    std::size_t size = kLanguageDirectorySize;
    for (std::uint32_t m : LanguageCounts(rows)) size += LanguageBlockSize(m);
    return size;
}

void WriteNameIndex(std::span<std::uint8_t> out, std::span<const SongRow> rows) {
    const Columns columns = ColumnsOf(rows);
    std::array<std::vector<std::uint32_t>, kNameIndexLanguages> byLanguage;
    for (std::uint32_t r = 0; r < rows.size(); ++r) byLanguage[rows[r].language].push_back(r);

    BigEndianWriter directory(out.data());
    std::uint32_t blockOffset = kLanguageDirectorySize;
    for (int k = 0; k < kNameIndexLanguages; ++k) {
        directory.U32(blockOffset);
        const auto& members = byLanguage[static_cast<std::size_t>(k)];
        if (!members.empty()) WriteBlock(out.data() + blockOffset, columns, members, k);
        blockOffset += LanguageBlockSize(static_cast<std::uint32_t>(members.size()));
    }
    directory.U32(blockOffset);
}

}  // namespace songloader
