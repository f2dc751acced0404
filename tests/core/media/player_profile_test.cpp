// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/media/media_probe.h"
#include "core/media/player_profile.h"
#include "support/media_samples.h"

namespace songloader {
namespace {

struct Verdict {
    const char* file;
    const char* why;  // empty: plays as it is; null: cannot be used at all
};

// One verdict per file: plays as it is, plays after conversion (saying why), cannot be used.
TEST(PlayerProfileTest, VerdictPerFixture) {
    const Verdict verdicts[] = {
        {"tagged.mp4", ""},
        {"tagged.mkv", ""},
        {"Artist - Title.avi", ""},
        {"tagged.mp3", ""},
        {"01 - Gil Park - Night Train.mpg", ""},
        {"clip.flv", ""},
        {"stream.ts", ""},
        {"quiet.mp4", ""},
        {"clip.webm", "a WebM file, vp8 video"},
        {"vp9-opus.webm", "a WebM file, vp9 video, opus audio"},
        {"av1.mp4", "av1 video"},
        {"hevc.mkv", "hevc video"},
        {"clip.mov", "an MP4 file named .mov"},
        {"matroska-named.mp4", "a Matroska (MKV) file named .mp4"},
        {"words.mp4", nullptr},
    };
    const PlayerProfile profile = BuiltInPlayerProfile();
    for (const Verdict& v : verdicts) {
        const auto facts = ProbeMedia(test::MediaFixture(v.file), v.file);
        if (!v.why) {
            EXPECT_FALSE(facts.ok()) << v.file;
            continue;
        }
        ASSERT_TRUE(facts.ok()) << v.file << ": " << facts.message();
        const MediaJudgement judgement = JudgeMedia(*facts, profile);
        EXPECT_EQ(judgement.why, v.why) << v.file;
        EXPECT_EQ(judgement.verdict, *v.why ? MediaVerdict::PlaysAfterConversion : MediaVerdict::Plays) << v.file;
    }
}

struct Override {
    std::map<std::string, std::string> values;
    const char* refusal;  // null: taken
    const char* quiet;    // the verdict's why for quiet.mp4 (H.264 16x16, AAC-LC)
};

TEST(PlayerProfileTest, TheSettingsFileReplacesEachPart) {
    const Override overrides[] = {
        {{}, nullptr, ""},
        {{{"player-video-codecs", "mpeg4"}}, nullptr, "h264 video"},
        {{{"player-audio-codecs", " mp3 , ac3 "}}, nullptr, "aac-lc audio"},
        {{{"player-max-size", "8x8"}}, nullptr, "16x16 video"},
        {{{"player-max-size", "1920"}},
         "conf: player-max-size must be a width and height like 1920x1080, not \"1920\"",
         nullptr},
        {{{"player-max-size", "0x5"}},
         "conf: player-max-size must be a width and height like 1920x1080, not \"0x5\"",
         nullptr},
        {{{"player-video-codecs", "h264,,mpeg4"}},
         "conf: player-video-codecs must be codec names separated by commas (e.g. h264, mpeg4), not \"h264,,mpeg4\"",
         nullptr},
        {{{"player-audio-codecs", ""}},
         "conf: player-audio-codecs must be codec names separated by commas (e.g. h264, mpeg4), not \"\"",
         nullptr},
    };
    const auto facts = ProbeMedia(test::MediaFixture("quiet.mp4"), "quiet.mp4");
    ASSERT_TRUE(facts.ok());
    for (const Override& o : overrides) {
        const Result<PlayerProfile> profile = PlayerProfileFrom(o.values, "conf");
        if (o.refusal) {
            EXPECT_EQ(profile.ok() ? "" : profile.message(), o.refusal);
            continue;
        }
        ASSERT_TRUE(profile.ok()) << profile.message();
        EXPECT_EQ(JudgeMedia(*facts, *profile).why, o.quiet);
    }
}

}  // namespace
}  // namespace songloader
