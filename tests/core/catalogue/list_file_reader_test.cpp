// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>

#include <sys/stat.h>

#include <functional>

#include "core/catalogue/list_file_reader.h"
#include "support/list_file_bytes.h"
#include "support/temp_dir.h"

namespace songloader {
namespace {

using test::ListEntry;
using test::MakeListFileBytes;

ListReadResult Parse(const std::vector<std::uint8_t>& bytes, ListKind kind = ListKind::Device) {
    return ParseListFile(bytes, kind);
}

void ExpectFailure(const ListReadResult& result, const char* message) {
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.songs.empty());
    EXPECT_EQ(result.failure.text, message);
    EXPECT_EQ(result.failure.caption, "Error");
}

TEST(ListFileReader, ReadsNumbersLanguagesAndTheFourFields) {
    auto bytes = MakeListFileBytes({{900000, 0x0E, "Title", "", "Comp", "Lyr"},
                                    {7, 0x0F, "A\r\nB", "Artist", "", ""},
                                    {12345, 0xFF, "", "", "", ""}});
    ListReadResult read = Parse(bytes);
    ASSERT_TRUE(read.ok);
    ASSERT_EQ(read.songs.size(), 3u);
    EXPECT_EQ(read.songs[0].number, 900000);
    EXPECT_EQ(read.songs[0].numberText, "900000");
    EXPECT_EQ(read.songs[0].language, 14);
    EXPECT_EQ(read.songs[0].languageText, "TH");
    EXPECT_EQ(read.songs[0].title, "Title");
    EXPECT_EQ(read.songs[0].artist, "");
    EXPECT_EQ(read.songs[0].composer, "Comp");
    EXPECT_EQ(read.songs[0].lyricist, "Lyr");
    EXPECT_EQ(read.songs[1].numberText, "7");
    EXPECT_EQ(read.songs[1].languageText, "Other");
    EXPECT_EQ(read.songs[1].language, 27);
    EXPECT_EQ(read.songs[1].title, "A\r\nB");  // CR and LF are ordinary bytes
    EXPECT_EQ(read.songs[2].language, 27);
    for (const auto& song : read.songs) EXPECT_TRUE(song.mediaPath.empty());
}

TEST(ListFileReader, NumberBytesAreBigEndian) {
    std::vector<std::uint8_t> bytes = MakeListFileBytes({{0, 0, "x", "", "", ""}});
    bytes[20] = 0x0D;
    bytes[21] = 0xBB;
    bytes[22] = 0xA0;
    EXPECT_EQ(Parse(bytes).songs.at(0).number, 900000);
}

TEST(ListFileReader, HonoursTheFirstEntryOffset) {
    std::vector<std::uint8_t> bytes = MakeListFileBytes({{42, 0, "t", "a", "", ""}});
    bytes.insert(bytes.begin() + 20, {0xAA, 0xBB, 0xCC});
    bytes[11] = 23;
    ListReadResult read = Parse(bytes);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.songs.at(0).number, 42);
}

TEST(ListFileReader, EmptyListOfTwentyBytesIsFine) {
    auto bytes = MakeListFileBytes({});
    ASSERT_EQ(bytes.size(), 20u);
    ListReadResult read = Parse(bytes);
    EXPECT_TRUE(read.ok);
    EXPECT_TRUE(read.songs.empty());
}

TEST(ListFileReader, ShortFileAndWrongMarkerHaveTheirMessages) {
    auto bytes = MakeListFileBytes({});
    bytes.pop_back();
    ExpectFailure(Parse(bytes), "Sglist File Error");

    bytes = MakeListFileBytes({{1, 0, "a", "b", "c", "d"}});
    bytes[0] = 0xED;
    ExpectFailure(Parse(bytes), "Data error ");
    bytes.resize(2048, 0);  // long enough for the mask pass, which changes nothing
    ExpectFailure(Parse(bytes), "Data error ");
}

TEST(ListFileReader, DamagedFilesFailWithoutAPartialList) {
    // The count runs past the end.
    auto bytes = MakeListFileBytes({{1, 0, "a", "b", "c", "d"}});
    bytes[3] = 2;
    ExpectFailure(Parse(bytes), "Sglist File Error");
    // A field without its TAB before the end.
    bytes = MakeListFileBytes({{1, 0, "a", "b", "c", "d"}});
    bytes.pop_back();
    ExpectFailure(Parse(bytes), "Sglist File Error");
    // First-entry offset past the end.
    bytes = MakeListFileBytes({{1, 0, "a", "b", "c", "d"}});
    bytes[8] = 0x7F;
    ExpectFailure(Parse(bytes), "Sglist File Error");
}

TEST(ListFileReader, FieldsHoldAtMost255Bytes) {
    ListReadResult longest = Parse(MakeListFileBytes({{1, 0, std::string(255, 'x'), "", "", ""}}));
    ASSERT_TRUE(longest.ok);
    EXPECT_EQ(longest.songs[0].title.size(), 255u);
    ExpectFailure(Parse(MakeListFileBytes({{1, 0, "", std::string(256, 'x'), "", ""}})), "Sglist File Error");
}

TEST(ListFileReader, CloudListMarksMusicVideosWithNonEmptyTitles) {
    auto bytes = MakeListFileBytes({{890000, 0, "Song", "", "", ""},
                                    {899999, 0, "", "", "", ""},
                                    {889999, 0, "Plain", "", "", ""},
                                    {900000, 0, "User", "", "", ""}});
    ListReadResult cloud = Parse(bytes, ListKind::Cloud);
    ASSERT_TRUE(cloud.ok);
    EXPECT_EQ(cloud.songs[0].title, "Song(MV)");
    EXPECT_EQ(cloud.songs[1].title, "");
    EXPECT_EQ(cloud.songs[2].title, "Plain");
    EXPECT_EQ(cloud.songs[3].title, "User");
    EXPECT_EQ(Parse(bytes, ListKind::Device).songs[0].title, "Song");
}

TEST(ListFileReader, EveryTruncationAndRandomDamageFailsCleanlyOrReadsWholeEntries) {
    std::vector<ListEntry> entries;
    for (std::uint32_t i = 0; i < 40; ++i) {
        entries.push_back({900000 + i, static_cast<std::uint8_t>(i % 20), "Title " + std::to_string(i), "Artist",
                           i % 3 ? "C" : "", "L"});
    }
    const auto good = MakeListFileBytes(entries);
    for (std::size_t length = 0; length < good.size(); ++length) {
        std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
        ListReadResult read = Parse(cut);
        EXPECT_FALSE(read.ok) << "length " << length;
        EXPECT_TRUE(read.songs.empty());
    }
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        auto damaged = good;
        for (int flips = 1 + round % 4; flips > 0; --flips) {
            damaged[random() % damaged.size()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
        }
        ListReadResult read = Parse(damaged);
        if (read.ok) {
            EXPECT_EQ(read.songs.size(), static_cast<std::size_t>((damaged[2] << 8) | damaged[3]));
        } else {
            EXPECT_TRUE(read.songs.empty());
        }
    }
}

// The numbers-only read must take and refuse exactly what the whole read does.
TEST(ReadListNumbers, AgreesWithTheWholeReadOnGoodTruncatedAndDamagedFiles) {
    std::vector<ListEntry> entries;
    for (std::uint32_t i = 0; i < 30; ++i) {
        entries.push_back({100000 + i * 7, static_cast<std::uint8_t>(i % 20), "T" + std::to_string(i), "A", "", "L"});
    }
    const auto good = MakeListFileBytes(entries);
    std::vector<std::vector<std::uint8_t>> files{good};
    for (std::size_t length = 0; length < good.size(); length += 5) {
        files.emplace_back(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
    }
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        auto damaged = good;
        damaged[random() % damaged.size()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
        files.push_back(std::move(damaged));
    }
    test::TempDir dir;
    const auto file = dir / "SgList.dat";
    for (std::size_t i = 0; i < files.size(); ++i) {
        test::WriteBytes(file, files[i]);
        const ListReadResult whole = ReadListFile(file, ListKind::Device);
        const auto numbers = ReadListNumbers(file);
        ASSERT_EQ(numbers.ok(), whole.ok) << "file " << i;
        if (!whole.ok) {
            EXPECT_EQ(numbers.message(), whole.failure.text) << "file " << i;
            continue;
        }
        std::vector<std::int32_t> expected;
        for (const ROWELEMENT& song : whole.songs) expected.push_back(song.number);
        EXPECT_EQ(*numbers, expected) << "file " << i;
    }
    EXPECT_FALSE(ReadListNumbers(dir / "missing.dat").ok());
}

TEST(ApplyHeaderMask, ChangesNothing) {
    std::vector<std::uint8_t> bytes(3000);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
    auto copy = bytes;
    ApplyHeaderMask(bytes);
    EXPECT_EQ(bytes, copy);
}

TEST(ReadListFile, CallsTheEntryHookOncePerEntryInOrderAndNeverWritesTheFile) {
    test::TempDir dir;
    const auto file = dir / "SgList.dat";
    const auto bytes = MakeListFileBytes({{1, 0, "a", "", "", ""}, {2, 1, "b", "", "", ""}});
    test::WriteBytes(file, bytes);
    const auto before = std::filesystem::last_write_time(file);

    std::vector<std::pair<std::size_t, std::size_t>> calls;
    std::size_t started = 0;
    ListReadHooks hooks;
    hooks.onStart = [&](std::size_t count) { started = count; };
    hooks.onEntry = [&](const ROWELEMENT& song, std::size_t i, std::size_t count) {
        EXPECT_EQ(song.number, static_cast<int>(i + 1));
        calls.emplace_back(i, count);
    };
    ListReadResult read = ReadListFile(file, ListKind::Device, hooks);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(started, 2u);
    EXPECT_EQ(calls, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 2}, {1, 2}}));
    EXPECT_EQ(test::ReadBytes(file), std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(std::filesystem::last_write_time(file), before);
}

TEST(ReadListFile, DamagedFileCallsNoHookAndMissingFileIsAFileError) {
    test::TempDir dir;
    auto bytes = MakeListFileBytes({{1, 0, "a", "", "", ""}});
    bytes[3] = 5;
    test::WriteBytes(dir / "SgList.dat", bytes);
    int calls = 0;
    ListReadHooks hooks;
    hooks.onEntry = [&](const ROWELEMENT&, std::size_t, std::size_t) { ++calls; };
    EXPECT_FALSE(ReadListFile(dir / "SgList.dat", ListKind::Device, hooks).ok);
    EXPECT_EQ(calls, 0);
    ExpectFailure(ReadListFile(dir / "missing.dat", ListKind::Device), "Sglist File Error");
    ExpectFailure(ReadListFile(dir.path(), ListKind::Device), "Sglist File Error");
}

TEST(FindListFile, PrefersTheExactNameAndElseTakesACaseVariant) {
    test::TempDir dir;
    test::WriteBytes(dir / "sglist.dat", "x");
    test::WriteBytes(dir / "SGLIST.DAT", "x");
    // A stick that ignores letter case stored it in capitals: it is still the list.
    auto variant = FindListFile(dir.path(), "SgList.dat");
    ASSERT_TRUE(variant);
    EXPECT_EQ(*variant, dir / "SGLIST.DAT");
    EXPECT_FALSE(FindListFile(dir.path(), "SgList.da"));
    test::WriteBytes(dir / "SgList.dat", "x");
    auto found = FindListFile(dir.path(), "SgList.dat");
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, dir / "SgList.dat");
    EXPECT_FALSE(FindListFile(dir / "no-such-folder", "SgList.dat"));
}

}  // namespace
}  // namespace songloader

namespace songloader {
namespace {

// Refused before a byte is read: no allocation of the file's size, no wait on a FIFO.
TEST(ReadListFile, OversizedSparseAndNonRegularFilesAreRefused) {
    test::TempDir dir;
    const auto file = dir / "SgList.dat";
    auto sparse = [&](std::uint64_t size) {
        test::WriteBytes(file, "");
        std::filesystem::resize_file(file, size);
    };
    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {"200 GB sparse", [&] { sparse(200ull << 30); }},
        {"one byte over the format", [&] { sparse(kListFileMaxBytes + 1); }},
        {"FIFO", [&] { ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0); }},
        {"folder", [&] { std::filesystem::create_directory(file); }},
    };
    for (const auto& [name, make] : cases) {
        std::filesystem::remove_all(file);
        make();
        const ListReadResult read = ReadListFile(file, ListKind::Device);
        EXPECT_FALSE(read.ok) << name;
        EXPECT_EQ(read.failure.text, "Sglist File Error") << name;
    }
}

}  // namespace
}  // namespace songloader
