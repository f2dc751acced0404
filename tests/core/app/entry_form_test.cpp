// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>

#include "dialog_fixture.h"

namespace songloader::test {
namespace {

using Form = DialogTest;

TEST_F(Form, FirstDigitMustBeNine) {
    view.Type(ControlId::Number, "8");
    dlg.OnNumberUpdate();
    EXPECT_EQ(view.MessageLog(),
              std::vector<std::string>{"Trallix Song Loader|The first digit of song number must be 9"});
    EXPECT_EQ(view.messages[0].icon, NoticeIcon::None);
    EXPECT_EQ(view.Text(ControlId::Number), "");
    EXPECT_EQ(view.focus, ControlId::Number);

    view.Type(ControlId::Number, "812");  // pasted
    dlg.OnNumberUpdate();
    EXPECT_EQ(view.Text(ControlId::Number), "12");
    EXPECT_EQ(view.messages.size(), 2u);

    view.Type(ControlId::Number, "9");
    dlg.OnNumberUpdate();
    view.Type(ControlId::Number, "");
    dlg.OnNumberUpdate();
    EXPECT_EQ(view.messages.size(), 2u);
    // The work list holds user songs: no check boxes.
    EXPECT_FALSE(view.checkBoxes[ControlId::WorkList]);
}

TEST_F(Form, RangeMessageOnlyWithADeviceChosen) {
    // No device: nothing.
    dlg.OnNumberSetFocus();
    view.Type(ControlId::Number, "91");
    dlg.OnNumberUpdate();
    dlg.OnNumberKillFocus();
    EXPECT_TRUE(view.messages.empty());

    ChooseDevice();
    dlg.OnNumberSetFocus();
    dlg.OnNumberUpdate();
    view.focus = ControlId::Title;
    dlg.OnNumberKillFocus();
    EXPECT_EQ(view.MessageLog(), std::vector<std::string>{"Note|Song number must be 900000 to 999999!"});
    EXPECT_EQ(view.focus, ControlId::Number);
    // Shown once per visit.
    dlg.OnNumberKillFocus();
    EXPECT_EQ(view.messages.size(), 1u);

    // A complete number is fine; so is an empty box.
    dlg.OnNumberSetFocus();
    view.Type(ControlId::Number, "900000");
    dlg.OnNumberKillFocus();
    view.Type(ControlId::Number, "");
    dlg.OnNumberKillFocus();
    EXPECT_EQ(view.messages.size(), 1u);
}

TEST_F(Form, RangeMessageNeedsAValidFirstDigitAndAVisit) {
    ChooseDevice();
    dlg.OnNumberSetFocus();
    view.Type(ControlId::Number, "5");
    dlg.OnNumberUpdate();  // first-digit message, box emptied
    view.Type(ControlId::Number, "1");
    dlg.OnNumberKillFocus();
    EXPECT_EQ(view.MessageLog(),
              std::vector<std::string>{"Trallix Song Loader|The first digit of song number must be 9"});

    // A system command forgets the visit.
    view.Type(ControlId::Number, "95");
    dlg.OnNumberUpdate();
    dlg.OnSysCommand(SysCommand::Other);
    dlg.OnNumberKillFocus();
    EXPECT_EQ(view.messages.size(), 1u);
}

TEST_F(Form, AutoGenerateGivesTheLowestFreeUserNumber) {
    ChooseDevice();
    dlg.OnAutoGenerate();
    EXPECT_EQ(view.Text(ControlId::Number), "900000");

    PutDeviceList({{900000, 0, "A", "", "", ""}, {900001, 0, "B", "", "", ""}, {12, 0, "C", "", "", ""}});
    ChooseDevice();
    Queue("900003", "D", MakeClip("d.mp4"));
    dlg.OnAutoGenerate();
    EXPECT_EQ(view.Text(ControlId::Number), "900002");

    PutDeviceList({{900001, 0, "B", "", "", ""}});
    ChooseDevice();
    dlg.OnAutoGenerate();
    EXPECT_EQ(view.Text(ControlId::Number), "900000");

    PutDeviceList({{900000, 0, "A", "", "", ""}, {900000, 0, "A2", "", "", ""}, {900001, 0, "B", "", "", ""}});
    ChooseDevice();
    ClearLog();
    dlg.OnAutoGenerate();
    EXPECT_EQ(view.Text(ControlId::Number), "900002");
    // Writing the number runs the number box's own check.
    EXPECT_NE(std::find(view.calls.begin(), view.calls.end(), "ShowCheckBoxes WorkList 0"), view.calls.end());
    EXPECT_TRUE(view.messages.empty());
}

// A number the device holds is never proposed, whatever the work list holds below 900000.
TEST_F(Form, AutoGenerateSkipsEveryNumberInUse) {
    PutDeviceList({{900000, 0, "A", "", "", ""}, {900001, 0, "B", "", "", ""}});
    ChooseDevice();
    Queue("123456", "Low", MakeClip("a.mp4"));
    dlg.OnAutoGenerate();
    EXPECT_EQ(view.Text(ControlId::Number), "900002");
}

// A song the builder would refuse never reaches the queue: every later rebuild would fail.
TEST_F(Form, QueueToAddRunsTheBuildersRowChecks) {
    PutDeviceList({{900000, 0, "A", "", "", ""}});
    ChooseDevice();
    Queue("900001", "Fine", MakeClip("a.mp4"));
    FillForm("900002", kUnbuildableTitle, MakeClip("b.mp4"));
    ClearLog();
    dlg.OnQueueToAdd();
    EXPECT_EQ(view.MessageLog(),
              std::vector<std::string>{"Trallix Song Loader|3have row error:Song name characters is wrong!"});
    EXPECT_EQ(dlg.workSongs().size(), 1u);
}

TEST_F(Form, BrowsePutsThePathIntoTheBoxOrAsksForAFile) {
    const auto clip = MakeClip("song.mp4");
    view.openFiles = {std::nullopt, clip.string()};
    view.Type(ControlId::MediaPath, "/old/path.mp4");
    dlg.OnBrowse();
    EXPECT_EQ(view.MessageLog(), std::vector<std::string>{"Note|Please select file"});
    EXPECT_EQ(view.Text(ControlId::MediaPath), "/old/path.mp4");
    dlg.OnBrowse();
    EXPECT_EQ(view.Text(ControlId::MediaPath), clip.string());
    ASSERT_EQ(view.fileDialogs.size(), 2u);
    EXPECT_EQ(view.fileDialogs[0].filter,
              "All Files (*.*)|*.*|MP3 Files (*.mp3)|*.mp3|MP4 Files (*.avi;*.dat;*.mp4)|*.avi;*.dat;*mp4||");
    EXPECT_EQ(view.fileDialogs[0].defaultExtension, ".mp3|.avi");
    EXPECT_TRUE(view.fileDialogs[0].mustExist);
}

TEST_F(Form, QueueToAddChecksInOrder) {
    const auto clip = MakeClip("clip.mp4");
    auto queue = [&](const std::string& number, const std::string& title, const std::string& media) {
        FillForm(number, title, media);
        view.messages.clear();
        dlg.OnQueueToAdd();
        return view.MessageLog();
    };
    using Log = std::vector<std::string>;
    // Without a device every other fault goes unmentioned.
    EXPECT_EQ(queue("12", "", "/nowhere"), Log{"ERROR|Please complete information"});
    EXPECT_EQ(view.messages[0].icon, NoticeIcon::Exclamation);

    PutDeviceList({{900500, 0, "On device", "", "", ""}});
    ChooseDevice();
    EXPECT_EQ(queue("12", "", "/nowhere"), Log{"ERROR|Invaild directory!"});
    EXPECT_EQ(queue("12", "", ""), Log{"ERROR|Invaild directory!"});
    EXPECT_EQ(queue("90012", "", clip.string()), Log{"Note|Song number?must?be?six?digit from 900000 to 999999!"});
    EXPECT_EQ(view.messages[0].icon, NoticeIcon::None);
    EXPECT_EQ(queue("900012", "", clip.string()), Log{"ERROR|Please enter song title"});
    EXPECT_EQ(queue("900012", "Title", clip.string()), Log{});
    EXPECT_EQ(queue("900012", "Again", clip.string()), Log{"ERROR|Song number is duplicate"});
    EXPECT_EQ(queue("900500", "Dup", clip.string()),
              Log{"ERROR|Song number is duplicate with existing file of device"});
    EXPECT_EQ(dlg.workSongs().size(), 1u);
    EXPECT_EQ(dlg.deviceSongs().size(), 1u);
}

TEST_F(Form, QueuedSongsAreRowsOfTheWorkList) {
    ChooseDevice();
    const auto clip = MakeClip("clip.mp4");
    FillForm("900123", "Café", clip, 1, "Ann", "Paul", "John");
    dlg.OnQueueToAdd();
    FillForm("900124", "Other", clip, -1);
    dlg.OnQueueToAdd();
    FillForm("900125", "Tagalog", clip, 0);
    dlg.OnQueueToAdd();
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(
        view.Rows(ControlId::WorkList),
        (std::vector<std::string>{"900123|EG|Café|Ann|Paul|John", "900124|Other|Other|||", "900125|OPM|Tagalog|||"}));
    // Records keep the device's bytes; the form keeps its contents.
    EXPECT_EQ(dlg.workSongs()[0].title, "Caf\xE9");
    EXPECT_EQ(dlg.workSongs()[0].mediaPath, clip.string());
    EXPECT_EQ(dlg.workSongs()[1].language, 27);
    EXPECT_EQ(view.Text(ControlId::Title), "Tagalog");
}

TEST_F(Form, TextsTheDeviceCannotStoreAreRefused) {
    ChooseDevice();
    FillForm("900123", "歌", MakeClip("clip.mp4"));
    dlg.OnQueueToAdd();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text,
              "The song's texts hold characters that the device's character set (CP1252) cannot store.");
    EXPECT_EQ(view.messages[0].caption, kApplicationName);
    EXPECT_TRUE(dlg.workSongs().empty());
}

TEST_F(Form, ClearFieldsEmptiesTheFormAndReturnsToNewSong) {
    ChooseDevice();
    Queue("900001", "Song", MakeClip("a.mp4"));
    dlg.OnWorkListDoubleClick(0);
    ASSERT_EQ(dlg.editTarget(), EditTarget::WorkList);
    view.focus = ControlId::Title;
    dlg.OnClearFields();
    for (ControlId box : {ControlId::Number, ControlId::Title, ControlId::Artist, ControlId::Composer,
                          ControlId::Lyricist, ControlId::MediaPath}) {
        EXPECT_EQ(view.Text(box), "") << static_cast<int>(box);
    }
    EXPECT_EQ(view.combos[ControlId::EntryLanguage], -1);
    EXPECT_EQ(view.focus, ControlId::Number);
    EXPECT_TRUE(view.IsEnabled(ControlId::MediaPath));
    EXPECT_TRUE(view.IsEnabled(ControlId::Browse));
    EXPECT_TRUE(view.IsEnabled(ControlId::QueueToAdd));
    EXPECT_FALSE(view.IsEnabled(ControlId::Revise));
    EXPECT_EQ(dlg.editTarget(), EditTarget::None);
    EXPECT_EQ(dlg.editRow(), -1);
    EXPECT_EQ(dlg.workSongs().size(), 1u);
}

}  // namespace
}  // namespace songloader::test
