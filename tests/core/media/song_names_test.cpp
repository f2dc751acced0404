// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/media/song_names.h"

namespace songloader {
namespace {

struct NameCase {
    const char* stem;
    const char* artist;
    const char* title;
};

// The rules run in their order: underscores, spaces, track number, then the split.
TEST(SongNamesTest, FileNameRulesInTheirOrder) {
    const NameCase cases[] = {
        {"Ann Lee - Blue Moon", "Ann Lee", "Blue Moon"},
        {"Ann_Lee_-_Blue_Moon", "Ann Lee", "Blue Moon"},
        {"Ann   Lee  -  Blue   Moon", "Ann Lee", "Blue Moon"},
        {"01 Ann Lee - Blue Moon", "Ann Lee", "Blue Moon"},
        {"01. Ann Lee - Blue Moon", "Ann Lee", "Blue Moon"},
        {"01 - Ann Lee - Blue Moon", "Ann Lee", "Blue Moon"},
        {"07_-_Blue_Moon", "", "Blue Moon"},
        {"Ann Lee - Blue Moon - Live", "Ann Lee", "Blue Moon - Live"},
        {"Blue Moon", "", "Blue Moon"},
        {"Blue-Moon", "", "Blue-Moon"},
        {"  Blue Moon  ", "", "Blue Moon"},
        {"1999 - Prince Hall", "1999", "Prince Hall"},
        {"01", "", "01"},
        {"99 Red Balloons", "", "Red Balloons"},
        {"01.Blue Moon", "", "01.Blue Moon"},
        {"Ann Lee -", "", "Ann Lee -"},
    };
    for (const NameCase& c : cases) {
        const SongNames names = NamesFromFileName(c.stem);
        EXPECT_EQ(names.artist, c.artist) << c.stem;
        EXPECT_EQ(names.title, c.title) << c.stem;
    }
}

TEST(SongNamesTest, TagsWinFieldByField) {
    MediaFacts facts;
    facts.title = "Tagged Title";
    facts.composer = "Cy Ng";
    const SongNames names = FindSongNames(facts, "/music/02 - Ann Lee - Blue Moon.mp4");
    EXPECT_EQ(names, (SongNames{"Tagged Title", "Ann Lee", "Cy Ng", ""}));
}

}  // namespace
}  // namespace songloader
