// SPDX-License-Identifier: GPL-3.0-or-later
// The production builder against the literal reference, and the built file read back section by
// section by a small decoder of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/songlist/song_list_writer.h"
#include "core/songlist/song_text_parser.h"
#include "support/song_list_reference.h"
#include "support/song_samples.h"

namespace songloader {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Be(const Bytes& b, std::size_t at, int size) {
    std::uint32_t v = 0;
    for (int i = 0; i < size; ++i) v = v << 8 | b.at(at + static_cast<std::size_t>(i));
    return v;
}

void ExpectSameAsReference(const SongText& text) {
    const Result<std::vector<std::uint8_t>> build = BuildSongList(&text);
    ASSERT_TRUE(build.ok()) << (build ? std::string() : build.message());
    const Bytes reference = ReferenceSongList(text);
    ASSERT_EQ(build.value().size(), reference.size());
    const auto diff = std::mismatch(build.value().begin(), build.value().end(), reference.begin());
    ASSERT_TRUE(diff.first == build.value().end())
        << "first difference at byte " << (diff.first - build.value().begin());
}

TEST(SongListOrders, DuplicateNumbersKeepTheExchangeOrder) {
    SongText text;
    text.bytes = "5\tC:0\tT:a\tS:\tW:\tM:\tN:1\r\n5\tC:0\tT:b\tS:\tW:\tM:\tN:1\r\n3\tC:0\tT:c\tS:\tW:\tM:\tN:1\r\n";
    text.rowCount = 3;
    const Result<std::vector<std::uint8_t>> build = BuildSongList(&text);
    ASSERT_TRUE(build.ok());
    const std::size_t x = Be(build.value(), 12, 4);
    // 3 (row 2) first; the swap carries row 0 behind row 1.
    EXPECT_EQ(Be(build.value(), x, 3), 3u);
    EXPECT_EQ(Be(build.value(), x + 3, 2), 2u);
    EXPECT_EQ(Be(build.value(), x + 8, 2), 1u);
    EXPECT_EQ(Be(build.value(), x + 13, 2), 0u);
}

TEST(SongListOrders, EqualTitleKeysKeepTheExchangeOrder) {
    // By text: "1 B" (row 2), "2 B" (row 0), "A" (row 1). By key (B, B, A) the exchange sort swaps
    // "A" with "1 B", which lands behind "2 B": rows 1, 0, 2 (a stable sort would give 1, 2, 0).
    SongText text;
    text.bytes =
        "1\tC:0\tT:2 B\tS:\tW:\tM:\tN:2\r\n2\tC:0\tT:A\tS:\tW:\tM:\tN:1\r\n"
        "3\tC:0\tT:1 B\tS:\tW:\tM:\tN:2\r\n";
    text.rowCount = 3;
    const Result<std::vector<std::uint8_t>> build = BuildSongList(&text);
    ASSERT_TRUE(build.ok());
    const std::size_t entries = Be(build.value(), 16, 4) + 116 + 268;
    const std::uint32_t a = 14348907, b = 2 * a;
    EXPECT_EQ(Be(build.value(), entries, 4), a);
    EXPECT_EQ(Be(build.value(), entries + 4, 2), 1u);
    EXPECT_EQ(Be(build.value(), entries + 6, 4), b);
    EXPECT_EQ(Be(build.value(), entries + 10, 2), 0u);
    EXPECT_EQ(Be(build.value(), entries + 12, 4), b);
    EXPECT_EQ(Be(build.value(), entries + 16, 2), 2u);
    ExpectSameAsReference(text);
}

TEST(SongListOrders, MatchTheLiteralReferenceOnThousandsOfTieHeavyInputs) {
    for (std::uint32_t seed = 0; seed < 3000; ++seed) {
        SCOPED_TRACE(seed);
        const SongText text = WriteSongText(TieHeavySongs(seed, 1 + seed % 70));
        ExpectSameAsReference(text);
        if (HasFatalFailure()) return;
    }
}

TEST(SongListOrders, MatchTheLiteralReferenceOnLargerInputs) {
    for (std::uint32_t seed = 0; seed < 12; ++seed) {
        SCOPED_TRACE(seed);
        ExpectSameAsReference(WriteSongText(TieHeavySongs(100 + seed, 300 + 150 * seed)));
        if (HasFatalFailure()) return;
    }
}

// Reads the file back with nothing but the layout and checks what each section must say.
TEST(SongListOrders, SectionsReadBackConsistently) {
    const SongText text = WriteSongText(TieHeavySongs(77, 900));
    const Result<ParsedSongText> parse = ParseSongText(text.bytes, text.rowCount);
    ASSERT_TRUE(parse.ok());
    const std::vector<SongRow>& rows = parse->rows;
    const Result<std::vector<std::uint8_t>> build = BuildSongList(&text);
    ASSERT_TRUE(build.ok());
    const Bytes& b = build.value();
    const std::size_t n = rows.size();

    ASSERT_EQ(b[0], 0xEC);
    unsigned sum = 0;
    for (std::size_t i = 0; i < 20; ++i) sum += i == 1 ? 0 : b[i];
    EXPECT_EQ(b[1], sum & 0xFF);
    ASSERT_EQ(Be(b, 2, 2), n);
    ASSERT_EQ(Be(b, 4, 4), 20u);
    const std::size_t d = Be(b, 8, 4), x = Be(b, 12, 4), a = Be(b, 16, 4);

    for (std::size_t i = 0; i < n; ++i) {
        std::size_t at = d + Be(b, 20 + 3 * i, 3);
        ASSERT_EQ(Be(b, at, 3), rows[i].number);
        ASSERT_EQ(b[at + 3], rows[i].language);
        at += 4;
        for (std::string_view field : {rows[i].Title(), rows[i].Artist(), rows[i].Composer(), rows[i].Lyricist()}) {
            ASSERT_EQ(std::string(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + field.size())),
                      field);
            at += field.size();
            ASSERT_EQ(b[at++], '\t');
        }
    }

    EXPECT_EQ(x - d, 4 * (parse->dataSize / 4) + 4);
    std::set<std::uint32_t> seen;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t number = Be(b, x + 5 * i, 3), row = Be(b, x + 5 * i + 3, 2);
        ASSERT_LT(row, n);
        EXPECT_EQ(rows[row].number, number);
        if (i > 0) {
            EXPECT_LE(Be(b, x + 5 * (i - 1), 3), number);
        }
        seen.insert(row);
    }
    EXPECT_EQ(seen.size(), n);

    ASSERT_EQ(Be(b, a, 4), 116u);
    EXPECT_EQ(Be(b, a + 4 * 28, 4), b.size() - a);
    for (std::uint8_t k = 0; k < 28; ++k) {
        SCOPED_TRACE(static_cast<int>(k));
        std::multiset<std::uint32_t> members;
        std::map<std::uint32_t, int> classOf;
        for (const SongRow& r : rows) {
            if (r.language != k) continue;
            members.insert(r.rowIndex);
            classOf[r.rowIndex] = std::min<int>(r.wordClass, 9);
        }
        const std::size_t m = members.size();
        const std::size_t block = a + Be(b, a + 4 * k, 4);
        ASSERT_EQ(Be(b, a + 4 * (k + 1u), 4) - Be(b, a + 4 * k, 4), m == 0 ? 0 : 268 + 14 * m + (m % 2) * 2);
        if (m == 0) continue;
        for (int table = 0; table < 2; ++table) {
            const std::size_t entries = block + 268 + 6 * m * static_cast<std::size_t>(table);
            std::multiset<std::uint32_t> found;
            std::vector<std::uint32_t> keys;
            for (std::size_t e = 0; e < m; ++e) {
                const std::uint32_t key = Be(b, entries + 6 * e, 4), row = Be(b, entries + 6 * e + 4, 2);
                EXPECT_EQ(key, table == 0 ? rows[row].titleKey : rows[row].artistKey);
                if (!keys.empty()) {
                    EXPECT_LE(keys.back(), key);
                }
                keys.push_back(key);
                found.insert(row);
            }
            EXPECT_EQ(found, members);
            for (std::uint32_t j = 0; j < 27; ++j) {
                const auto below =
                    std::count_if(keys.begin(), keys.end(), [&](std::uint32_t v) { return v < j * 14348907u; });
                EXPECT_EQ(Be(b, block + 112 * static_cast<std::size_t>(table) + 4 * j, 4),
                          static_cast<std::uint32_t>(below));
            }
            EXPECT_EQ(Be(b, block + 112 * static_cast<std::size_t>(table) + 108, 4), m);
        }
        std::multiset<std::uint32_t> listed;
        for (int c = 0; c < 10; ++c) {
            const std::uint32_t from = Be(b, block + 224 + 4 * c, 4), to = Be(b, block + 228 + 4 * c, 4);
            for (std::uint32_t at = from; at < to; at += 2) {
                const std::uint32_t row = Be(b, block + at, 2);
                EXPECT_EQ(classOf.at(row), c);
                listed.insert(row);
            }
        }
        EXPECT_EQ(Be(b, block + 224, 4), 268 + 12 * m);
        EXPECT_EQ(Be(b, block + 264, 4), 268 + 14 * m);
        EXPECT_EQ(listed, members);
    }
}

}  // namespace
}  // namespace songloader
