// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/entry/add_queue.h"
#include "core/entry/number_rules.h"
#include "support/media_samples.h"
#include "support/temp_dir.h"

namespace songloader {
namespace {

SongList Numbers(std::initializer_list<int> numbers) {
    SongList songs;
    for (int n : numbers) {
        ROWELEMENT song;
        song.number = n;
        song.numberText = std::to_string(n);
        songs.push_back(song);
    }
    return songs;
}

TEST(NextFreeUserNumber, TakesTheLowestGapFrom900000) {
    EXPECT_EQ(NextFreeUserNumber({}, {}), 900000);
    EXPECT_EQ(NextFreeUserNumber(Numbers({900000, 900001, 900003}), {}), 900002);
    EXPECT_EQ(NextFreeUserNumber(Numbers({900001}), {}), 900000);
    EXPECT_EQ(NextFreeUserNumber(Numbers({900000, 900000, 900001}), {}), 900002);
    EXPECT_EQ(NextFreeUserNumber(Numbers({900001}), Numbers({900000})), 900002);
    EXPECT_EQ(NextFreeUserNumber(Numbers({900000, 900002}), Numbers({900001})), 900003);
}

TEST(NextFreeUserNumber, DeviceSongsBelowTheUserRangeDoNotCountButWorkSongsDo) {
    EXPECT_EQ(NextFreeUserNumber(Numbers({5, 899999, 900000}), {}), 900001);
    // A cloud song numbered below 900000 in the work list does not make a used number free.
    EXPECT_EQ(NextFreeUserNumber(Numbers({900000}), Numbers({12})), 900001);
    EXPECT_EQ(NextFreeUserNumber(Numbers({12, 900000}), Numbers({5, 900001})), 900002);
}

TEST(NextFreeUserNumber, LooksPastAnyNumberOfSongs) {
    SongList many;
    for (int n = 900000; n < 900000 + 70000; ++n) many.push_back(Numbers({n})[0]);
    EXPECT_EQ(NextFreeUserNumber(many, {}), 970000);
}

class QueueToAdd : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy_file(test::MediaFixture("tagged.mp4"), dir_ / "clip.mp4");
        form_.numberText = "900123";
        form_.languageText = "OPM[Tagalog]";
        form_.title = "Title";
        form_.artist = "Artist";
        form_.mediaPath = (dir_ / "clip.mp4").string();
    }
    std::string FirstFailure(bool deviceChosen = true, const SongList& work = {}, const SongList& device = {}) {
        const Result<ROWELEMENT> check = CheckQueueToAdd(form_, deviceChosen, work, device);
        return check ? "" : check.failure().caption + ": " + check.message();
    }
    test::TempDir dir_;
    EntryForm form_;
};

TEST_F(QueueToAdd, AcceptsACompleteForm) {
    const Result<ROWELEMENT> check = CheckQueueToAdd(form_, true, {}, {});
    ASSERT_TRUE(check) << check.message();
    EXPECT_EQ(check->number, 900123);
    EXPECT_EQ(check->numberText, "900123");
    EXPECT_EQ(check->language, 6);
    EXPECT_EQ(check->languageText, "OPM");
    EXPECT_EQ(check->title, "Title");
    EXPECT_EQ(check->mediaPath, form_.mediaPath);
    form_.languageText = "";
    const Result<ROWELEMENT> other = CheckQueueToAdd(form_, true, {}, {});
    ASSERT_TRUE(other);
    EXPECT_EQ(other->languageText, "Other");
}

TEST_F(QueueToAdd, EachCheckHasItsMessageInOrder) {
    EXPECT_EQ(FirstFailure(false), "ERROR: Please complete information");
    form_.title = "";
    form_.numberText = "12";
    form_.mediaPath = (dir_ / "missing.mp4").string();
    EXPECT_EQ(FirstFailure(false), "ERROR: Please complete information");
    EXPECT_EQ(FirstFailure(), "ERROR: Invaild directory!");
    form_.mediaPath = "";
    EXPECT_EQ(FirstFailure(), "ERROR: Invaild directory!");
    form_.mediaPath = dir_.path().string();  // a folder passes the existence check
    EXPECT_EQ(FirstFailure(), "Note: Song number?must?be?six?digit from 900000 to 999999!");
    for (const char* number : {"9001234", "90012a", "900 12", ""}) {
        form_.numberText = number;
        EXPECT_EQ(FirstFailure(), "Note: Song number?must?be?six?digit from 900000 to 999999!") << number;
    }
    form_.numberText = "123456";  // first digit and range are not checked again
    EXPECT_EQ(FirstFailure(), "ERROR: Please enter song title");
    form_.title = "T";
    // Last, the file itself: a folder or a file the player cannot play is never queued.
    EXPECT_EQ(FirstFailure(), "ERROR: " + dir_.path().string() + " is not a video or audio file.");
    form_.mediaPath = (dir_ / "clip.mp4").string();
    EXPECT_EQ(FirstFailure(), "");
    form_.numberText = "900123";
    EXPECT_EQ(FirstFailure(true, Numbers({900123}), Numbers({900123})), "ERROR: Song number is duplicate");
    EXPECT_EQ(FirstFailure(true, Numbers({1}), Numbers({900123})),
              "ERROR: Song number is duplicate with existing file of device");
    test::WriteBytes(dir_ / "words.mp4", "These are the words of the song.\n");
    form_.mediaPath = (dir_ / "words.mp4").string();
    EXPECT_EQ(FirstFailure(), "ERROR: " + form_.mediaPath + " is not a video or audio file.");
    // A file that plays after conversion is queued: the window asks about converting it.
    std::filesystem::copy_file(test::MediaFixture("clip.webm"), dir_ / "clip.mkv");
    form_.mediaPath = (dir_ / "clip.mkv").string();
    EXPECT_EQ(FirstFailure(), "");
}

// The builder's row checks, with the row the song will take in the device's list.
TEST(CheckSongRow, GivesTheBuildersMessageForTheSongsRow) {
    ROWELEMENT song{900123, "900123", 0, "EG", "Fine", "", "", "", ""};
    EXPECT_TRUE(CheckSongRow(song, 7));
    std::string words;
    for (int i = 0; i < 53; ++i) words += "a ";
    song.title = words;
    const Result<> refused = CheckSongRow(song, 7);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.message(), "7have row error:Song name characters is wrong!");
    EXPECT_EQ(refused.failure().caption, kApplicationName);
}

TEST_F(QueueToAdd, ErrorsCarryTheExclamationIconAndNotesNone) {
    const Result<ROWELEMENT> error = CheckQueueToAdd(form_, false, {}, {});
    ASSERT_FALSE(error);
    EXPECT_EQ(error.failure().icon, NoticeIcon::Exclamation);
    form_.numberText = "9";
    const Result<ROWELEMENT> note = CheckQueueToAdd(form_, true, {}, {});
    ASSERT_FALSE(note);
    EXPECT_EQ(note.failure().icon, NoticeIcon::None);
}

}  // namespace
}  // namespace songloader
