// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/catalogue/numbered_song_list.h"

namespace songloader {
namespace {

ROWELEMENT Song(std::int32_t number) {
    ROWELEMENT song;
    song.number = number;
    song.numberText = std::to_string(number);
    return song;
}

// One change to the list: what it does and on which row.
struct Step {
    enum Kind { Append, Insert, Erase, Replace, Clear } kind;
    std::size_t row = 0;
    std::int32_t number = 0;
};

void Apply(NumberedSongList& list, const Step& step) {
    switch (step.kind) {
        case Step::Append: list.Append(Song(step.number)); break;
        case Step::Insert: list.Insert(step.row, Song(step.number)); break;
        case Step::Erase: list.Erase(step.row); break;
        case Step::Replace: list.Replace(step.row, Song(step.number)); break;
        case Step::Clear: list.Clear(); break;
    }
}

// After every step the set answers exactly what a walk over the list answers, for the numbers
// the list holds, held and never held.
TEST(NumberedSongList, NumberSetStaysInStepWithTheList) {
    struct Case {
        const char* label;
        std::vector<Step> steps;
    };
    const std::vector<Case> cases = {
        {"read a list", {{Step::Append, 0, 5}, {Step::Append, 0, 900001}, {Step::Append, 0, 7}}},
        {"delete the only song with a number", {{Step::Append, 0, 5}, {Step::Append, 0, 7}, {Step::Erase, 0}}},
        {"delete one of two songs sharing a number", {{Step::Append, 0, 5}, {Step::Append, 0, 5}, {Step::Erase, 1}}},
        {"delete, then put back on failure",
         {{Step::Append, 0, 5}, {Step::Append, 0, 7}, {Step::Erase, 0}, {Step::Insert, 0, 5}}},
        {"revise a number", {{Step::Append, 0, 5}, {Step::Append, 0, 7}, {Step::Replace, 1, 8}}},
        {"revise, then put the old song back", {{Step::Append, 0, 5}, {Step::Replace, 0, 6}, {Step::Replace, 0, 5}}},
        {"revise into a number another row holds",
         {{Step::Append, 0, 5}, {Step::Append, 0, 7}, {Step::Replace, 1, 5}, {Step::Erase, 0}}},
        {"revise keeping the number", {{Step::Append, 0, 5}, {Step::Replace, 0, 5}}},
        {"clear and read again", {{Step::Append, 0, 5}, {Step::Clear}, {Step::Append, 0, 7}}},
        {"numbers beyond six digits, held twice",
         {{Step::Append, 0, 1234567},
          {Step::Append, 0, 1234567},
          {Step::Append, 0, -3},
          {Step::Erase, 0},
          {Step::Erase, 1},
          {Step::Erase, 0}}},
        {"six-digit number held three times",
         {{Step::Append, 0, 999999},
          {Step::Insert, 0, 999999},
          {Step::Append, 0, 999999},
          {Step::Erase, 1},
          {Step::Replace, 0, 0},
          {Step::Erase, 1}}},
    };
    for (const Case& c : cases) {
        NumberedSongList list;
        std::vector<std::int32_t> seen;
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            Apply(list, c.steps[i]);
            seen.push_back(c.steps[i].number);
            seen.push_back(-1);
            for (std::int32_t number : seen) {
                const bool walked = std::any_of(list.begin(), list.end(),
                                                [&](const ROWELEMENT& song) { return song.number == number; });
                EXPECT_EQ(list.Contains(number), walked) << c.label << ", step " << i << ", number " << number;
            }
        }
    }
}

TEST(SongNumberSet, BuiltFromAListAnswersForEachSong) {
    const SongList songs = {Song(5), Song(900001), Song(7), Song(1000000)};
    const SongNumberSet set(songs);
    EXPECT_TRUE(set.Contains(900001));
    EXPECT_TRUE(set.Contains(7));
    EXPECT_TRUE(set.Contains(1000000));
    EXPECT_FALSE(set.Contains(6));
    EXPECT_FALSE(SongNumberSet().Contains(0));
}

}  // namespace
}  // namespace songloader
