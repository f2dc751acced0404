// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/songlist/song_text_parser.h"

#include <gtest/gtest.h>

#include "core/songlist/song_list_writer.h"
#include "core/songlist/song_text.h"

#include <random>
#include <string>

namespace songloader {
namespace {

std::string Row(std::string number, std::string language, std::string title, std::string artist = "Ann",
                std::string composer = "", std::string lyricist = "", std::string words = "1") {
    return number + "\tC:" + language + "\tT:" + title + "\tS:" + artist + "\tW:" + composer + "\tM:" + lyricist +
           "\tN:" + words + "\r\n";
}

Result<ParsedSongText> ParseOne(const std::string& row) { return ParseSongText(row, 1); }

std::string FailureOf(const std::string& text, std::size_t rows = 1) {
    const Result<ParsedSongText> parse = ParseSongText(text, rows);
    if (parse) {
        ADD_FAILURE() << "no failure";
        return {};
    }
    return parse.message();
}

TEST(ParseSongText, ReadsTheWorkedExampleRow) {
    const Result<ParsedSongText> parse = ParseOne(Row("900001", "0", "Let It Be", "Ann", "", "", "3"));
    ASSERT_TRUE(parse.ok()) << parse.message();
    ASSERT_EQ(parse->rows.size(), 1u);
    const SongRow& row = parse->rows[0];
    EXPECT_EQ(row.number, 900001u);
    EXPECT_EQ(row.rowIndex, 0);
    EXPECT_EQ(row.language, 0);
    EXPECT_EQ(row.titleLength, 9);
    EXPECT_EQ(row.artistLength, 3);
    EXPECT_EQ(row.composerLength, 0);
    EXPECT_EQ(row.lyricistLength, 0);
    EXPECT_EQ(row.wordClass, 2);
    EXPECT_EQ(row.titleKey, 177009219u);
    EXPECT_EQ(row.artistKey, 14348907u);
    EXPECT_STREQ(row.title, "Let It Be");
    EXPECT_STREQ(row.artist, "Ann");
    EXPECT_EQ(parse->dataSize, 20u);
}

TEST(ParseSongText, KeepsEachTextInItsSlotAndCountsRows) {
    const std::string text =
        Row("7", "2", "t", "a", "composer", "lyricist", "0") + Row("8", "27", "", "", "", "", "52");
    const Result<ParsedSongText> parse = ParseSongText(text, 2);
    ASSERT_TRUE(parse.ok()) << parse.message();
    ASSERT_EQ(parse->rows.size(), 2u);
    EXPECT_STREQ(parse->rows[0].composer, "composer");
    EXPECT_STREQ(parse->rows[0].lyricist, "lyricist");
    EXPECT_EQ(parse->rows[0].composerLength, 8);
    EXPECT_EQ(parse->rows[0].lyricistLength, 8);
    EXPECT_EQ(parse->rows[0].wordClass, 0) << "word count 0 is class 0";
    EXPECT_EQ(parse->rows[1].rowIndex, 1);
    EXPECT_EQ(parse->rows[1].language, 27);
    EXPECT_EQ(parse->rows[1].wordClass, 51);
    EXPECT_EQ(parse->dataSize, (1 + 1 + 8 + 8 + 8u) + 8u);
}

TEST(ParseSongText, ReadsNumbersWithLeadingSpacesAndLowerCaseTags) {
    Result<ParsedSongText> parse = ParseOne(Row(" 900001", " 0", "x"));
    ASSERT_TRUE(parse.ok()) << parse.message();
    EXPECT_EQ(parse->rows[0].number, 900001u);
    parse = ParseOne(Row("0 0 5", "00", "x"));
    ASSERT_TRUE(parse.ok()) << parse.message();
    EXPECT_EQ(parse->rows[0].number, 5u) << "spaces before the first non-zero digit are skipped";
    parse = ParseOne(Row("", "", "x"));
    ASSERT_TRUE(parse.ok()) << parse.message();
    EXPECT_EQ(parse->rows[0].number, 0u);
    parse = ParseOne("1\tc:1\tt:x\ts:y\tw:\tm:\tn:1\r\n");
    ASSERT_TRUE(parse.ok()) << parse.message();
    EXPECT_EQ(parse->rows[0].language, 1);
    EXPECT_STREQ(parse->rows[0].artist, "y");
}

TEST(ParseSongText, IgnoresTextAfterTheLastRowAndTakesLoneLineBreaksAsText) {
    const Result<ParsedSongText> parse = ParseSongText(Row("1", "0", "a\nb\rc") + "2\tC:0\tT:half", 1);
    ASSERT_TRUE(parse.ok()) << parse.message();
    EXPECT_STREQ(parse->rows[0].title, "a\nb\rc");
    EXPECT_TRUE(ParseSongText("", 0).ok());
    EXPECT_TRUE(ParseSongText("", 0).value().rows.empty());
}

TEST(ParseSongText, LanguageIsTheLowByteOfItsValue) {
    EXPECT_EQ(ParseOne(Row("1", "27", "x")).value().rows.at(0).language, 27);
    EXPECT_EQ(ParseOne(Row("1", "283", "x")).value().rows.at(0).language, 27) << "283 = 0x11B";
    EXPECT_EQ(FailureOf(Row("1", "28", "x")), "1have row error:Country ID is wrong!");
    EXPECT_EQ(FailureOf(Row("1", "255", "x")), "1have row error:Country ID is wrong!");
    EXPECT_EQ(FailureOf(Row("1", "99999999999999999999", "x")), "1have row error:Country ID is wrong!")
        << "an overflowing value stays at the largest 32-bit value";
}

TEST(ParseSongText, EveryRowMessageCarriesItsRowNumber) {
    const std::string good = Row("1", "0", "x");
    EXPECT_EQ(FailureOf(good + good, 1), "2have row error: Existence of a number of rows with inconsistency");
    EXPECT_EQ(FailureOf(good + good, 3), "3have row error: Existence of a number of rows with inconsistency")
        << "fewer rows than stated would leave rows unfilled";
    EXPECT_EQ(FailureOf(Row("900 001", "0", "x")), "1have row Error:There is extra space!");
    EXPECT_EQ(FailureOf(Row("900001 ", "0", "x")), "1have row Error:There is extra space!");
    EXPECT_EQ(FailureOf(good + Row("9000a1", "0", "x"), 2), "2have row Error:There could not distinguish characters!");
    EXPECT_EQ(FailureOf(Row("-5", "0", "x")), "1have row Error:There could not distinguish characters!");
    EXPECT_EQ(FailureOf(Row("1000000", "0", "x")), "1行出现错误:歌号太长");
    EXPECT_EQ(FailureOf(Row("99999999999999999999999", "0", "x")), "1行出现错误:歌号太长");
    EXPECT_TRUE(ParseOne(Row("999999", "0", "x")).ok());
    EXPECT_EQ(FailureOf(good + good + "3\tT:x\tS:\tW:\tM:\tN:1\r\n", 3), "3have row error!");
    EXPECT_EQ(FailureOf("1\tC:0\tX:x\tS:\tW:\tM:\tN:1\r\n"), "1have row error!");
    EXPECT_EQ(FailureOf("1\tC:0\tT;x\tS:\tW:\tM:\tN:1\r\n"), "1have row error!");
    EXPECT_EQ(FailureOf("1\tC:0\tT:x\tS:\tW:\tM:\r\n"), "1have row error!");
    EXPECT_EQ(FailureOf("1\tC:0\tT:x\tS:\tW:\tM:\tN\r\n"), "1have row error!");
    EXPECT_EQ(FailureOf("1 C:0\tT:x\tS:\tW:\tM:\tN:1\r\n"), "1have row Error:There is extra space!");
    EXPECT_EQ(FailureOf(Row("1", "0", "x", "", "", "", "53")), "1have row error:Song name characters is wrong!");
    EXPECT_EQ(FailureOf(Row("1", "0", "x", "", "", "", "9999999999999")),
              "1have row error:Song name characters is wrong!");
    EXPECT_TRUE(ParseOne(Row("1", "0", "x", "", "", "", "52")).ok());
}

TEST(ParseSongText, CutsLongTextsAtFiftyTwoBytes) {
    const std::string longText(60, 'a');
    const Result<ParsedSongText> parse = ParseOne(Row("1", "0", longText, longText, longText, longText));
    ASSERT_TRUE(parse.ok()) << parse.message();
    const SongRow& row = parse->rows[0];
    EXPECT_EQ(row.titleLength, 52);
    EXPECT_EQ(row.artistLength, 52);
    EXPECT_EQ(row.composerLength, 52);
    EXPECT_EQ(row.lyricistLength, 52);
    EXPECT_EQ(std::string(row.title), std::string(52, 'a'));
    EXPECT_EQ(parse->dataSize, 4 * 52 + 8u);
}

TEST(ParseSongText, TakesTheKeysFromTheCutTexts) {
    const std::string title = std::string(52, 'a') + " z";
    const Result<ParsedSongText> parse = ParseOne(Row("1", "0", title, title, "", "", "2"));
    ASSERT_TRUE(parse.ok()) << parse.message();
    EXPECT_EQ(parse->rows[0].titleKey, 14348907u) << "the z beyond the slot is no initial";
    EXPECT_EQ(parse->rows[0].artistKey, 14348907u);
}

TEST(ParseSongText, NeverCutsAChineseCharacterInTwo) {
    std::string title = "a";
    for (int i = 0; i < 30; ++i) title += "\xB0\xA1";  // 61 bytes, characters at odd offsets
    Result<ParsedSongText> parse = ParseOne(Row("1", "1", title, title));
    ASSERT_TRUE(parse.ok()) << parse.message();
    EXPECT_EQ(parse->rows[0].titleLength, 51);
    EXPECT_EQ(parse->rows[0].artistLength, 51);
    EXPECT_EQ(std::string(parse->rows[0].title), title.substr(0, 51));
    // Other languages cut at 52 bytes whatever the bytes.
    parse = ParseOne(Row("1", "0", title));
    EXPECT_EQ(parse->rows.at(0).titleLength, 52);
    // A character that ends exactly at 52 bytes is kept whole.
    parse = ParseOne(Row("1", "1", title.substr(1) + "xyz"));
    EXPECT_EQ(parse->rows.at(0).titleLength, 52);
    // A high byte with nothing after it is a character of one byte.
    parse = ParseOne(Row("1", "1", std::string(52, 'b') + "\xB0"));
    EXPECT_EQ(parse->rows.at(0).titleLength, 52);
    EXPECT_EQ(SlotLength(title, 1), 51u);
    EXPECT_EQ(SlotLength(title.substr(0, 52), 1), 52u) << "a text that fits is never cut";
}

// On a device with a double-byte code page no text of any language ends in a lone lead byte.
TEST(ParseSongText, TheCutKeepsTheDevicesDoubleByteCharactersWhole) {
    struct Case {
        const char* codePage;
        std::string character;
        int language;
        std::size_t length;
    };
    const std::string sjisKana = "\xB1";  // a one-byte character of CP932
    for (const Case& c :
         {Case{"CP936", "\xC4\xE3", 0, 51}, Case{"CP950", "\xA4\xA4", 10, 51}, Case{"CP949", "\xC7\xD1", 6, 51},
          Case{"CP932", "\x93\xFA", 0, 51}, Case{"CP932", "\xE3\x81", 2, 51}, Case{"CP932", sjisKana, 0, 52},
          Case{"CP1252", "\xC4\xE3", 0, 52}, Case{"", "\xC4\xE3", 0, 52}, Case{"CP1252", "\xC4\xE3", 1, 51}}) {
        std::string title = "a";
        while (title.size() < 60) title += c.character;
        const Result<ParsedSongText> parse =
            ParseSongText(Row("1", std::to_string(c.language), title, title), 1, c.codePage);
        ASSERT_TRUE(parse.ok()) << parse.message();
        EXPECT_EQ(parse->rows[0].titleLength, c.length) << c.codePage << " " << c.language;
        EXPECT_EQ(parse->rows[0].artistLength, c.length) << c.codePage << " " << c.language;
        EXPECT_EQ(SlotLength(title, c.language, c.codePage), c.length) << c.codePage;
    }
    // Through the builder: the device's code page travels with the song text.
    SongText text;
    text.codePage = "CP936";
    AppendSongTextRow(text, ROWELEMENT{900000, "900000", 0, "EG", "a" + std::string(60, '\xC4'), "", "", "", ""});
    const Result<std::vector<std::uint8_t>> build = BuildSongList(&text);
    ASSERT_TRUE(build.ok());
    const std::string bytes(build.value().begin(), build.value().end());
    const auto at = bytes.find("a" + std::string(50, '\xC4'));
    ASSERT_NE(at, std::string::npos);
    EXPECT_NE(bytes.at(at + 51), '\xC4');
}

}  // namespace
}  // namespace songloader

namespace songloader {
namespace {

TEST(ParseSongText, EveryTruncationAndRandomDamageFailsCleanlyOrReadsEveryRow) {
    std::string text;
    for (int i = 0; i < 12; ++i) {
        text += Row(std::to_string(900000 + i), std::to_string(i % 28), "Title number " + std::to_string(i),
                    i % 2 ? "" : "Some Artist", "C", "L", std::to_string(1 + i % 4));
    }
    ASSERT_TRUE(ParseSongText(text, 12).ok());
    for (std::size_t length = 0; length < text.size(); ++length) {
        const Result<ParsedSongText> parse = ParseSongText(std::string_view(text).substr(0, length), 12);
        ASSERT_FALSE(parse.ok()) << length;
        EXPECT_FALSE(parse.message().empty()) << length;
    }
    std::mt19937 random(11);
    for (int round = 0; round < 5000; ++round) {
        std::string damaged = text;
        for (int flips = 1 + round % 3; flips > 0; --flips) {
            damaged[random() % damaged.size()] = static_cast<char>(random() & 0xFF);
        }
        const Result<ParsedSongText> parse = ParseSongText(damaged, 12);
        if (parse.ok()) {
            ASSERT_EQ(parse->rows.size(), 12u);
            for (const SongRow& row : parse->rows) {
                EXPECT_LE(row.titleLength, kSongTextSlot);
                EXPECT_LE(row.language, 27);
            }
        } else {
            EXPECT_FALSE(parse.message().empty());
        }
    }
}

}  // namespace
}  // namespace songloader
