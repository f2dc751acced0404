// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/output/song_list_export.h"
#include "support/temp_dir.h"

namespace songloader {
namespace {

ROWELEMENT Song(std::string number, std::string language, std::string title, std::string artist, std::string composer,
                std::string lyricist) {
    ROWELEMENT song;
    song.numberText = std::move(number);
    song.languageText = std::move(language);
    song.title = std::move(title);
    song.artist = std::move(artist);
    song.composer = std::move(composer);
    song.lyricist = std::move(lyricist);
    return song;
}

TEST(ExportText, HeaderIsSixtyFourBytes) {
    const std::string header = ExportText({});
    EXPECT_EQ(header.size(), 64u);
    EXPECT_EQ(header, "SongNO   \tLanguage   \tTitle   \tsinger   \tComposer   \tLyricist\t \n");
}

TEST(ExportText, OneLinePerSongWithItsCellsBytesUnchanged) {
    const std::string text = ExportText({Song("900000", "EG", "T", "A", "C", "L"), Song("7", "Other", "", "", "", ""),
                                         Song("8", "CN", "\xC4\xE3\xBA\xC3", "x\ty", "", "\r")});
    const std::string expected = std::string(kExportHeaderLine) +
                                 " 900000   \t EG   \t T   \t A   \t C   \t L\t \n"
                                 " 7   \t Other   \t    \t    \t    \t \t \n"
                                 " 8   \t CN   \t \xC4\xE3\xBA\xC3   \t x\ty   \t    \t \r\t \n";
    EXPECT_EQ(text, expected);
    EXPECT_EQ(text.find("\r\n"), std::string::npos);
}

TEST(ExportSongList, WritesTheFileAndReplacesAnOldOne) {
    test::TempDir dir;
    test::WriteBytes(dir / "list.xls", std::string(1000, 'o'));
    Result<Notice> result = ExportSongList({Song("1", "EG", "a", "b", "c", "d")}, dir / "list.xls");
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result->text, "Export Songlist OK!");
    EXPECT_EQ(result->caption, "Note");
    EXPECT_EQ(test::ReadBytes(dir / "list.xls"),
              std::string(kExportHeaderLine) + " 1   \t EG   \t a   \t b   \t c   \t d\t \n");
    EXPECT_EQ(test::ListFiles(dir.path()), std::vector<std::string>{"list.xls"});
}

TEST(ExportSongList, AFileThatCannotBeCreatedIsReportedAndNothingIsWritten) {
    test::TempDir dir;
    Result<Notice> result = ExportSongList({}, dir / "no-folder" / "list.xls");
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.message(), "Cannot create the export file.");
    EXPECT_TRUE(test::ListFiles(dir.path()).empty());

    test::WriteBytes(dir / "list.xls", "old list");
    {
        test::FileSizeLimit limit(10);
        std::vector<ROWELEMENT> songs(5, Song("900000", "EG", "title", "artist", "", ""));
        result = ExportSongList(songs, dir / "list.xls");
    }
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(test::ReadBytes(dir / "list.xls"), "old list");
    EXPECT_EQ(test::ListFiles(dir.path()), std::vector<std::string>{"list.xls"});
}

}  // namespace
}  // namespace songloader
