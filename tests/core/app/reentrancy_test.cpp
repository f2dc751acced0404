// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialog_fixture.h"

namespace songloader::test {
namespace {

using Reentrancy = DialogTest;
using Log = std::vector<std::string>;

// Clicks that reach the window while a command pumps messages must not start other commands.
TEST_F(Reentrancy, CommandsArrivingWhileAnotherRunsAreIgnored) {
    PutDeviceList({{900000, 0, "Let It Be", "Ann", "", ""}});
    ChooseDevice();
    Queue("900123", "Big", MakeClip("big.mp4", 3 * 1048576));
    Queue("900124", "Small", MakeClip("small.mp4"));
    ClearLog();

    int nested = 0;
    view.onPump = [&] {
        ++nested;
        dlg.OnAddToDevice();
        dlg.OnAutoCheckDevice();
        dlg.OnListRightClick(ControlId::DeviceList, 0);
        dlg.OnDeleteSong();
        dlg.OnDeviceListDoubleClick(0);
        dlg.OnClearFields();
    };
    dlg.OnAddToDevice();
    view.onPump = nullptr;

    EXPECT_GT(nested, 3);
    EXPECT_EQ(view.MessageLog(), Log{"Note|Added successfully"});
    EXPECT_FALSE(view.closed);
    EXPECT_EQ(view.contextMenus, 0);
    EXPECT_EQ(dlg.editTarget(), EditTarget::None);
    EXPECT_EQ(Numbers(DeviceCatalogue()), (std::vector<std::int32_t>{900000, 900123, 900124}));
    EXPECT_EQ(view.Rows(ControlId::DeviceList).size(), 3u);

    // Once the command has ended, commands run again.
    dlg.OnListRightClick(ControlId::DeviceList, 0);
    EXPECT_EQ(view.contextMenus, 1);
}

TEST_F(Reentrancy, MessagesShownByACommandDoNotLetAnotherStart) {
    ChooseDevice();
    view.onMessage = [&](const Notice&) { dlg.OnAutoGenerate(); };
    view.Type(ControlId::Number, "");
    dlg.OnQueueToAdd();  // shows "Invaild directory!"
    EXPECT_EQ(view.Text(ControlId::Number), "");
}

}  // namespace
}  // namespace songloader::test
