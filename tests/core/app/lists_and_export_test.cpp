// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>

#include "core/output/song_list_export.h"
#include "dialog_fixture.h"

namespace songloader::test {
namespace {

using Log = std::vector<std::string>;
using Lists = DialogTest;

TEST_F(Lists, RightClickSetsTheMenuTarget) {
    PutDeviceList({{900000, 0, "A", "", "", ""}, {900001, 0, "B", "", "", ""}});
    ChooseDevice();
    dlg.OnListRightClick(ControlId::DeviceList, 1);
    EXPECT_EQ(dlg.menuList(), ControlId::DeviceList);
    EXPECT_EQ(dlg.menuRow(), 1);
    EXPECT_TRUE(view.lastMenuDeleteEnabled);
    dlg.OnListRightClick(ControlId::WorkList, 0);  // the work list is empty
    EXPECT_EQ(dlg.menuList(), ControlId::None);
    EXPECT_EQ(dlg.menuRow(), -1);
    EXPECT_FALSE(view.lastMenuDeleteEnabled);
}

TEST_F(Lists, SelectAllWalksOnlyTheRowsOfTheLastCloudList) {
    ChooseDevice();
    Queue("900001", "A", MakeClip("a.mp4"));
    Queue("900002", "B", MakeClip("b.mp4"));
    ClearLog();
    dlg.OnSelectAll();
    EXPECT_EQ(std::count_if(view.calls.begin(), view.calls.end(),
                            [](const std::string& call) { return call.rfind("SetRowChecked", 0) == 0; }),
              0);
}

TEST_F(Lists, AClickOnTheCheckBoxOfASongNotOnTheDeviceIsLeftToTheList) {
    ChooseDevice();
    Queue("900001", "A", MakeClip("a.mp4"));
    EXPECT_FALSE(dlg.OnWorkListClick(0, true));
    EXPECT_FALSE(dlg.OnWorkListClick(0, false));
    EXPECT_FALSE(dlg.OnWorkListClick(5, true));
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(Lists, ExportWritesTheDeviceList) {
    PutDeviceList({{900000, 0, "Let It Be", "Ann", "Paul", "John"}, {7, 99, "Caf\xE9", "", "", ""}});
    ChooseDevice();
    const auto file = dir / "out" / "list.xls";
    std::filesystem::create_directories(file.parent_path());
    view.saveFiles = {file.string()};
    dlg.OnExportSongList();
    EXPECT_EQ(view.MessageLog(), Log{"Note|Export Songlist OK!"});
    EXPECT_EQ(ReadBytes(file), std::string(kExportHeaderLine) +
                                   " 900000   \t EG   \t Let It Be   \t Ann   \t Paul   \t John\t \n"
                                   " 7   \t Other   \t Caf\xE9   \t    \t    \t \t \n");
    ASSERT_EQ(view.fileDialogs.size(), 1u);
    EXPECT_EQ(view.fileDialogs[0].filter, "xls Files (*.xls)|*.xls||");
    EXPECT_EQ(view.fileDialogs[0].defaultExtension, "xls");
    EXPECT_TRUE(view.fileDialogs[0].confirmOverwrite);
}

TEST_F(Lists, ExportAddsTheDefaultExtensionAndReplacesAnOldFile) {
    ChooseDevice();
    WriteBytes(dir / "songs.xls", "an older, longer export file");
    view.saveFiles = {(dir / "songs").string()};
    dlg.OnExportSongList();
    EXPECT_EQ(ReadBytes(dir / "songs.xls"), kExportHeaderLine);
    EXPECT_FALSE(std::filesystem::exists(dir / "songs"));
}

TEST_F(Lists, ExportCancelledOrImpossible) {
    ChooseDevice();
    view.saveFiles = {std::nullopt, (dir / "no-such-folder" / "x.xls").string()};
    dlg.OnExportSongList();
    dlg.OnExportSongList();
    EXPECT_EQ(view.MessageLog(), (Log{"Note|Please save file", "Note|Cannot create the export file."}));
    EXPECT_FALSE(std::filesystem::exists(dir / "no-such-folder"));
}

}  // namespace
}  // namespace songloader::test
