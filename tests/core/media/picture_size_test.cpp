// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/media/media_probe.h"
#include "core/media/player_profile.h"
#include "support/media_samples.h"

namespace songloader {
namespace {

struct Sized {
    const char* file;
    int width;
    int height;
    const char* why;  // empty: plays as it is
};

// Containers that leave the picture's size out of their headers: the size comes from the codec's
// own headers, and a picture larger than the player shows makes the file one to convert.
TEST(PictureSizeTest, SizeFromTheCodecHeadersAndItsVerdict) {
    const Sized sized[] = {
        {"mpeg2-1936x32.ts", 1936, 32, "1936x32 video"},
        {"mpeg2-32x1088.mpg", 32, 1088, "32x1088 video"},
        {"mpeg4-1936x32.mp4", 1936, 32, "1936x32 video"},
        {"h264-2560x1440.ts", 2560, 1440, "2560x1440 video"},
        {"h264-2560x1440.flv", 2560, 1440, "2560x1440 video"},
        {"h264-1920x1080.ts", 1920, 1080, ""},
        {"stream.ts", 16, 16, ""},
        {"01 - Gil Park - Night Train.mpg", 16, 16, ""},
        {"tagged.mp4", 16, 16, ""},
        {"clip.flv", 16, 16, ""},
    };
    const PlayerProfile profile = BuiltInPlayerProfile();
    for (const Sized& s : sized) {
        const auto facts = ProbeMedia(test::MediaFixture(s.file), s.file);
        ASSERT_TRUE(facts.ok()) << s.file << ": " << facts.message();
        ASSERT_FALSE(facts->streams.empty()) << s.file;
        const MediaStream& video = facts->streams.front().video ? facts->streams.front() : facts->streams.back();
        ASSERT_TRUE(video.video) << s.file;
        EXPECT_EQ(video.width, s.width) << s.file;
        EXPECT_EQ(video.height, s.height) << s.file;
        const MediaJudgement judgement = JudgeMedia(*facts, profile);
        EXPECT_EQ(judgement.why, s.why) << s.file;
        EXPECT_EQ(judgement.verdict, *s.why ? MediaVerdict::PlaysAfterConversion : MediaVerdict::Plays) << s.file;
    }
}

}  // namespace
}  // namespace songloader
