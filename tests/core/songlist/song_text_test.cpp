// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/songlist/song_text.h"

#include <gtest/gtest.h>

#include "core/catalogue/language_table.h"
#include "core/songlist/song_text_parser.h"

namespace songloader {
namespace {

ROWELEMENT Song(std::int32_t number, int language, std::string title, std::string artist = "",
                std::string composer = "", std::string lyricist = "") {
    ROWELEMENT song;
    song.number = number;
    song.numberText = std::to_string(number);
    SetLanguage(song, language);
    song.title = std::move(title);
    song.artist = std::move(artist);
    song.composer = std::move(composer);
    song.lyricist = std::move(lyricist);
    return song;
}

TEST(SongText, WritesOneTaggedRowPerSong) {
    SongText text;
    AppendSongTextRow(text, Song(900001, 0, "Let It Be", "Ann"));
    EXPECT_EQ(text.bytes, "900001\tC:0\tT:Let It Be\tS:Ann\tW:\tM:\tN:3\r\n");
    EXPECT_EQ(text.rowCount, 1u);
    AppendSongTextRow(text, Song(7, 1, "\xB0\xA1\xD4\xD1", "", "Lee", "Wu"));
    EXPECT_EQ(text.bytes,
              "900001\tC:0\tT:Let It Be\tS:Ann\tW:\tM:\tN:3\r\n"
              "7\tC:1\tT:\xB0\xA1\xD4\xD1\tS:\tW:Lee\tM:Wu\tN:2\r\n");
    EXPECT_EQ(text.rowCount, 2u);
}

TEST(SongText, WritesTheListInOrderWithRoomReserved) {
    const SongText text = WriteSongText({Song(3, 0, "c"), Song(1, 11, "a"), Song(2, 27, "")});
    EXPECT_EQ(text.rowCount, 3u);
    EXPECT_GE(text.bytes.capacity(), kSongTextReserve);
    EXPECT_EQ(text.bytes,
              "3\tC:0\tT:c\tS:\tW:\tM:\tN:1\r\n"
              "1\tC:11\tT:a\tS:\tW:\tM:\tN:1\r\n"
              "2\tC:27\tT:\tS:\tW:\tM:\tN:1\r\n");
    EXPECT_EQ(WriteSongText({}).rowCount, 0u);
}

TEST(SongText, SeparatorsInsideTextsBecomeSpaces) {
    SongText text;
    AppendSongTextRow(text, Song(5, 0, "a\tb\r\nc", "x\ry", "\n", "\t"));
    EXPECT_EQ(text.bytes, "5\tC:0\tT:a b  c\tS:x y\tW: \tM: \tN:4\r\n");
    const Result<ParsedSongText> parse = ParseSongText(text.bytes, text.rowCount);
    ASSERT_TRUE(parse.ok()) << parse.message();
    EXPECT_STREQ(parse->rows[0].title, "a b  c");
}

TEST(SongText, RowsReadBackAsWritten) {
    const SongList songs = {Song(900123, 6, "Sa Ugoy ng Duyan", "Lea", "Cel", "Lev"),
                            Song(12, 1, "\xB2\xC1 ab", "\xB4\xEE"), Song(999999, 10, "", "")};
    const SongText text = WriteSongText(songs);
    const Result<ParsedSongText> parse = ParseSongText(text.bytes, text.rowCount);
    ASSERT_TRUE(parse.ok()) << parse.message();
    ASSERT_EQ(parse->rows.size(), songs.size());
    for (std::size_t i = 0; i < songs.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(parse->rows[i].number, static_cast<std::uint32_t>(songs[i].number));
        EXPECT_EQ(parse->rows[i].language, songs[i].language);
        EXPECT_EQ(parse->rows[i].Title(), songs[i].title);
        EXPECT_EQ(parse->rows[i].Artist(), songs[i].artist);
        EXPECT_EQ(parse->rows[i].Composer(), songs[i].composer);
        EXPECT_EQ(parse->rows[i].Lyricist(), songs[i].lyricist);
    }
    EXPECT_EQ(parse->rows[0].wordClass, 3);
    EXPECT_EQ(parse->rows[1].wordClass, 0) << "CN: one character, the open word at the end is not counted";
    EXPECT_EQ(parse->rows[2].wordClass, 0);
}

}  // namespace
}  // namespace songloader
