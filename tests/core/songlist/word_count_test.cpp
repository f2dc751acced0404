// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/songlist/word_count.h"

#include <gtest/gtest.h>

namespace songloader {
namespace {

TEST(WordCount, SeparatorsCountForMostLanguages) {
    EXPECT_EQ(WordCount("Let It Be", 0), 3u);
    EXPECT_EQ(WordCount("", 0), 1u);
    EXPECT_EQ(WordCount("AC/DC\\live", 6), 3u);
    EXPECT_EQ(WordCount("  ", 11), 3u);
    EXPECT_EQ(WordCount("\xB0\xA1\xB0\xA1", 27), 1u);
}

TEST(WordCount, ChineseAndKoreanCountClosedWordsAndCharacters) {
    for (int language : {1, 10}) {
        SCOPED_TRACE(language);
        EXPECT_EQ(WordCount("", language), 0u);
        EXPECT_EQ(WordCount("abc", language), 0u) << "an open word at the end is not counted";
        EXPECT_EQ(WordCount("ab cd ", language), 2u);
        EXPECT_EQ(WordCount("ab  cd", language), 1u) << "a space with no open word adds nothing";
        EXPECT_EQ(WordCount(" ", language), 0u);
        EXPECT_EQ(WordCount("\xB0\xA1\xD4\xD1", language), 2u);
        EXPECT_EQ(WordCount("\xB0\xA1 ab", language), 1u);
        // Each high byte adds one while a word is open, and the pair completes a character.
        EXPECT_EQ(WordCount("ab\xB0\xA1", language), 3u);
        EXPECT_EQ(WordCount("\x80 ", language), 1u) << "0x80 opens an ASCII word";
        EXPECT_EQ(WordCount("\x81 ", language), 0u);
        EXPECT_EQ(WordCount("\xB0\xA1\xB0", language), 1u);
    }
}

}  // namespace
}  // namespace songloader
