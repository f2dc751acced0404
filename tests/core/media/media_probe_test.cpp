// SPDX-License-Identifier: GPL-3.0-or-later
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <optional>

#include "core/cloud/curl_library.h"
#include "core/media/libav_library.h"
#include "core/media/media_probe.h"
#include "core/media/song_names.h"
#include "support/media_samples.h"
#include "support/temp_dir.h"

namespace songloader {
namespace {
using namespace test;

struct Probed {
    const char* file;
    const char* refusal;                      // null: read
    std::optional<MediaContainer> container;  // none: not one the player plays as named
    const char* containerText;
};

TEST(MediaProbeTest, WhatEachFixtureIs) {
    const Probed probed[] = {
        {"tagged.mp4", nullptr, MediaContainer::Mp4, ""},
        {"untagged.mp4", nullptr, MediaContainer::Mp4, ""},
        {"tagged.mkv", nullptr, MediaContainer::Matroska, ""},
        {"Artist - Title.avi", nullptr, MediaContainer::Avi, ""},
        {"tagged.mp3", nullptr, MediaContainer::Mp3, ""},
        {"01 - Gil Park - Night Train.mpg", nullptr, MediaContainer::MpegPs, ""},
        {"clip.flv", nullptr, MediaContainer::Flv, ""},
        {"stream.ts", nullptr, MediaContainer::MpegTs, ""},
        {"clip.webm", nullptr, std::nullopt, "a WebM file"},
        {"clip.mov", nullptr, std::nullopt, "an MP4 file named .mov"},
        {"matroska-named.mp4", nullptr, std::nullopt, "a Matroska (MKV) file named .mp4"},
        {"words.mp4", "words.mp4 is not a video or audio file.", std::nullopt, ""},
    };
    for (const Probed& p : probed) {
        const auto facts = ProbeMedia(MediaFixture(p.file), p.file);
        if (p.refusal) {
            EXPECT_EQ(facts.ok() ? "" : facts.message(), p.refusal) << p.file;
            continue;
        }
        ASSERT_TRUE(facts.ok()) << p.file << ": " << facts.message();
        EXPECT_EQ(facts->container, p.container) << p.file;
        EXPECT_EQ(facts->containerText, p.containerText) << p.file;
        EXPECT_TRUE(facts->hasAudio || facts->hasVideo) << p.file;
        EXPECT_FALSE(facts->streams.empty()) << p.file;
    }
}

// The media and network libraries pull in over a hundred others: a command that does not check a
// file or make a request must not load them, nor one that checks only plain MP4 files. Run in a
// fresh process, whatever ran before.
TEST(MediaProbeTest, TheMediaAndNetworkLibrariesLoadOnlyWhenUsed) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto loaded = [](const char* library) {
        void* handle = dlopen(library, RTLD_NOW | RTLD_NOLOAD);
        if (handle) dlclose(handle);
        return handle != nullptr;
    };
    const std::string media = "libavformat.so." + std::to_string(LIBAVFORMAT_VERSION_MAJOR);
    EXPECT_EXIT(
        {
            if (loaded(media.c_str()) || loaded("libcurl.so.4")) std::exit(1);
            if (!ProbeMedia(MediaFixture("tagged.mp4"), "tagged.mp4").ok() || loaded(media.c_str())) std::exit(5);
            if (!ProbeMedia(MediaFixture("tagged.mkv"), "tagged.mkv").ok() || !loaded(media.c_str())) std::exit(2);
            if (loaded("libcurl.so.4")) std::exit(3);
            if (!LoadCurl().ok() || !loaded("libcurl.so.4")) std::exit(4);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(MediaProbeTest, ExtensionsOfEachContainerAnyCase) {
    TempDir dir;
    // Program streams go by four names; the case of an extension does not matter.
    for (const char* name : {"a.MPG", "a.mpeg", "a.Vob", "a.DAT"}) {
        std::filesystem::copy_file(MediaFixture("01 - Gil Park - Night Train.mpg"), dir.path() / name);
        const auto facts = ProbeMedia(dir.path() / name, name);
        ASSERT_TRUE(facts.ok()) << facts.message();
        EXPECT_EQ(facts->container, MediaContainer::MpegPs);
    }
    std::filesystem::copy_file(MediaFixture("stream.ts"), dir.path() / "stream.mpg");
    EXPECT_EQ(ProbeMedia(dir.path() / "stream.mpg", "stream.mpg")->containerText,
              "an MPEG transport stream (TS) file named .mpg");
    std::filesystem::copy_file(MediaFixture("tagged.mp3"), dir.path() / "song");
    EXPECT_EQ(ProbeMedia(dir.path() / "song", "song")->containerText, "an MP3 file without an extension");
}

TEST(MediaProbeTest, TagsOfEachContainer) {
    const auto mp4 = ProbeMedia(MediaFixture("tagged.mp4"), "tagged.mp4");
    ASSERT_TRUE(mp4.ok());
    EXPECT_EQ(FindSongNames(*mp4, "tagged.mp4"), (SongNames{"Blue Moon", "Ann Lee", "Ray Hart", ""}));
    const auto mkv = ProbeMedia(MediaFixture("tagged.mkv"), "tagged.mkv");
    ASSERT_TRUE(mkv.ok());
    EXPECT_EQ(FindSongNames(*mkv, "tagged.mkv"), (SongNames{"Red River", "Bo Chan", "Cy Ng", "Di Wu"}));
    const auto mp3 = ProbeMedia(MediaFixture("tagged.mp3"), "tagged.mp3");
    ASSERT_TRUE(mp3.ok());
    EXPECT_EQ(FindSongNames(*mp3, "tagged.mp3"), (SongNames{"Green Hill", "Eve Moss", "", ""}));
    const auto avi = ProbeMedia(MediaFixture("Artist - Title.avi"), "Artist - Title.avi");
    ASSERT_TRUE(avi.ok());
    EXPECT_EQ(FindSongNames(*avi, MediaFixture("Artist - Title.avi")), (SongNames{"Title", "Artist", "", ""}));
}

// Transport and program streams and AVI give no length for the whole file in their headers: it
// comes from the streams' own lengths or the timestamps of the first and the last packets, even
// with a megabyte of filler after the last one.
TEST(MediaProbeTest, LengthWhereTheHeadersGiveNone) {
    TempDir dir;
    WriteTransportStream(dir.path() / "padded.ts", 188 * 6000);
    const std::filesystem::path files[] = {MediaFixture("stream.ts"), MediaFixture("01 - Gil Park - Night Train.mpg"),
                                           MediaFixture("Artist - Title.avi"), dir.path() / "padded.ts"};
    for (const std::filesystem::path& file : files) {
        const auto facts = ProbeMedia(file, file.filename().string());
        ASSERT_TRUE(facts.ok()) << file << ": " << facts.message();
        // A fifth of a second of pictures; the tone's last frame may reach a little further.
        EXPECT_GE(facts->seconds, 0.19) << file;
        EXPECT_LE(facts->seconds, 0.3) << file;
    }
}

// Media made for tests by padding stays media, and random bytes named .mp4 do not.
TEST(MediaProbeTest, PaddedSamplesAreMedia) {
    TempDir dir;
    WriteMediaFile(dir.path() / "big.mp4", 3u << 20, 7);
    EXPECT_TRUE(ProbeMedia(dir.path() / "big.mp4", "big.mp4").ok());
    WriteTransportStream(dir.path() / "big.ts", 188 * 5000);
    EXPECT_TRUE(ProbeMedia(dir.path() / "big.ts", "big.ts").ok());
    std::string noise(100000, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 7919u + 13u) >> 3);
    WriteBytes(dir.path() / "noise.mp4", noise);
    EXPECT_EQ(ProbeMedia(dir.path() / "noise.mp4", "noise.mp4").message(), "noise.mp4 is not a video or audio file.");
    WriteBytes(dir.path() / "empty.mp4", std::string());
    EXPECT_FALSE(ProbeMedia(dir.path() / "empty.mp4", "empty.mp4").ok());
}

}  // namespace
}  // namespace songloader
