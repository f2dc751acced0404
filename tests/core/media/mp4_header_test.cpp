// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/media/mp4_header.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/media/media_probe.h"
#include "support/media_samples.h"
#include "support/temp_dir.h"

namespace songloader {
namespace {
using namespace test;

std::string Read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// What both readings must agree on.
void ExpectSameFacts(const MediaFacts& quick, const MediaFacts& library, const std::string& what) {
    EXPECT_EQ(quick.container, library.container) << what;
    EXPECT_EQ(quick.containerText, library.containerText) << what;
    EXPECT_EQ(quick.hasVideo, library.hasVideo) << what;
    EXPECT_EQ(quick.hasAudio, library.hasAudio) << what;
    EXPECT_DOUBLE_EQ(quick.seconds, library.seconds) << what;
    EXPECT_EQ(quick.bitsPerSecond, library.bitsPerSecond) << what;
    EXPECT_EQ(quick.title, library.title) << what;
    EXPECT_EQ(quick.artist, library.artist) << what;
    EXPECT_EQ(quick.composer, library.composer) << what;
    EXPECT_EQ(quick.lyricist, library.lyricist) << what;
    ASSERT_EQ(quick.streams.size(), library.streams.size()) << what;
    for (std::size_t i = 0; i < quick.streams.size(); ++i) {
        const MediaStream& q = quick.streams[i];
        const MediaStream& l = library.streams[i];
        EXPECT_EQ(q.index, l.index) << what;
        EXPECT_EQ(q.video, l.video) << what;
        EXPECT_EQ(q.codec, l.codec) << what;
        EXPECT_EQ(q.sampleRate, l.sampleRate) << what;
        EXPECT_EQ(std::pair(q.width, q.height), std::pair(l.width, l.height)) << what;
    }
}

// The plain MP4 files of the tests are read without the library, to the same facts; the others
// are left to it.
TEST(Mp4HeaderTest, ReadsWhatTheLibraryReadsOrLeavesItToIt) {
    const struct {
        const char* file;
        bool readHere;
    } cases[] = {
        {"tagged.mp4", true}, {"untagged.mp4", true}, {"loud.mp4", true},
        {"quiet.mp4", true},  {"av1.mp4", false},     {"matroska-named.mp4", false},
        {"words.mp4", false}, {"tagged.mkv", false},  {"clip.webm", false},
    };
    for (const auto& c : cases) {
        const auto quick = ReadMp4Header(MediaFixture(c.file));
        EXPECT_EQ(quick.has_value(), c.readHere) << c.file;
        if (!quick) continue;
        const auto probed = ProbeMedia(MediaFixture(c.file), c.file);
        const auto library = ProbeMediaWithLibrary(MediaFixture(c.file), c.file);
        ASSERT_TRUE(probed.ok() && library.ok()) << c.file;
        ExpectSameFacts(*probed, *library, c.file);
    }
    TempDir dir;
    WriteMediaFile(dir.path() / "padded.mp4", 64 * 1024, 3);
    ASSERT_TRUE(ReadMp4Header(dir.path() / "padded.mp4"));
    ExpectSameFacts(*ProbeMedia(dir.path() / "padded.mp4", "p"), *ProbeMediaWithLibrary(dir.path() / "padded.mp4", "p"),
                    "padded.mp4");
}

// Cut short or with any byte of its headers changed, a file either is read to what the library
// reads, or is left to the library; nothing is read outside the file's bytes.
TEST(Mp4HeaderTest, DamagedHeadersAreLeftToTheLibrary) {
    TempDir dir;
    const std::string whole = Read(MediaFixture("tagged.mp4"));
    const auto file = dir.path() / "damaged.mp4";
    WriteBytes(file, whole);
    const auto check = [&](const std::string& what) {
        if (!ReadMp4Header(file)) return;
        const auto quick = ProbeMedia(file, "damaged.mp4");
        const auto library = ProbeMediaWithLibrary(file, "damaged.mp4");
        ASSERT_TRUE(quick.ok()) << what;
        ASSERT_TRUE(library.ok()) << what << ": read here, refused by the library: " << library.message();
        ExpectSameFacts(*quick, *library, what);
    };
    // Changed in place: rewriting the file each time would wait for its blocks on some file systems.
    const auto put = [&](std::size_t at, char value) {
        std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
        out.seekp(static_cast<std::streamoff>(at));
        out.put(value);
    };
    for (std::size_t at = whole.find("moov") - 4; at < whole.size(); ++at) {
        for (const unsigned char value : {0x00, 0xFF}) {
            put(at, static_cast<char>(value));
            check("byte " + std::to_string(at) + " = " + std::to_string(value));
        }
        put(at, whole[at]);
    }
    for (std::size_t length = whole.size(); length-- > 0;) {
        std::filesystem::resize_file(file, length);
        check("cut to " + std::to_string(length));
    }
}

}  // namespace
}  // namespace songloader
