// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/media/media_probe.h"
#include "core/media/player_profile.h"
#include "support/media_samples.h"
#include "dialog_fixture.h"

namespace songloader::test {
namespace {

using QueueDroppedFiles = DialogTest;
using Log = std::vector<std::string>;
namespace fs = std::filesystem;

// Dropped folders are walked; media files are queued with the names found for them, the entry
// language and the next free numbers, and the files left out are named in one message box.
TEST_F(QueueDroppedFiles, QueuesMediaAndNamesTheRest) {
    PutDeviceList({{900000, 0, "Let It Be", "Ann", "", ""}});
    PutDeviceMedia("900000", ".mp4");
    ChooseDevice();
    fs::create_directories(dir / "drop/sub");
    fs::copy_file(MediaFixture("tagged.mp4"), dir / "drop/a.mp4");
    fs::copy_file(MediaFixture("Artist - Title.avi"), dir / "drop/sub/Artist - Title.avi");
    fs::copy_file(MediaFixture("words.mp4"), dir / "drop/words.mp4");
    ClearLog();

    view.Pick(ControlId::EntryLanguage, 1);
    dlg.OnDropFiles({(dir / "drop").string()});
    EXPECT_EQ(view.Rows(ControlId::WorkList),
              (Log{"900001|EG|Blue Moon|Ann Lee|Ray Hart|", "900002|EG|Title|Artist||"}));
    ASSERT_EQ(dlg.workSongs().size(), 2u);
    EXPECT_EQ(dlg.workSongs()[1].mediaPath, (dir / "drop/sub/Artist - Title.avi").string());
    EXPECT_EQ(view.MessageLog(), (Log{"Note|These files were not queued:\n" + (dir / "drop/words.mp4").string() +
                                      " is not a video or audio file."}));

    // The same song again: a question, and No leaves it out without a second box.
    ClearLog();
    view.answers.push_back(MessageAnswer::No);
    dlg.OnDropFiles({(dir / "drop/a.mp4").string()});
    EXPECT_EQ(view.MessageLog(), (Log{"Note|These files repeat songs already on the USB drive or in the list:\n" +
                                      (dir / "drop/a.mp4").string() + ": the same song as " +
                                      (dir / "drop/a.mp4").string() + "\n\nQueue them anyway?"}));
    EXPECT_EQ(dlg.workSongs().size(), 2u);

    // Queued songs go onto the device as any queued song does.
    ClearLog();
    dlg.OnAddToDevice();
    EXPECT_EQ(view.MessageLog(), Log{"Note|Added successfully"});
    EXPECT_EQ(Numbers(DeviceCatalogue()), (std::vector<std::int32_t>{900000, 900001, 900002}));
    EXPECT_EQ(ReadBytes(songs() / "900" / "900002.avi"), ReadBytes(dir / "drop/sub/Artist - Title.avi"));
}

// Files the player plays only after conversion: one question for the batch (No by default); those
// agreed to are converted on their way onto the device.
TEST_F(QueueDroppedFiles, AsksOnceBeforeQueueingFilesToConvert) {
    ChooseDevice();
    fs::copy_file(MediaFixture("vp9-opus.webm"), dir / "a.webm");
    fs::copy_file(MediaFixture("clip.mov"), dir / "b.mov");
    fs::copy_file(MediaFixture("tagged.mp4"), dir / "c.mp4");
    view.Pick(ControlId::EntryLanguage, 1);
    ClearLog();
    view.answers.push_back(MessageAnswer::No);
    dlg.OnDropFiles({(dir / "a.webm").string(), (dir / "b.mov").string(), (dir / "c.mp4").string()});
    const Log question{"Note|2 files must be converted first; this takes about 1 minutes. Convert them?"};
    EXPECT_EQ(view.MessageLog(), question);
    EXPECT_EQ(view.Rows(ControlId::WorkList), (Log{"900000|EG|Blue Moon|Ann Lee|Ray Hart|"}));

    ClearLog();
    view.answers.push_back(MessageAnswer::Yes);
    dlg.OnDropFiles({(dir / "a.webm").string(), (dir / "b.mov").string()});
    EXPECT_EQ(view.MessageLog(), question);
    EXPECT_EQ(view.Rows(ControlId::WorkList), (Log{"900000|EG|Blue Moon|Ann Lee|Ray Hart|",
                                                   "900001|EG|Gray Sky|Fay Lim||", "900002|EG|White Bay|Ivy Ko||"}));
    ClearLog();
    dlg.OnAddToDevice();
    EXPECT_EQ(view.MessageLog(), Log{"Note|Added successfully"});
    EXPECT_EQ(ReadBytes(songs() / "900" / "900000.mp4"), ReadBytes(dir / "c.mp4"));
    for (const char* converted : {"900001.mp4", "900002.mp4"}) {
        const auto facts = ProbeMedia(songs() / "900" / converted, converted);
        ASSERT_TRUE(facts.ok()) << facts.message();
        EXPECT_EQ(JudgeMedia(*facts, BuiltInPlayerProfile()).why, "") << converted;
    }
}

TEST_F(QueueDroppedFiles, NeedsALanguageFirst) {
    ChooseDevice();
    fs::copy_file(MediaFixture("tagged.mp4"), dir / "a.mp4");
    ClearLog();
    view.Pick(ControlId::EntryLanguage, -1);
    dlg.OnDropFiles({(dir / "a.mp4").string()});
    EXPECT_EQ(view.MessageLog(), Log{"Note|Please choose a language first."});
    EXPECT_TRUE(dlg.workSongs().empty());
}

// Several files chosen in "Browse" are queued the same way; one file still goes into the form.
TEST_F(QueueDroppedFiles, SeveralFilesFromBrowse) {
    ChooseDevice();
    fs::copy_file(MediaFixture("tagged.mp3"), dir / "a.mp3");
    fs::copy_file(MediaFixture("tagged.mkv"), dir / "b.mkv");
    view.Pick(ControlId::EntryLanguage, 0);
    view.openFileLists.push_back({(dir / "b.mkv").string(), (dir / "a.mp3").string()});
    dlg.OnBrowse();
    EXPECT_EQ(view.Rows(ControlId::WorkList),
              (Log{"900000|OPM|Green Hill|Eve Moss||", "900001|OPM|Red River|Bo Chan|Cy Ng|Di Wu"}));
    view.openFiles.push_back((dir / "a.mp3").string());
    dlg.OnBrowse();
    EXPECT_EQ(view.Text(ControlId::MediaPath), (dir / "a.mp3").string());
    EXPECT_EQ(dlg.workSongs().size(), 2u);
}

// Closing the window while a batch is copied stops it after the current file; the songs copied by
// then are catalogued, the rest stay queued.
TEST_F(QueueDroppedFiles, ClosingStopsTheBatchAfterTheCurrentFile) {
    ChooseDevice();
    Queue("900001", "One", MakeClip("one.mp4", 2 * 1048576));
    Queue("900002", "Two", MakeClip("two.mp4", 2 * 1048576));
    bool asked = false;
    view.onPump = [&] {
        if (!asked) {
            asked = true;
            dlg.OnSysCommand(SysCommand::Close);
        }
    };
    view.answers = {MessageAnswer::Yes, MessageAnswer::Yes, MessageAnswer::Yes};
    dlg.OnAddToDevice();
    view.onPump = nullptr;
    EXPECT_EQ(Numbers(DeviceCatalogue()), (std::vector<std::int32_t>{900001}));
    EXPECT_TRUE(std::filesystem::exists(songs() / "900" / "900001.mp4"));
    EXPECT_FALSE(std::filesystem::exists(songs() / "900" / "900002.mp4"));
}

}  // namespace
}  // namespace songloader::test
