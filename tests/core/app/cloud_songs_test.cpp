// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>

#include "dialog_fixture.h"

namespace songloader::test {
namespace {

using Log = std::vector<std::string>;

class CloudSongs : public DialogTest {
protected:
    void SetUp() override {
        PublishCloud({{890000, 0, "Video", "Vee"}, {900001, 0, "Alpha", "Ann"}, {12, 6, "Beta", "Bob"}});
        PutDeviceList({{900001, 0, "Alpha", "Ann", "", ""}, {900500, 2, "Mine", "", "", ""}});
    }
    std::size_t Heads() const { return server.CountRequests("HEAD", "/MgList.dat"); }
    std::size_t Gets(const std::string& path) const { return server.CountRequests("GET", path); }
    long At(const std::string& call) const {
        return std::find(view.calls.begin(), view.calls.end(), call) - view.calls.begin();
    }
};

TEST_F(CloudSongs, TimersDuringTheDownloadLeaveTheOutputCommandsAlone) {
    ChooseDevice();
    ClearLog();
    // The window's timer runs while the catalogue downloads, with the device list being re-read.
    view.onWork = [&] { dlg.OnTimer(); };
    dlg.OnCloudSongs();
    EXPECT_EQ(At("Enable PrintPreview 0"), static_cast<long>(view.calls.size()));
    EXPECT_TRUE(view.IsEnabled(ControlId::PrintPreview));
    EXPECT_TRUE(view.IsEnabled(ControlId::ExportSongList));
}

TEST_F(CloudSongs, FetchesTheCatalogueAndShowsItWithTheDeviceSongsMarked) {
    dlg.OnCloudSongs();
    EXPECT_EQ(view.MessageLog(), Log{"Note|check cloud database ok"});
    EXPECT_EQ(Heads(), 1u);
    // The device was found on the way.
    EXPECT_EQ(dlg.songFolder(), songs());
    EXPECT_EQ(ReadBytes(songs() / "MgList.dat"), ReadBytes(cloud / "MgList.dat"));
    EXPECT_EQ(ReadBytes(songs() / "Msong.db"), ReadBytes(cloud / "Msong.db"));

    EXPECT_EQ(view.Rows(ControlId::DeviceList), (Log{"900001|EG|Alpha|Ann||", "900500|ES|Mine|||"}));
    EXPECT_EQ(view.Rows(ControlId::WorkList),
              (Log{"890000|EG|Video(MV)|Vee||", "900001|EG|Alpha|Ann||", "12|OPM|Beta|Bob||"}));
    EXPECT_EQ(view.Checks(ControlId::WorkList), (std::vector<bool>{false, false, false}));
    EXPECT_TRUE(view.rows[ControlId::WorkList][1].onDevice);
    EXPECT_TRUE(view.rows[ControlId::WorkList][1].selected);
    EXPECT_FALSE(view.rows[ControlId::WorkList][0].selected);
    EXPECT_TRUE(view.checkBoxes[ControlId::WorkList]);
    EXPECT_TRUE(dlg.cloudListShown());
    EXPECT_TRUE(view.IsEnabled(ControlId::SelectAll));
    EXPECT_TRUE(view.IsEnabled(ControlId::CloudSongs));
    EXPECT_TRUE(view.IsEnabled(ControlId::WorkList));
    EXPECT_EQ(view.progressUpper, 500);
    EXPECT_EQ(view.progressPos, 500);

    // Order: the button is off for the command, the device list is read before the cloud list.
    EXPECT_LT(At("Enable CloudSongs 0"), At("InsertRow DeviceList 0 900001|EG|Alpha|Ann||"));
    EXPECT_LT(At("InsertRow DeviceList 1 900500|ES|Mine|||"), At("InsertRow WorkList 0 890000|EG|Video(MV)|Vee||"));
    EXPECT_LT(At("InsertRow WorkList 2 12|OPM|Beta|Bob||"), At("Enable CloudSongs 1"));
}

TEST_F(CloudSongs, RunningItTwiceGivesTheSameLists) {
    SyncCloud();
    const Log work = view.Rows(ControlId::WorkList);
    const Log device = view.Rows(ControlId::DeviceList);
    SyncCloud();
    EXPECT_EQ(view.Rows(ControlId::WorkList), work);
    EXPECT_EQ(view.Rows(ControlId::DeviceList), device);
    EXPECT_EQ(Gets("/MgList.dat"), 2u);
}

// A cancelled download leaves no cancel request behind for the next one.
TEST_F(CloudSongs, WorksAfterACancelledSongOrMidiFile) {
    WriteBytes(cloud / "230midisglist.dat", std::string(3000, 'l'));
    struct Case {
        const char* name;
        std::function<void()> cancelled;
    };
    for (const Case& c : {Case{"song",
                               [&] {
                                   SyncCloud();
                                   view.Tick(ControlId::WorkList, 0);
                                   dlg.OnAddToDevice();
                               }},
                          Case{"midi", [&] { dlg.OnCloudMidi(); }}}) {
        view.onTransfer = [](DownloadProgress& running) { running.RequestCancel(); };
        c.cancelled();
        view.onTransfer = nullptr;
        ClearLog();
        SyncCloud();
        EXPECT_FALSE(HasFailure()) << c.name;
    }
}

TEST_F(CloudSongs, NoNetwork) {
    server.SetBehaviour("MgList.dat", PathBehaviour{.headWithoutLength = true});
    dlg.OnCloudSongs();
    EXPECT_EQ(view.MessageLog(), Log{"ERROR|Please check network!!"});
    EXPECT_EQ(view.messages[0].icon, NoticeIcon::Exclamation);
    EXPECT_EQ(Heads(), 2u);
    EXPECT_EQ(Gets("/MgList.dat"), 0u);
    EXPECT_TRUE(dlg.songFolder().empty());
    EXPECT_TRUE(view.IsEnabled(ControlId::CloudSongs));
}

TEST_F(CloudSongs, NoDevice) {
    drives.drives.clear();
    dlg.OnCloudSongs();
    EXPECT_EQ(view.MessageLog(), Log{"ERROR|Please insert device!!"});
    EXPECT_TRUE(view.IsEnabled(ControlId::CloudSongs));
    EXPECT_EQ(Gets("/MgList.dat"), 0u);
    EXPECT_EQ(Gets("/Msong.db"), 0u);
}

TEST_F(CloudSongs, AChosenDeviceIsUsedWithoutSearchingAgain) {
    const auto folder = dir / "home" / "karaoke";
    std::filesystem::create_directories(folder);
    view.folders = {folder.string()};
    view.answers = {MessageAnswer::Yes};  // a songs folder is made there
    dlg.OnSelectDevice();
    drives.drives.clear();
    SyncCloud();
    EXPECT_TRUE(std::filesystem::exists(folder / "songs" / "MgList.dat"));
    EXPECT_FALSE(std::filesystem::exists(songs() / "MgList.dat"));
    // No device list there: nothing is ticked.
    EXPECT_EQ(view.Checks(ControlId::WorkList), (std::vector<bool>{false, false, false}));
}

TEST_F(CloudSongs, AnUnreadableDeviceListStopsBeforeTheCloudList) {
    ChooseDevice();
    WriteBytes(songs() / "SgList.dat", std::string(19, '\xEC'));
    view.Enable(ControlId::AutoCheckDevice, false);
    dlg.OnCloudSongs();
    EXPECT_EQ(view.MessageLog(), Log{"Error|Sglist File Error"});
    EXPECT_TRUE(std::filesystem::exists(songs() / "MgList.dat"));
    EXPECT_TRUE(std::filesystem::exists(songs() / "Msong.db"));
    EXPECT_TRUE(view.Rows(ControlId::WorkList).empty());
    EXPECT_FALSE(dlg.cloudListShown());
    EXPECT_TRUE(view.IsEnabled(ControlId::AutoCheckDevice));
    EXPECT_TRUE(view.IsEnabled(ControlId::CloudSongs));

    view.Type(ControlId::SearchBox, "A");
    dlg.OnSearchChange();
    EXPECT_EQ(view.MessageLog().back(), "ERROR|Please download cloud data!!");
}

TEST_F(CloudSongs, AnUnreadableCloudListLeavesTheDeviceListLoaded) {
    WriteBytes(cloud / "MgList.dat", "");
    dlg.OnCloudSongs();
    // The list is checked before it replaces anything, and the failure names it.
    EXPECT_EQ(view.MessageLog(), Log{"Trallix Song Loader|" + std::string(kCatalogueFailedMessage) +
                                     "\nMgList.dat: rejected: not a song list (Sglist File Error)"});
    EXPECT_FALSE(std::filesystem::exists(songs() / "MgList.dat"));
    EXPECT_EQ(view.Rows(ControlId::DeviceList).size(), 2u);
    EXPECT_TRUE(view.Rows(ControlId::WorkList).empty());
    EXPECT_FALSE(dlg.cloudListShown());
    EXPECT_TRUE(view.IsEnabled(ControlId::AutoCheckDevice));
    EXPECT_TRUE(view.IsEnabled(ControlId::CloudSongs));
    EXPECT_TRUE(view.IsEnabled(ControlId::WorkList));
}

TEST_F(CloudSongs, AFailedDownloadKeepsTheOldFilesAndShowsNoCloudList) {
    SyncCloud();
    const std::string oldDatabase = ReadBytes(songs() / "Msong.db");
    std::filesystem::remove(cloud / "Msong.db");
    dlg.OnCloudSongs();
    ASSERT_EQ(view.messages.size(), 2u);
    EXPECT_EQ(view.messages[1].text, std::string(kCatalogueFailedMessage) + "\nMsong.db: error status 404");
    EXPECT_EQ(view.messages[1].icon, NoticeIcon::Exclamation);
    EXPECT_EQ(ReadBytes(songs() / "Msong.db"), oldDatabase);
    EXPECT_TRUE(view.Rows(ControlId::WorkList).empty());
    EXPECT_EQ(view.Rows(ControlId::DeviceList).size(), 2u);
    EXPECT_FALSE(dlg.cloudListShown());
    EXPECT_TRUE(view.IsEnabled(ControlId::CloudSongs));
}

TEST_F(CloudSongs, SelectAllTicksTheSongsTheDeviceLacks) {
    SyncCloud();
    dlg.OnSelectAll();
    EXPECT_EQ(view.Checks(ControlId::WorkList), (std::vector<bool>{true, false, true}));
    dlg.OnSelectAll();
    EXPECT_EQ(view.Checks(ControlId::WorkList), (std::vector<bool>{false, false, false}));
}

TEST_F(CloudSongs, ClickingTheTickOfADownloadedSong) {
    SyncCloud();
    EXPECT_TRUE(dlg.OnWorkListClick(1, true));
    EXPECT_EQ(view.MessageLog().back(), "Note|The song has been downloaded!");
    EXPECT_FALSE(dlg.OnWorkListClick(1, false));
    EXPECT_FALSE(dlg.OnWorkListClick(0, true));
    EXPECT_EQ(view.messages.size(), 2u);
}

TEST_F(CloudSongs, TheFormWhileCloudSongsAreShown) {
    SyncCloud();
    view.Type(ControlId::Number, "1");
    dlg.OnNumberUpdate();
    EXPECT_EQ(view.Text(ControlId::Number), "1");
    EXPECT_TRUE(view.checkBoxes[ControlId::WorkList]);
    EXPECT_EQ(view.messages.size(), 1u);

    // Browsing for a file of one's own puts the cloud songs away.
    view.openFiles = {std::nullopt};
    dlg.OnBrowse();
    EXPECT_FALSE(dlg.cloudListShown());
    EXPECT_TRUE(view.Rows(ControlId::WorkList).empty());
    EXPECT_EQ(view.MessageLog().back(), "Note|Please select file");
}

TEST_F(CloudSongs, TheContextMenuOnACloudRow) {
    SyncCloud();
    dlg.OnListRightClick(ControlId::WorkList, 2);
    EXPECT_EQ(dlg.menuList(), ControlId::WorkList);
    EXPECT_EQ(dlg.menuRow(), 2);
    view.answers = {MessageAnswer::Yes};
    dlg.OnDeleteSong();
    EXPECT_EQ(view.Rows(ControlId::WorkList).size(), 2u);
}

}  // namespace
}  // namespace songloader::test
