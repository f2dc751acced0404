// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/catalogue/language_table.h"

namespace songloader {
namespace {

TEST(LanguageFromText, ComparesTheFirstTwoLettersInAnyCase) {
    EXPECT_EQ(LanguageFromText("OPM[Tagalog]"), 6);
    EXPECT_EQ(LanguageFromText("opm[tagalog]"), 6);
    EXPECT_EQ(LanguageFromText("OPM"), 6);
    EXPECT_EQ(LanguageFromText("EG[English]"), 0);
    EXPECT_EQ(LanguageFromText("ES[Spanish]"), 2);
    EXPECT_EQ(LanguageFromText("SN"), 2);
    EXPECT_EQ(LanguageFromText("Thai"), 14);
    EXPECT_EQ(LanguageFromText("tH"), 14);
    EXPECT_EQ(LanguageFromText("KR"), 10);
    EXPECT_EQ(LanguageFromText("VT"), 11);
}

TEST(LanguageFromText, UnknownEmptyAndShortTextsAreOther) {
    EXPECT_EQ(LanguageFromText(""), 27);
    EXPECT_EQ(LanguageFromText("ZZ"), 27);
    EXPECT_EQ(LanguageFromText("E"), 27);
    EXPECT_EQ(LanguageFromText("Other "), 27);
}

TEST(LanguageTable, HasTwentyEightRowsEndingInOther) {
    EXPECT_STREQ(LanguageTable[0], "EG");
    EXPECT_STREQ(LanguageTable[6], "OPM");
    EXPECT_STREQ(LanguageTable[14], "TH");
    for (int code = 15; code < 28; ++code) EXPECT_STREQ(LanguageTable[static_cast<std::size_t>(code)], "Other");
    EXPECT_STREQ(LanguageText(-1), "Other");
    EXPECT_STREQ(LanguageText(99), "Other");
}

TEST(LanguageFromListByte, OnlyZeroToFourteenSelectARow) {
    EXPECT_EQ(LanguageFromListByte(0x0E), 14);
    EXPECT_EQ(LanguageFromListByte(0), 0);
    for (int value : {15, 0x80, 200, 255}) EXPECT_EQ(LanguageFromListByte(static_cast<std::uint8_t>(value)), 27);
}

TEST(FindLanguageEntry, MatchesThePrefixBeforeTheBracketOrFallsBackToTheLastItem) {
    EXPECT_EQ(FindLanguageEntry(kEntryLanguageItems, "OPM"), 0);
    EXPECT_EQ(FindLanguageEntry(kEntryLanguageItems, "eg"), 1);
    EXPECT_EQ(FindLanguageEntry(kEntryLanguageItems, "ES"), 2);
    EXPECT_EQ(FindLanguageEntry(kEntryLanguageItems, "KR"), 2);
    EXPECT_EQ(FindLanguageEntry(kEntryLanguageItems, "CN"), 2);
    EXPECT_EQ(FindLanguageEntry(kEntryLanguageItems, "Other"), 2);
    EXPECT_EQ(FindLanguageEntry(kEntryLanguageItems, "OP"), 2);
}

TEST(MusicVideoNumbers, AreExactly890000To899999) {
    EXPECT_FALSE(IsMvNumber(889999));
    EXPECT_TRUE(IsMvNumber(890000));
    EXPECT_TRUE(IsMvNumber(899999));
    EXPECT_FALSE(IsMvNumber(900000));
}

}  // namespace
}  // namespace songloader
