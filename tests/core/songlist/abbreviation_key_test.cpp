// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/songlist/abbreviation_key.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "core/songlist/vietnamese_letters.h"

namespace songloader {
namespace {

constexpr std::uint32_t P5 = 14348907;  // 27^5
constexpr std::uint32_t P4 = 531441;
constexpr std::uint32_t P3 = 19683;
constexpr std::uint32_t P2 = 729;
constexpr std::uint32_t P1 = 27;

std::uint32_t Key(std::string_view text, int language = 0, int limit = 6) {
    return AbbreviationKey(text, language, limit);
}

TEST(AbbreviationKey, GeneralRuleTakesTheInitialsOfWords) {
    EXPECT_EQ(Key("Let It Be"), 177009219u);
    EXPECT_EQ(Key("let it be"), 177009219u);
    EXPECT_EQ(Key("ABBA"), 14348907u);
    EXPECT_EQ(Key(""), 0u);
    EXPECT_EQ(Key("1999 Love"), 12 * P5) << "digits are no initials outside languages 1 and 10";
    EXPECT_EQ(Key("rock'n'roll"), 18 * P5 + 14 * P4 + 18 * P3);
    // A byte from 0x80 inside a word does not end it; at a word start it is skipped.
    EXPECT_EQ(Key("a\xE9z c"), 1 * P5 + 3 * P4);
    EXPECT_EQ(Key("\xE9z"), 26 * P5);
    EXPECT_EQ(Key("Z Z Z Z Z Z"), 26 * (P5 + P4 + P3 + P2 + P1 + 1));
}

TEST(AbbreviationKey, StopsAtTheLimitNulOrTab) {
    EXPECT_EQ(Key("a b c d e f g"), P5 + 2 * P4 + 3 * P3 + 4 * P2 + 5 * P1 + 6);
    EXPECT_EQ(Key("a b c d e f g", 0, 2), P5 + 2 * P4);
    EXPECT_EQ(Key("a b c", 0, 0), 0u);
    EXPECT_EQ(Key("a b c", 0, 99), P5 + 2 * P4 + 3 * P3) << "at most six initials";
    EXPECT_EQ(Key(std::string_view("a\0b", 3)), P5);
    EXPECT_EQ(Key("a\tb"), P5);
}

TEST(AbbreviationKey, DigitsAreInitialsForLanguages1And10) {
    EXPECT_EQ(Key("1999 Love", 1), 1 * P5 + 12 * P4);
    EXPECT_EQ(Key("1999 Love", 10), 1 * P5 + 12 * P4);
    EXPECT_EQ(Key("0 x", 10), 24 * P4) << "a zero digit still takes a place";
}

TEST(AbbreviationKey, ChineseCharactersGiveTheirPinyinInitial) {
    // The first level-1 characters of Z and A.
    EXPECT_EQ(Key("\xD4\xD1\xB0\xA1", 1), 26 * P5 + 1 * P4);
    // Each character is a word: a letter right after one starts the next word.
    EXPECT_EQ(Key("\xB0\xC5x", 1), 2 * P5 + 24 * P4);
    // First code points of C and D; a character not in the table still takes a place.
    EXPECT_EQ(Key("\xB2\xC1\xA1\xA1\xB4\xEE", 1), 3 * P5 + 4 * P4) << "bytes below 0xB0 are skipped at a word start";
    EXPECT_EQ(Key("\xFF\xFF"
                  "b",
                  1),
              2 * P4);
    // A lead byte without a trail byte from 0xA1 goes to the general rule.
    EXPECT_EQ(Key("\xB0"
                  "A",
                  1),
              1 * P5);
    EXPECT_EQ(Key("\xB0\xA1", 0), 0u) << "other languages skip the bytes";
}

TEST(AbbreviationKey, LatinNineLettersFoldForSpanishFrenchGerman) {
    for (int language : {2, 3, 4}) {
        SCOPED_TRACE(language);
        EXPECT_EQ(Key("\xC9l \xF1o", language), 5 * P5 + 14 * P4);
        EXPECT_EQ(Key("\xBE \xA6 \xB4 \xDF \xE7 \xD0", language), 25 * P5 + 19 * P4 + 26 * P3 + 2 * P2 + 3 * P1 + 4);
        EXPECT_EQ(Key("\xD7x", language), 24 * P5) << "0xD7 stays a non-letter";
    }
    EXPECT_EQ(Key("\xC9l \xF1o", 0), 12 * P5 + 15 * P4) << "no folding in English";
}

TEST(AbbreviationKey, VietnameseTablesHaveTheirFullSize) {
    EXPECT_EQ(VietnameseBaseLetters().size(), 128u);
    EXPECT_EQ(VietnamesePairs().size(), 115u);
    EXPECT_EQ(VietnameseReplacements().size(), 13u);
    std::set<std::pair<int, int>> seen;
    for (const VietnamesePair& p : VietnamesePairs()) {
        EXPECT_TRUE(seen.insert({p.first, p.second}).second) << "pair listed twice";
        EXPECT_EQ(VietnamesePairCode(p.first, p.second), p.code);
    }
    EXPECT_EQ(VietnamesePairCode(0x41, 0xBF), 0u);
    EXPECT_EQ(VietnamesePairCode(0x42, 0xC0), 0u);
}

TEST(AbbreviationKey, VietnamesePairsReplacementsAndLetters) {
    // 41 C0 is one letter, code 0x85, base letter A.
    EXPECT_EQ(Key("A\xC0", 11), 1 * P5);
    // 61 FA gives 0xC6, which the replacements turn into 0x9B, base letter I (A without them).
    EXPECT_EQ(Key("a\xFA", 11), 9 * P5);
    // F6 F9 gives 0xD1, replaced by 0xD0: D.
    EXPECT_EQ(Key("\xF6\xF9", 11), 4 * P5);
    // A single F3 is replaced once, by 0xEE (I), not again by 0xDC (Y).
    EXPECT_EQ(Key("\xF3", 11), 9 * P5);
    EXPECT_EQ(Key("\xEE", 11), 25 * P5);
    // Marks that stand for letters.
    EXPECT_EQ(Key("# ( *", 11), 1 * P5 + 25 * P4 + 25 * P3);
    EXPECT_EQ(Key("# ( *", 0), 0u);
    // 41 C3 gives 0x06, no letter: skipped, and the next letter starts the word.
    EXPECT_EQ(Key("A\xC3"
                  "b",
                  11),
              2 * P5);
    EXPECT_EQ(Key("A\xC3"
                  "b",
                  0),
              1 * P5);
    // Letters after a pair are inside the same word.
    EXPECT_EQ(Key("A\xC0n b", 11), 1 * P5 + 2 * P4);
}

}  // namespace
}  // namespace songloader
