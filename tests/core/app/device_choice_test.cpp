// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>

#include "dialog_fixture.h"

namespace songloader::test {
namespace {

using DeviceChoice = DialogTest;

const std::vector<ListEntry> kTwoSongs = {{900000, 0, "Let It Be", "Ann", "Paul", "John"},
                                          {7, 200, "Kayo", "", "", ""}};

TEST_F(DeviceChoice, AutoCheckReadsTheDeviceList) {
    PutDeviceList(kTwoSongs);
    view.Enable(ControlId::QueueToAdd, false);
    view.Enable(ControlId::ClearFields, false);
    dlg.OnAutoCheckDevice();
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(dlg.deviceRoot(), stick);
    EXPECT_EQ(dlg.songFolder(), songs());
    EXPECT_EQ(view.Text(ControlId::SongFolderText), (stick / "songs").string() + "/");
    EXPECT_EQ(view.Rows(ControlId::DeviceList),
              (std::vector<std::string>{"900000|EG|Let It Be|Ann|Paul|John", "7|Other|Kayo|||"}));
    EXPECT_EQ(Numbers(dlg.deviceSongs()), (std::vector<std::int32_t>{900000, 7}));
    EXPECT_TRUE(view.IsEnabled(ControlId::QueueToAdd));
    EXPECT_TRUE(view.IsEnabled(ControlId::ClearFields));
    EXPECT_TRUE(view.IsEnabled(ControlId::DeviceList));
    EXPECT_TRUE(view.redraw[ControlId::DeviceList]);
    EXPECT_EQ(view.progressUpper, 500);
    EXPECT_EQ(view.progressPos, 500);
    // One pumped message per entry keeps the window alive.
    EXPECT_EQ(view.pumps, 2);

    // Running it again reads the list afresh instead of adding to it.
    dlg.OnAutoCheckDevice();
    EXPECT_EQ(view.Rows(ControlId::DeviceList).size(), 2u);
    EXPECT_EQ(dlg.deviceSongs().size(), 2u);
}

TEST_F(DeviceChoice, TheReaderStepsTheProgressBarAndSwitchesRedrawingOffMeanwhile) {
    PutDeviceList(kTwoSongs);
    ClearLog();
    dlg.OnAutoCheckDevice();
    auto at = [&](const std::string& call) {
        return std::find(view.calls.begin(), view.calls.end(), call) - view.calls.begin();
    };
    EXPECT_LT(at("Enable DeviceList 0"), at("SetProgressRange 1 2"));
    EXPECT_LT(at("SetProgressRange 1 2"), at("SetRedraw DeviceList 0"));
    EXPECT_LT(at("SetRedraw DeviceList 0"), at("SetProgressPos 1"));
    EXPECT_LT(at("SetProgressPos 1"), at("SetProgressPos 2"));
    EXPECT_LT(at("SetProgressPos 2"), at("SetRedraw DeviceList 1"));
    EXPECT_LT(at("SetRedraw DeviceList 1"), at("Enable DeviceList 1"));
    EXPECT_LT(at("Enable DeviceList 1"), static_cast<long>(view.calls.size()));
}

TEST_F(DeviceChoice, NoDeviceFound) {
    PutDeviceList(kTwoSongs);
    ChooseDevice();
    drives.drives.clear();
    dlg.OnAutoCheckDevice();
    EXPECT_EQ(view.MessageLog(), std::vector<std::string>{"ERROR|Please insert device!!"});
    EXPECT_EQ(view.messages[0].icon, NoticeIcon::Exclamation);
    // The device list was emptied first; the old device stays chosen.
    EXPECT_TRUE(view.Rows(ControlId::DeviceList).empty());
    EXPECT_TRUE(dlg.deviceSongs().empty());
    EXPECT_EQ(dlg.songFolder(), songs());
}

TEST_F(DeviceChoice, ADeviceWithoutSongsGetsASongFolderAndNoMessage) {
    ASSERT_FALSE(std::filesystem::exists(songs()));
    ChooseDevice();
    EXPECT_TRUE(std::filesystem::is_directory(songs()));
    EXPECT_TRUE(view.Rows(ControlId::DeviceList).empty());
}

TEST_F(DeviceChoice, ADamagedListIsReportedAndEndsTheCommand) {
    WriteBytes(songs() / "SgList.dat", std::string("\xEC\0\0\5", 4) + std::string(16, '\0'));
    view.Enable(ControlId::AutoCheckDevice, false);
    view.Enable(ControlId::QueueToAdd, false);
    dlg.OnAutoCheckDevice();
    EXPECT_EQ(view.MessageLog(), std::vector<std::string>{"Error|Sglist File Error"});
    EXPECT_TRUE(view.IsEnabled(ControlId::AutoCheckDevice));
    EXPECT_FALSE(view.IsEnabled(ControlId::QueueToAdd));
    EXPECT_TRUE(view.IsEnabled(ControlId::DeviceList));
    EXPECT_TRUE(dlg.deviceSongs().empty());
    EXPECT_TRUE(view.Rows(ControlId::DeviceList).empty());

    WriteBytes(songs() / "SgList.dat", std::string("\xED\0\0\0", 4) + std::string(16, '\0'));
    dlg.OnAutoCheckDevice();
    EXPECT_EQ(view.MessageLog().back(), "Error|Data error ");
}

// A list that does not show the device's songs (a failed read, or one emptied for a choice that
// did not come about) never becomes the device's catalogue.
TEST_F(DeviceChoice, NoCatalogueIsWrittenFromAListThatWasNotRead) {
    PutDeviceList({{900000, 0, "Kept", "", "", ""}, {900001, 0, "Kept too", "", "", ""}});
    ChooseDevice();
    Queue("900123", "New", MakeClip("a.mp4"));
    const std::string goodList = ReadBytes(songs() / "SgList.dat");
    const std::string damaged = std::string("\xEC\0\0\5", 4) + std::string(16, '\0');
    WriteBytes(songs() / "SgList.dat", damaged);
    const std::string refused = "Trallix Song Loader|The device's song list could not be read; nothing was written.";
    struct Case {
        const char* name;
        std::function<void()> spoil;
    };
    for (const Case& c : {Case{"damaged", [&] { dlg.OnSelectDevice(); }}, Case{"picker cancelled", [&] {
                                                                                   WriteBytes(songs() / "SgList.dat",
                                                                                              goodList);
                                                                                   dlg.OnSelectDevice();
                                                                               }}}) {
        view.folders = {c.name == std::string("damaged") ? std::optional<std::string>(stick.string()) : std::nullopt};
        c.spoil();
        const std::string before = ReadBytes(songs() / "SgList.dat");
        ClearLog();
        dlg.OnAddToDevice();
        EXPECT_EQ(view.MessageLog(), std::vector<std::string>{refused}) << c.name;
        EXPECT_EQ(ReadBytes(songs() / "SgList.dat"), before) << c.name;
        EXPECT_FALSE(std::filesystem::exists(songs() / "usbsong.db")) << c.name;
        EXPECT_FALSE(std::filesystem::exists(songs() / "900" / "900123.mp4")) << c.name;
        EXPECT_EQ(dlg.workSongs().size(), 1u) << c.name;
    }
    // A list read again is the device's: writing works again.
    view.folders = {stick.string()};
    dlg.OnSelectDevice();
    ClearLog();
    dlg.OnAddToDevice();
    EXPECT_EQ(view.MessageLog(), std::vector<std::string>{"Note|Added successfully"});
    EXPECT_EQ(Numbers(DeviceCatalogue()), (std::vector<std::int32_t>{900000, 900001, 900123}));
}

TEST_F(DeviceChoice, AutoCheckEmptiesTheWorkList) {
    ChooseDevice();
    Queue("900001", "Mine", MakeClip("a.mp4"));
    ASSERT_EQ(view.Rows(ControlId::WorkList).size(), 1u);
    dlg.OnAutoCheckDevice();
    EXPECT_TRUE(dlg.workSongs().empty());
    EXPECT_TRUE(view.Rows(ControlId::WorkList).empty());
}

TEST_F(DeviceChoice, SelectAFolderInsideAVolume) {
    PutDeviceList(kTwoSongs);
    std::filesystem::create_directories(stick / "music" / "new");
    view.folders = {(stick / "music" / "new").string()};
    dlg.OnSelectDevice();
    EXPECT_EQ(view.folderTitles, std::vector<std::string>{"选择目标文件夹"});
    EXPECT_EQ(dlg.deviceRoot(), stick);
    EXPECT_EQ(dlg.songFolder(), songs());
    EXPECT_EQ(view.Rows(ControlId::DeviceList).size(), 2u);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(DeviceChoice, SelectAPlainFolder) {
    const auto folder = dir / "home" / "karaoke";
    std::filesystem::create_directories(folder);
    view.folders = {folder.string()};
    view.answers = {MessageAnswer::Yes};  // a songs folder is made there
    dlg.OnSelectDevice();
    EXPECT_EQ(dlg.deviceRoot(), folder);
    EXPECT_EQ(dlg.songFolder(), folder / "songs");
    EXPECT_TRUE(std::filesystem::is_directory(folder / "songs"));
    EXPECT_EQ(view.Text(ControlId::SongFolderText), (folder / "songs").string() + "/");
}

TEST_F(DeviceChoice, SelectKeepsTheWorkListAndUsesTheTraditionalTitleWhenAsked) {
    ChooseDevice();
    Queue("900001", "Mine", MakeClip("a.mp4"));
    view.folders = {stick.string()};
    dlg.OnSelectDevice();
    EXPECT_EQ(view.Rows(ControlId::WorkList).size(), 1u);

    FakeView otherView;
    DialogSettings traditional = settings;
    traditional.traditionalChinese = true;
    CSonquillDlg other(otherView, drives, client, traditional);
    otherView.folders = {std::nullopt};
    other.OnSelectDevice();
    EXPECT_EQ(otherView.folderTitles, std::vector<std::string>{"選擇目標文件夾"});
}

TEST_F(DeviceChoice, CancellingThePickerChangesNothingButTheEmptiedList) {
    PutDeviceList(kTwoSongs);
    ChooseDevice();
    view.folders = {std::nullopt};
    dlg.OnSelectDevice();
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(dlg.songFolder(), songs());
    EXPECT_TRUE(view.Rows(ControlId::DeviceList).empty());
}

TEST_F(DeviceChoice, AnEmptyPickedPathShowsAnEmptyBoxAndChoosesNothing) {
    view.folders = {std::string()};
    dlg.OnSelectDevice();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], (Notice{"", "", NoticeIcon::Exclamation}));
    EXPECT_TRUE(dlg.songFolder().empty());
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::current_path() / "songs"));
}

}  // namespace
}  // namespace songloader::test
