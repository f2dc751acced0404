// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/songlist/song_list_writer.h"

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "core/catalogue/language_table.h"
#include "support/song_samples.h"

namespace songloader {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Append(Bytes& out, std::initializer_list<int> bytes) {
    for (int b : bytes) out.push_back(static_cast<std::uint8_t>(b));
}
void AppendText(Bytes& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }
void AppendU32Times(Bytes& out, std::uint32_t value, int times) {
    for (int i = 0; i < times; ++i) {
        Append(out, {static_cast<int>(value >> 24), static_cast<int>(value >> 16 & 0xFF),
                     static_cast<int>(value >> 8 & 0xFF), static_cast<int>(value & 0xFF)});
    }
}

SongText TextOf(const std::string& bytes, std::size_t rows) {
    SongText text;
    text.bytes = bytes;
    text.rowCount = rows;
    return text;
}

Notice Message(const std::string& text) { return Notice{text, kApplicationName, NoticeIcon::None}; }

TEST(BuildSongList, WritesTheWorkedExampleByteForByte) {
    const SongText text = TextOf("900001\tC:0\tT:Let It Be\tS:Ann\tW:\tM:\tN:3\r\n", 1);
    const Result<std::vector<std::uint8_t>> build = BuildSongList(&text);
    ASSERT_TRUE(build.ok());

    Bytes expected;
    // Header: marker, checksum (0xEC+0x01+0x14+0x18+0x30+0x38 = 0x181), n = 1, offsets 20, 24, 48, 56.
    Append(expected, {0xEC, 0x81, 0x00, 0x01, 0, 0, 0, 0x14, 0, 0, 0, 0x18, 0, 0, 0, 0x30, 0, 0, 0, 0x38});
    // Record offset table: one offset 0, one zero byte.
    Append(expected, {0, 0, 0, 0});
    // Record data: 900001 = 0D BB A1, language 0, four TAB-terminated texts; four zero bytes.
    Append(expected, {0x0D, 0xBB, 0xA1, 0x00});
    AppendText(expected, "Let It Be\tAnn\t\t\t");
    Append(expected, {0, 0, 0, 0});
    // Number index: number, row 0, three zero bytes.
    Append(expected, {0x0D, 0xBB, 0xA1, 0x00, 0x00, 0, 0, 0});
    ASSERT_EQ(expected.size(), 56u);
    // Language directory: block 0 at 116, then every later entry and the size at 116 + 284.
    AppendU32Times(expected, 116, 1);
    AppendU32Times(expected, 400, 28);
    // Title initial table: L = 12, so the key 177,009,219 is below 13 x 27^5 but not 12 x 27^5.
    AppendU32Times(expected, 0, 13);
    AppendU32Times(expected, 1, 15);
    // Artist initial table: "Ann" has the key 27^5 exactly.
    AppendU32Times(expected, 0, 2);
    AppendU32Times(expected, 1, 26);
    // Word-class table: lists start at 268 + 12 = 280; class 2 holds the one row.
    AppendU32Times(expected, 280, 3);
    AppendU32Times(expected, 282, 8);
    // Title entry 0x0A8CF243 = 177,009,219 and artist entry 0x00DAF26B = 14,348,907, row 0.
    Append(expected, {0x0A, 0x8C, 0xF2, 0x43, 0, 0});
    Append(expected, {0x00, 0xDA, 0xF2, 0x6B, 0, 0});
    // Word-class list of class 2, then padding to a multiple of 4.
    Append(expected, {0, 0, 0, 0});
    ASSERT_EQ(expected.size(), 456u);
    EXPECT_EQ(build.value(), expected);
}

TEST(BuildSongList, RefusesAMissingOrBadlySizedText) {
    Result<std::vector<std::uint8_t>> build = BuildSongList(nullptr);
    ASSERT_FALSE(build.ok());
    EXPECT_EQ(build.failure().AsNotices(), Notices{Message("1 Read Temp File Error!")});

    const SongText empty = TextOf("", 0);
    build = BuildSongList(&empty);
    ASSERT_FALSE(build.ok());
    EXPECT_EQ(build.failure().AsNotices(), Notices{Message("2 Read Temp File Error!")});
}

TEST(BuildSongList, ReportsTheRowMessageThenTheAnalyseError) {
    const SongText text = TextOf("1\tC:0\tT:a\tS:\tW:\tM:\tN:1\r\n2\tC:28\tT:b\tS:\tW:\tM:\tN:1\r\n", 2);
    const Result<std::vector<std::uint8_t>> build = BuildSongList(&text);
    ASSERT_FALSE(build.ok());
    EXPECT_EQ(build.failure().AsNotices(),
              (Notices{Message("2have row error:Country ID is wrong!"), Message("Temp File Analyse Error!")}));
}

TEST(BuildSongList, TakesUpTo49999Songs) {
    const SongList songs = TieHeavySongs(1, 50000);
    SongText text = WriteSongText(SongList(songs.begin(), songs.end() - 1));
    Result<std::vector<std::uint8_t>> build = BuildSongList(&text);
    ASSERT_TRUE(build.ok());
    ASSERT_GE(build.value().size(), 4u);
    EXPECT_EQ(build.value()[2], 49999 >> 8);
    EXPECT_EQ(build.value()[3], 49999 & 0xFF);

    text = WriteSongText(songs);
    build = BuildSongList(&text);
    ASSERT_FALSE(build.ok());
    EXPECT_EQ(build.failure().AsNotices(), Notices{Message("2 Read Temp File Error!")});
}

TEST(BuildSongList, ReportsEachStageThatRunsOutOfMemory) {
    const SongText text = WriteSongText(TieHeavySongs(2, 40));
    const std::vector<std::pair<SongListStage, std::string>> stages = {
        {SongListStage::ParsedRows, "Temp File Analyse Error!"},
        {SongListStage::FileBytes, "Create SgList.Dat Fail!"},
        {SongListStage::NumberIndex, "Failure SgNumber Sort File Error Memory Failure!"},
        {SongListStage::NameIndex, "Failure Sort File Error Memory Failure"},
    };
    for (const auto& [stage, message] : stages) {
        SCOPED_TRACE(message);
        const Result<std::vector<std::uint8_t>> build = BuildSongList(&text, [stage = stage](SongListStage now) {
            if (now == stage) throw std::bad_alloc();
        });
        ASSERT_FALSE(build.ok());
        EXPECT_EQ(build.failure().AsNotices(), Notices{Message(message)});
    }
    std::vector<SongListStage> seen;
    EXPECT_TRUE(BuildSongList(&text, [&](SongListStage now) { seen.push_back(now); }).ok());
    EXPECT_EQ(seen, (std::vector<SongListStage>{SongListStage::ParsedRows, SongListStage::FileBytes,
                                                SongListStage::NumberIndex, SongListStage::NameIndex}));
}

}  // namespace
}  // namespace songloader
