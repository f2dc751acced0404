// SPDX-License-Identifier: GPL-3.0-or-later
#include <sstream>

#include <gtest/gtest.h>

#include "core/cloud/publish_table.h"
#include "support/temp_dir.h"

namespace songloader::test {
namespace {

class PublishTableTest : public ::testing::Test {
protected:
    PublishTableTest() {
        WriteBytes(dir / "clips/a.mp4", "video a");
        WriteBytes(dir / "b.mp4", "video b");
    }
    Result<std::vector<PublishSong>> Parse(const std::string& text, const std::string& codePage = "CP1252") {
        return ParsePublishTable(text, dir.path(), codePage);
    }
    // The failure's lines.
    static std::vector<std::string> Errors(const Result<std::vector<PublishSong>>& table) {
        std::vector<std::string> lines;
        std::istringstream text(table.message());
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        return lines;
    }
    TempDir dir;
};

TEST_F(PublishTableTest, GoodRowsWithHeaderBlankLinesAndCrLf) {
    const Result<std::vector<PublishSong>> songs = Parse(
        "number\tlanguage\ttitle\tartist\tcomposer\tlyricist\tmedia\r\n"
        "\r\n"
        "100001\tEG\tLet It Be\tAnn\tC\tL\tclips/a.mp4\r\n"
        "890005\topm\tCanción\t\t\t\t" +
        (dir / "b.mp4").string() +
        "\n"
        "7\tOther\tSeven\tX\t\t\tb.mp4");
    ASSERT_TRUE(songs.ok()) << songs.message();
    const std::vector<PublishSong>& table = *songs;
    ASSERT_EQ(table.size(), 3u);
    const ROWELEMENT& first = table[0].song;
    EXPECT_EQ(table[0].line, 3u);
    EXPECT_EQ(first.number, 100001);
    EXPECT_EQ(first.numberText, "100001");
    EXPECT_EQ(first.language, 0);
    EXPECT_EQ(first.languageText, "EG");
    EXPECT_EQ(first.title, "Let It Be");
    EXPECT_EQ(first.artist, "Ann");
    EXPECT_EQ(first.composer, "C");
    EXPECT_EQ(first.lyricist, "L");
    EXPECT_EQ(table[0].media, dir / "clips/a.mp4");
    EXPECT_EQ(table[1].song.language, 6);
    EXPECT_EQ(table[1].song.title, "Canci\xF3n") << "stored in the device code page";
    EXPECT_EQ(table[2].song.language, 27);
    EXPECT_EQ(table[2].song.languageText, "Other");
    EXPECT_EQ(table[2].media, dir / "b.mp4");
}

TEST_F(PublishTableTest, EveryBadLineIsReportedWithItsNumber) {
    const std::string longTitle(256, 'x');
    const Result<std::vector<PublishSong>> table = Parse(
        "100001\tEG\tFine\tA\t\t\tb.mp4\n"
        "100002\tEG\tToo few\n"
        "12345x\tEG\tT\tA\t\t\tb.mp4\n"
        "0\tEG\tT\tA\t\t\tb.mp4\n"
        "100003\tXX\tT\tA\t\t\tb.mp4\n"
        "100004\tEG\t\tA\t\t\tb.mp4\n"
        "100005\tEG\t" +
        longTitle +
        "\tA\t\t\tb.mp4\n"
        "100006\tEG\t\xE4\xB8\xAD\tA\t\t\tb.mp4\n"
        "100007\tEG\tT\tA\t\t\tmissing.mp4\n"
        "100008\tEG\tT\tA\t\t\t\n"
        "100001\tEG\tAgain\tA\t\t\tb.mp4\n"
        "100009\tEG\tT\tA\t\t\tb.mp4\textra\n");
    EXPECT_FALSE(table.ok());
    const std::vector<std::string> expected = {
        "line 2: expected 7 TAB-separated fields (number, language, title, artist, composer, lyricist, media), found 3",
        "line 3: the song number must be 1 to 999999, not \"12345x\"",
        "line 4: the song number must be 1 to 999999, not \"0\"",
        "line 5: unknown language \"XX\" (use EG, CN, ES, FH, GN, IA, OPM, MA, HW, JP, KR, VT, RU, AR, TH or Other)",
        "line 6: the title is empty",
        "line 7: the title is longer than 255 bytes in CP1252",
        "line 8: the title cannot be written in CP1252",
        "line 9: no media file at " + (dir / "missing.mp4").string(),
        "line 10: the media path is empty",
        "line 11: number 100001 is already on line 1",
        "line 12: expected 7 TAB-separated fields (number, language, title, artist, composer, lyricist, media), found "
        "8",
    };
    EXPECT_EQ(Errors(table), expected);
}

TEST_F(PublishTableTest, LimitsAreInDeviceBytes) {
    // 255 bytes in CP1252 is fine although its UTF-8 form is longer.
    std::string title;
    for (int i = 0; i < 255; ++i) title += "\xC3\xA9";
    EXPECT_TRUE(Parse("100001\tEG\t" + title + "\tA\t\t\tb.mp4").ok());
    // A CN title in the Chinese code page.
    const Result<std::vector<PublishSong>> cn = Parse("100002\tCN\t\xE4\xB8\xAD\tA\t\t\tb.mp4", "CP936");
    ASSERT_TRUE(cn.ok());
    EXPECT_EQ((*cn)[0].song.title, "\xD6\xD0");
}

TEST_F(PublishTableTest, EmptyTable) {
    EXPECT_EQ(Errors(Parse("")), std::vector<std::string>{"the table holds no songs"});
    EXPECT_EQ(Errors(Parse("number\tlanguage\n\n")), std::vector<std::string>{"the table holds no songs"});
}

}  // namespace
}  // namespace songloader::test
