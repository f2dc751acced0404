// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "dialog_fixture.h"

namespace songloader::test {
namespace {

using StartUp = DialogTest;

TEST_F(StartUp, InitialState) {
    EXPECT_EQ(view.progressLower, 1);
    EXPECT_EQ(view.progressUpper, 500);
    EXPECT_EQ(view.progressPos, 1);  // empty: a full bar would read as work done
    EXPECT_FALSE(view.IsEnabled(ControlId::Revise));
    EXPECT_FALSE(view.IsEnabled(ControlId::SelectAll));
    EXPECT_FALSE(view.IsEnabled(ControlId::ExportSongList));
    EXPECT_EQ(view.combos[ControlId::SearchLanguage], 0);
    EXPECT_EQ(view.Text(ControlId::SearchBox), "by title or artist.");
    EXPECT_TRUE(view.timerRunning);
    EXPECT_EQ(view.timerPeriod, 40);
    EXPECT_FALSE(view.checkBoxes[ControlId::WorkList]);
    EXPECT_EQ(dlg.editTarget(), EditTarget::None);
    EXPECT_EQ(dlg.editRow(), -1);
    EXPECT_EQ(dlg.menuList(), ControlId::None);
    EXPECT_EQ(dlg.menuRow(), -1);
    EXPECT_TRUE(dlg.songFolder().empty());
    EXPECT_FALSE(dlg.cloudListShown());
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(StartUp, TimerDisablesTheOutputCommandsWhileTheDeviceListIsEmpty) {
    for (ControlId output : {ControlId::Print, ControlId::PrintPreview, ControlId::ExportSongList}) {
        view.Enable(output, true);
    }
    dlg.OnTimer();
    EXPECT_FALSE(view.IsEnabled(ControlId::Print));
    EXPECT_FALSE(view.IsEnabled(ControlId::PrintPreview));
    EXPECT_FALSE(view.IsEnabled(ControlId::ExportSongList));

    // Auto-Check enables Print Preview; with no songs on the device it is off again at its end.
    ChooseDevice();
    EXPECT_FALSE(view.IsEnabled(ControlId::PrintPreview));

    // Reading a device with songs turns all three on; the timer leaves them so and never enables.
    PutDeviceList({{900001, 0, "Song", "", "", ""}});
    ChooseDevice();
    for (ControlId output : {ControlId::Print, ControlId::PrintPreview, ControlId::ExportSongList}) {
        EXPECT_TRUE(view.IsEnabled(output));
    }
    view.Enable(ControlId::Print, false);
    dlg.OnTimer();
    EXPECT_FALSE(view.IsEnabled(ControlId::Print));
    EXPECT_TRUE(view.IsEnabled(ControlId::ExportSongList));
}

TEST_F(StartUp, SearchBoxPlaceholderInAndOutOfFocus) {
    dlg.OnSearchSetFocus();
    EXPECT_EQ(view.Text(ControlId::SearchBox), "");
    dlg.OnSearchKillFocus();
    EXPECT_EQ(view.Text(ControlId::SearchBox), "by title or artist.");

    view.Type(ControlId::SearchBox, "lo");
    dlg.OnSearchSetFocus();
    dlg.OnSearchKillFocus();
    EXPECT_EQ(view.Text(ControlId::SearchBox), "lo");
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(StartUp, EnterDoesNothing) {
    ClearLog();
    dlg.OnOk();
    EXPECT_TRUE(view.calls.empty());
    EXPECT_FALSE(view.closed);
}

TEST_F(StartUp, SystemCommands) {
    EXPECT_TRUE(dlg.OnSysCommand(SysCommand::About));
    EXPECT_EQ(view.abouts, 1);
    dlg.OnAbout();
    EXPECT_EQ(view.abouts, 2);
    EXPECT_TRUE(dlg.OnSysCommand(SysCommand::ContextHelp));
    EXPECT_EQ(view.helps, 1);
    EXPECT_FALSE(dlg.OnSysCommand(SysCommand::Other));  // minimising is the window's own business
    EXPECT_FALSE(view.closed);

    EXPECT_TRUE(dlg.OnSysCommand(SysCommand::Close));
    EXPECT_TRUE(view.closed);
    EXPECT_TRUE(view.messages.empty());
}

// Two songs copied to the device whose catalogue could not be written because the stick went;
// it is back before the window closes: they stay pending.
class Closing : public DialogTest {
protected:
    void SetUp() override {
        PutDeviceList({{900000, 0, "Fine before", "", "", ""}});
        ChooseDevice();
        Queue("900001", "Fine", MakeClip("a.mp4"));
        Queue("900002", "Fine too", MakeClip("b.mkv"));
        first = songs() / "900" / "900001.mp4";
        second = songs() / "900" / "900002.mkv";
        PullStickWhenCopied({first, second}, dir / "pulled");
        dlg.OnAddToDevice();
        view.onPump = {};
        PutStickBack(dir / "pulled");
        ASSERT_EQ(dlg.pendingCopies().size(), 2u);
        ASSERT_TRUE(std::filesystem::exists(first));
        ASSERT_TRUE(std::filesystem::exists(second));
        ClearLog();
    }
    std::filesystem::path first, second;
};

TEST_F(Closing, NoKeepsTheWindowAndTheFiles) {
    view.answers = {MessageAnswer::No};
    dlg.OnSysCommand(SysCommand::Close);
    EXPECT_EQ(view.MessageLog(), std::vector<std::string>{"Note|Exit without adding any song?"});
    EXPECT_FALSE(view.closed);
    EXPECT_TRUE(view.timerRunning);
    EXPECT_TRUE(std::filesystem::exists(first));
    EXPECT_TRUE(std::filesystem::exists(second));
    EXPECT_EQ(dlg.pendingCopies().size(), 2u);
}

TEST_F(Closing, YesDeletesThePendingFilesAndCloses) {
    view.answers = {MessageAnswer::Yes};
    dlg.OnSysCommand(SysCommand::Close);
    EXPECT_TRUE(view.closed);
    EXPECT_FALSE(view.timerRunning);
    EXPECT_FALSE(std::filesystem::exists(first));
    EXPECT_FALSE(std::filesystem::exists(second));
    EXPECT_TRUE(dlg.pendingCopies().empty());
    EXPECT_EQ(view.progressUpper, 3);
    EXPECT_EQ(view.progressPos, 3);
}

TEST_F(Closing, EscapeAsksTheSameQuestion) {
    dlg.OnClearFields();  // Escape leaves a window alone while its form holds anything
    view.answers = {MessageAnswer::No, MessageAnswer::Yes};
    dlg.OnCancel();
    EXPECT_FALSE(view.closed);
    EXPECT_TRUE(std::filesystem::exists(first));
    dlg.OnCancel();
    EXPECT_TRUE(view.closed);
    EXPECT_FALSE(std::filesystem::exists(first));
    EXPECT_FALSE(std::filesystem::exists(second));
    EXPECT_EQ(view.MessageLog(),
              (std::vector<std::string>{"Note|Exit without adding any song?", "Note|Exit without adding any song?"}));
}

TEST_F(Closing, AFileAlreadyGoneDoesNotStopTheOthers) {
    std::filesystem::remove(first);
    view.answers = {MessageAnswer::Yes};
    dlg.OnSysCommand(SysCommand::Close);
    EXPECT_TRUE(view.closed);
    EXPECT_FALSE(std::filesystem::exists(second));
}

// Songs queued in the work list but not added are asked about on every way of closing; the answer
// No keeps the window and the queue.
TEST_F(StartUp, QueuedSongsAreAskedAboutOnEveryClose) {
    const std::string question = "Note|The queued songs have not been added to the USB drive. Exit anyway?";
    struct Case {
        const char* name;
        std::function<void(CSonquillDlg&)> close;
    };
    const std::vector<Case> cases = {
        {"close box / system close", [](CSonquillDlg& d) { d.OnSysCommand(SysCommand::Close); }},
        {"Ctrl+Q", [](CSonquillDlg& d) { d.OnSysCommand(SysCommand::Close); }},
    };
    ChooseDevice();
    Queue("900001", "Mine", MakeClip("a.mp4"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearLog();
        view.answers = {MessageAnswer::No};
        c.close(dlg);
        EXPECT_EQ(view.MessageLog(), std::vector<std::string>{question});
        EXPECT_FALSE(view.closed);
        EXPECT_EQ(dlg.workSongs().size(), 1u);
    }
    ClearLog();
    view.answers = {MessageAnswer::Yes};
    dlg.OnSysCommand(SysCommand::Close);
    EXPECT_EQ(view.MessageLog(), std::vector<std::string>{question});
    EXPECT_TRUE(view.closed);
}

TEST_F(StartUp, EscapeWithNothingPendingClosesAtOnce) {
    dlg.OnCancel();
    EXPECT_TRUE(view.closed);
    EXPECT_TRUE(view.messages.empty());
}

}  // namespace
}  // namespace songloader::test
