// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/songlist/gb2312_initials.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <iterator>

namespace songloader {
namespace {

constexpr unsigned kFirstLead = 0xB0;
constexpr unsigned kLastLead = 0xF7;
constexpr unsigned kLastLevel1Lead = 0xD7;
constexpr unsigned kFirstTrail = 0xA1;
constexpr unsigned kLastTrail = 0xFE;
constexpr unsigned kLastLevel1 = 0xD7F9;

int Letter(char upper) { return upper - 'A' + 1; }

std::uint8_t InitialOf(unsigned code) {
    return Gb2312Initial(static_cast<std::uint8_t>(code >> 8), static_cast<std::uint8_t>(code & 0xFF));
}

// The code point just before `code` in GB2312 order (trail bytes wrap to the previous row).
unsigned Previous(unsigned code) {
    return (code & 0xFF) == kFirstTrail ? ((code - 0x100) & 0xFF00) | kLastTrail : code - 1;
}

struct LetterStart {
    char letter;
    unsigned code;
};

// First code point of each letter in the pinyin-sorted level-1 rows.
constexpr LetterStart kLevel1Starts[] = {
    {'A', 0xB0A1}, {'B', 0xB0C5}, {'C', 0xB2C1}, {'D', 0xB4EE}, {'E', 0xB6EA}, {'F', 0xB7A2},
    {'G', 0xB8C1}, {'H', 0xB9FE}, {'J', 0xBBF7}, {'K', 0xBFA6}, {'L', 0xC0AC}, {'M', 0xC2E8},
    {'N', 0xC4C3}, {'O', 0xC5B6}, {'P', 0xC5BE}, {'Q', 0xC6DA}, {'R', 0xC8BB}, {'S', 0xC8F6},
    {'T', 0xCBFA}, {'W', 0xCDDA}, {'X', 0xCEF4}, {'Y', 0xD1B9}, {'Z', 0xD4D1},
};

TEST(Gb2312InitialsTest, Level1LetterBoundaries) {
    EXPECT_EQ(InitialOf(Previous(0xB0A1)), 0);  // AFFE lies before the hanzi rows
    for (std::size_t i = 0; i < std::size(kLevel1Starts); ++i) {
        const LetterStart& start = kLevel1Starts[i];
        SCOPED_TRACE(start.letter);
        EXPECT_EQ(InitialOf(start.code), Letter(start.letter));
        if (i > 0) {
            EXPECT_EQ(InitialOf(Previous(start.code)), Letter(kLevel1Starts[i - 1].letter));
        }
    }
    EXPECT_EQ(InitialOf(kLastLevel1), Letter('Z'));
}

TEST(Gb2312InitialsTest, RowStartsFromTheOverview) {
    for (unsigned trail = 0xA1; trail <= 0xA8; ++trail) {
        EXPECT_EQ(Gb2312Initial(0xB0, static_cast<std::uint8_t>(trail)), 1) << std::hex << trail;
        EXPECT_EQ(Gb2312Initial(0xB1, static_cast<std::uint8_t>(trail)), 2) << std::hex << trail;
    }
}

TEST(Gb2312InitialsTest, Level1IsSortedByLetterWithoutGaps) {
    int previous = 1;
    for (unsigned lead = kFirstLead; lead <= kLastLevel1Lead; ++lead) {
        for (unsigned trail = kFirstTrail; trail <= kLastTrail; ++trail) {
            const unsigned code = lead << 8 | trail;
            if (code > kLastLevel1) break;
            const int value = InitialOf(code);
            ASSERT_GE(value, previous) << std::hex << code;
            ASSERT_LE(value, 26) << std::hex << code;
            // No pinyin syllable starts with I, U or V.
            ASSERT_NE(value, Letter('I')) << std::hex << code;
            ASSERT_NE(value, Letter('U')) << std::hex << code;
            ASSERT_NE(value, Letter('V')) << std::hex << code;
            previous = value;
        }
    }
    EXPECT_EQ(previous, Letter('Z'));
}

TEST(Gb2312InitialsTest, UnassignedAndOutOfRangeCodesGiveZero) {
    for (unsigned code = 0xD7FA; code <= 0xD7FE; ++code) {
        EXPECT_EQ(InitialOf(code), 0) << std::hex << code;
    }
    EXPECT_EQ(Gb2312Initial(0xAF, 0xA1), 0);
    EXPECT_EQ(Gb2312Initial(0xAF, 0xFE), 0);
    EXPECT_EQ(Gb2312Initial(0xF8, 0xA1), 0);
    EXPECT_EQ(Gb2312Initial(0xF8, 0xFE), 0);
    EXPECT_EQ(Gb2312Initial(0xB0, 0xA0), 0);
    EXPECT_EQ(Gb2312Initial(0xB0, 0xFF), 0);
    EXPECT_EQ(Gb2312Initial(0xF7, 0xA0), 0);
    EXPECT_EQ(Gb2312Initial(0xF7, 0xFF), 0);
    EXPECT_EQ(Gb2312Initial(0x00, 0x00), 0);
    EXPECT_EQ(Gb2312Initial(0xFF, 0xFF), 0);
}

TEST(Gb2312InitialsTest, Level2CharactersTakeTheirReading) {
    EXPECT_EQ(InitialOf(0xD8A1), Letter('C'));  // 亍 chù, first level-2 character
    EXPECT_EQ(InitialOf(0xDEBA), Letter('X'));  // 藓 xiǎn
    EXPECT_EQ(InitialOf(0xE0C5), Letter('N'));  // 嗯 ń, tone mark on a consonant
    EXPECT_EQ(InitialOf(0xEAB1), Letter('O'));  // 瓯 ōu
    EXPECT_EQ(InitialOf(0xEECF), Letter('N'));  // 钕 nǚ
    EXPECT_EQ(InitialOf(0xF0D0), Letter('Y'));  // 鹦 yīng
    EXPECT_EQ(InitialOf(0xF2BA), Letter('H'));  // 蚝 háo
    EXPECT_EQ(InitialOf(0xF7A1), Letter('A'));  // 鳌 áo
    EXPECT_EQ(InitialOf(0xF7AC), Letter('G'));  // 鳜 guì
    EXPECT_EQ(InitialOf(0xF7FE), Letter('Z'));  // 齄 zhā, last code point
}

TEST(Gb2312InitialsTest, EveryEntryIsALetterOrZero) {
    for (unsigned lead = 0; lead <= 0xFF; ++lead) {
        for (unsigned trail = 0; trail <= 0xFF; ++trail) {
            const int value = Gb2312Initial(static_cast<std::uint8_t>(lead), static_cast<std::uint8_t>(trail));
            const bool inTable = lead >= kFirstLead && lead <= kLastLead && trail >= kFirstTrail && trail <= kLastTrail;
            ASSERT_LE(value, 26) << std::hex << lead << ' ' << trail;
            if (!inTable) {
                ASSERT_EQ(value, 0) << std::hex << lead << ' ' << trail;
            }
        }
    }
}

TEST(Gb2312InitialsTest, Level2RowsHaveNoGaps) {
    // All 3008 level-2 code points hold a character, and every one has a reading.
    for (unsigned lead = kLastLevel1Lead + 1; lead <= kLastLead; ++lead) {
        for (unsigned trail = kFirstTrail; trail <= kLastTrail; ++trail) {
            ASSERT_NE(Gb2312Initial(static_cast<std::uint8_t>(lead), static_cast<std::uint8_t>(trail)), 0)
                << std::hex << lead << ' ' << trail;
        }
    }
}

}  // namespace
}  // namespace songloader
