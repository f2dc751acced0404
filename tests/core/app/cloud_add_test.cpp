// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialog_fixture.h"

#include "core/common/temporary_name.h"

namespace songloader::test {
namespace {

using Log = std::vector<std::string>;

class AddCloudSongs : public DialogTest {
protected:
    void SetUp() override {
        PublishCloud({{890005, 0, "Video", "Vee"},
                      {900001, 0, "Alpha", "Ann"},
                      {12, 6, "Beta", "Bob"},
                      {900007, 0, "Gamma", "Gil"}});
        PutDeviceList({{900001, 0, "Alpha", "Ann", "", ""}});
        SyncCloud();
        ClearLog();
    }
};

TEST_F(AddCloudSongs, DownloadsTheTickedSongsTheDeviceLacks) {
    view.Tick(ControlId::WorkList, 0);
    view.Tick(ControlId::WorkList, 2);
    std::vector<std::size_t> deviceRowsAtTransfer;
    view.onTransfer = [&](DownloadProgress&) {
        deviceRowsAtTransfer.push_back(view.Rows(ControlId::DeviceList).size());
    };
    dlg.OnAddToDevice();

    EXPECT_EQ(view.MessageLog(), Log{"Note|Added successfully"});
    // Titles without "(MV)"; progress steps = size / 1460.
    EXPECT_EQ(view.transfers, (Log{"Video 2", "Beta 2"}));
    EXPECT_EQ(deviceRowsAtTransfer, (std::vector<std::size_t>{2, 3}));
    EXPECT_EQ(server.CountRequests("GET", "/890005.mp4"), 1u);
    EXPECT_EQ(server.CountRequests("GET", "/900001.mp4"), 0u);
    EXPECT_EQ(ReadBytes(songs() / "890" / "890005.mp4"), VideoOf(890005));
    EXPECT_EQ(ReadBytes(songs() / "12" / "12.mp4"), VideoOf(12));

    EXPECT_EQ(view.Rows(ControlId::DeviceList),
              (Log{"900001|EG|Alpha|Ann||", "890005|EG|Video|Vee||", "12|OPM|Beta|Bob||"}));
    const SongList catalogue = DeviceCatalogue();
    EXPECT_EQ(Numbers(catalogue), (std::vector<std::int32_t>{900001, 890005, 12}));
    EXPECT_EQ(catalogue[1].title, "Video");
    EXPECT_TRUE(dlg.pendingCopies().empty());
    // The cloud list stays as it was.
    EXPECT_EQ(view.Rows(ControlId::WorkList).size(), 4u);
    EXPECT_TRUE(dlg.cloudListShown());
}

TEST_F(AddCloudSongs, NothingToFetch) {
    dlg.OnAddToDevice();  // no ticks but the device's own
    view.Tick(ControlId::WorkList, 1);
    dlg.OnAddToDevice();
    EXPECT_EQ(view.MessageLog(), (Log{"Note|Please select song!", "Note|Please select song!"}));
    EXPECT_TRUE(view.transfers.empty());

    PublishCloud({});
    SyncCloud();
    dlg.OnAddToDevice();
    EXPECT_EQ(view.MessageLog().back(), "Note|Please select song!");
}

// A cancel ends the whole batch: what arrived before it is added, nothing after it is fetched, and
// the message names what was added and what was not (and no "Added successfully" follows it).
TEST_F(AddCloudSongs, ACancelEndsTheBatchAndKeepsWhatArrived) {
    for (int row : {0, 2, 3}) view.Tick(ControlId::WorkList, row);
    view.onTransfer = [&](DownloadProgress& running) {
        if (view.transfers.size() == 2) running.RequestCancel();  // Beta
    };
    dlg.OnAddToDevice();
    EXPECT_EQ(view.MessageLog(),
              (Log{std::string("Trallix Song Loader|") + kDownloadFailedMessage +
                   "\n12 Beta: cancelled\n900007 Gamma: not copied: the batch was stopped before it\n\n" +
                   kAddedSongsMessage + "\n890005 Video"}));
    EXPECT_EQ(view.transfers.size(), 2u);
    EXPECT_EQ(server.CountRequests("GET", "/900007.mp4"), 0u);
    EXPECT_EQ(Numbers(DeviceCatalogue()), (std::vector<std::int32_t>{900001, 890005}));
    EXPECT_EQ(ReadBytes(songs() / "890" / "890005.mp4"), VideoOf(890005));
}

TEST_F(AddCloudSongs, WhenNothingArrivesNothingIsReportedAsAdded) {
    const std::string oldList = ReadBytes(songs() / "SgList.dat");
    std::filesystem::remove(cloud / "12.mp4");
    view.Tick(ControlId::WorkList, 2);
    dlg.OnAddToDevice();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, std::string(kDownloadFailedMessage) + "\n12 Beta: error status 404");
    EXPECT_EQ(ReadBytes(songs() / "SgList.dat"), oldList);
}

// A cloud song the list builder would refuse is named and never downloaded: the stick is not left
// with a copy its catalogue cannot take.
TEST_F(AddCloudSongs, AnUnbuildableCloudSongIsRefusedBeforeItsDownload) {
    const std::string oldList = ReadBytes(songs() / "SgList.dat");
    PublishCloud({{900009, 0, std::string(60, '/'), ""}});
    SyncCloud();
    ClearLog();
    view.Tick(ControlId::WorkList, 0);
    dlg.OnAddToDevice();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].text.find("have row error"), std::string::npos) << view.messages[0].text;
    EXPECT_TRUE(view.transfers.empty());
    EXPECT_TRUE(dlg.pendingCopies().empty());
    EXPECT_FALSE(std::filesystem::exists(songs() / "900" / "900009.mp4"));
    EXPECT_EQ(ReadBytes(songs() / "SgList.dat"), oldList);
}

// A download the catalogue cannot take is taken off the device again at once: nothing is left
// pending, and the window closes without a question.
TEST_F(AddCloudSongs, AFailedRebuildTakesTheDownloadsOffTheDevice) {
    const std::string oldList = ReadBytes(songs() / "SgList.dat");
    view.Tick(ControlId::WorkList, 0);
    // Something at the database's fixed temporary name that is no file: the rebuild fails.
    view.onTransfer = [&](DownloadProgress&) {
        std::filesystem::create_directories(PairTemporaryNameFor(songs() / "usbsong.db") / "inside");
    };
    dlg.OnAddToDevice();
    EXPECT_TRUE(dlg.pendingCopies().empty());
    EXPECT_FALSE(std::filesystem::exists(songs() / "890" / "890005.mp4"));
    EXPECT_EQ(ReadBytes(songs() / "SgList.dat"), oldList);

    std::filesystem::remove_all(PairTemporaryNameFor(songs() / "usbsong.db"));
    dlg.OnSysCommand(SysCommand::Close);
    EXPECT_TRUE(view.closed);
}

}  // namespace
}  // namespace songloader::test
