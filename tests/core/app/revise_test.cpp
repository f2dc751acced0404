// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialog_fixture.h"

namespace songloader::test {
namespace {

using Log = std::vector<std::string>;

class Revise : public DialogTest {
protected:
    void SetUp() override {
        PutDeviceList({{900000, 0, "Let It Be", "Ann", "Paul", "John"},
                       {900123, 10, "Arirang", "Kim", "", ""},
                       {900200, 2, "Hola", "", "", ""}});
        PutDeviceMedia("900000", ".mp4");
        PutDeviceMedia("900123", ".MKV", "the video of 900123");
        ChooseDevice();
        clip = MakeClip("a.mp4");
        Queue("901001", "Queued", clip);
        ClearLog();
    }
    std::filesystem::path clip;
};

TEST_F(Revise, DoubleClickOnTheWorkListLoadsTheSong) {
    dlg.OnWorkListDoubleClick(-1);
    dlg.OnWorkListDoubleClick(1);
    EXPECT_TRUE(view.calls.empty());

    view.Enable(ControlId::MediaPath, false);
    dlg.OnWorkListDoubleClick(0);
    EXPECT_EQ(view.Text(ControlId::Number), "901001");
    EXPECT_EQ(view.Text(ControlId::Title), "Queued");
    EXPECT_EQ(view.Text(ControlId::MediaPath), clip.string());
    EXPECT_EQ(view.combos[ControlId::EntryLanguage], 1);
    EXPECT_EQ(view.focus, ControlId::Number);
    EXPECT_TRUE(view.IsEnabled(ControlId::Revise));
    EXPECT_TRUE(view.IsEnabled(ControlId::MediaPath));
    EXPECT_TRUE(view.IsEnabled(ControlId::Browse));
    EXPECT_EQ(dlg.editTarget(), EditTarget::WorkList);
    EXPECT_EQ(dlg.editRow(), 0);
}

TEST_F(Revise, AWorkListSongIsReplacedInPlace) {
    Queue("901002", "Second", clip);
    dlg.OnWorkListDoubleClick(0);
    view.Type(ControlId::Number, "901003");
    view.Type(ControlId::Title, "Renamed");
    view.Pick(ControlId::EntryLanguage, 2);
    dlg.OnRevise();
    EXPECT_EQ(view.MessageLog(), Log{"Note|Revised successfully!"});
    EXPECT_EQ(view.Rows(ControlId::WorkList)[0], "901003|ES|Renamed|||");
    EXPECT_EQ(dlg.workSongs()[0].number, 901003);
    EXPECT_EQ(dlg.editTarget(), EditTarget::None);
    EXPECT_EQ(view.Text(ControlId::Title), "");
    EXPECT_FALSE(view.IsEnabled(ControlId::Revise));
    // Only the list changed.
    EXPECT_EQ(Numbers(DeviceCatalogue()), (std::vector<std::int32_t>{900000, 900123, 900200}));
}

TEST_F(Revise, MissingTitleOrPathKeepsTheEdit) {
    dlg.OnWorkListDoubleClick(0);
    view.Type(ControlId::Title, "");
    dlg.OnRevise();
    view.Type(ControlId::Title, "T");
    view.Type(ControlId::MediaPath, "");
    dlg.OnRevise();
    EXPECT_EQ(view.MessageLog(), (Log{"ERROR|Please enter song title", "ERROR|File Path is Invaild"}));
    EXPECT_EQ(dlg.editTarget(), EditTarget::WorkList);
    EXPECT_EQ(dlg.workSongs()[0].title, "Queued");
    EXPECT_EQ(view.Text(ControlId::Title), "T");

    // Revise with nothing loaded does nothing.
    dlg.OnClearFields();
    view.messages.clear();
    dlg.OnRevise();
    EXPECT_TRUE(view.messages.empty());
}

// A queued song's new file is probed as when it was queued: a text file named .mp4 stays out, and
// "Add to USB Drive" then copies the song's file as it was.
TEST_F(Revise, AQueuedSongsNewFileMustBeMediaThePlayerPlays) {
    WriteBytes(dir / "notes.mp4", "just some words, not a video");
    dlg.OnWorkListDoubleClick(0);
    view.Type(ControlId::MediaPath, (dir / "notes.mp4").string());
    dlg.OnRevise();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].text.find("is not a video or audio file."), std::string::npos) << view.messages[0].text;
    EXPECT_EQ(dlg.workSongs()[0].mediaPath, clip.string());
    EXPECT_EQ(dlg.editTarget(), EditTarget::WorkList);

    ClearLog();
    dlg.OnAddToDevice();
    EXPECT_EQ(ReadBytes(songs() / "901" / "901001.mp4"), ReadBytes(clip));
}

TEST_F(Revise, DoubleClickOnTheDeviceListLoadsTheSongWithThePathLocked) {
    dlg.OnDeviceListDoubleClick(1);
    EXPECT_EQ(view.Text(ControlId::Number), "900123");
    EXPECT_EQ(view.Text(ControlId::Title), "Arirang");
    EXPECT_EQ(view.Text(ControlId::Artist), "Kim");
    EXPECT_EQ(view.Text(ControlId::MediaPath), "");
    // "KR" has no entry of its own: the last one stands for it.
    EXPECT_EQ(view.combos[ControlId::EntryLanguage], 2);
    EXPECT_FALSE(view.IsEnabled(ControlId::MediaPath));
    EXPECT_FALSE(view.IsEnabled(ControlId::Browse));
    EXPECT_FALSE(view.IsEnabled(ControlId::QueueToAdd));
    EXPECT_TRUE(view.IsEnabled(ControlId::Revise));
    EXPECT_EQ(dlg.editTarget(), EditTarget::DeviceList);
    EXPECT_EQ(dlg.editRow(), 1);

    dlg.OnClearFields();
    EXPECT_TRUE(view.IsEnabled(ControlId::MediaPath));
    EXPECT_TRUE(view.IsEnabled(ControlId::Browse));
    EXPECT_TRUE(view.IsEnabled(ControlId::QueueToAdd));
}

TEST_F(Revise, ANewNumberMovesTheFileAndRebuildsOnce) {
    dlg.OnDeviceListDoubleClick(1);
    view.Type(ControlId::Number, "901000");
    view.Type(ControlId::Title, "Arirang (live)");
    dlg.OnRevise();
    EXPECT_EQ(view.MessageLog(), Log{"Note|Revised successfully!"});
    EXPECT_FALSE(std::filesystem::exists(songs() / "900" / "900123.MKV"));
    EXPECT_EQ(ReadBytes(songs() / "901" / "901000.MKV"), "the video of 900123");
    EXPECT_EQ(view.Rows(ControlId::DeviceList)[1], "901000|KR|Arirang (live)|Kim||");
    const SongList catalogue = DeviceCatalogue();
    EXPECT_EQ(Numbers(catalogue), (std::vector<std::int32_t>{900000, 901000, 900200}));
    EXPECT_EQ(catalogue[1].title, "Arirang (live)");
    EXPECT_EQ(dlg.editTarget(), EditTarget::None);
    EXPECT_TRUE(view.IsEnabled(ControlId::QueueToAdd));
    EXPECT_TRUE(view.IsEnabled(ControlId::MediaPath));
    EXPECT_EQ(view.progressPos, 500);
}

TEST_F(Revise, ALanguageTheFormCannotShowIsKeptUnlessAnotherIsPicked) {
    dlg.OnDeviceListDoubleClick(1);  // KR, shown as "ES[Spanish]"
    view.Type(ControlId::Title, "Arirang 2");
    dlg.OnRevise();
    EXPECT_EQ(DeviceCatalogue()[1].languageText, "KR");
    dlg.OnDeviceListDoubleClick(1);
    view.Pick(ControlId::EntryLanguage, 1);
    dlg.OnRevise();
    EXPECT_EQ(DeviceCatalogue()[1].languageText, "EG");
    EXPECT_EQ(view.Rows(ControlId::DeviceList)[1], "900123|EG|Arirang 2|Kim||");
}

TEST_F(Revise, TheSameNumberIsStoredOnTheDeviceAtOnce) {
    dlg.OnDeviceListDoubleClick(0);
    view.Type(ControlId::Title, "Let It Be (1970)");
    dlg.OnRevise();
    EXPECT_EQ(view.MessageLog(), Log{"Note|Revised successfully!"});
    EXPECT_EQ(DeviceCatalogue()[0].title, "Let It Be (1970)");
    EXPECT_TRUE(std::filesystem::exists(songs() / "900" / "900000.mp4"));
    EXPECT_EQ(view.Rows(ControlId::DeviceList)[0], "900000|EG|Let It Be (1970)|Ann|Paul|John");
    EXPECT_EQ(dlg.editTarget(), EditTarget::None);
}

TEST_F(Revise, AMissingMediaFileChangesNothing) {
    const std::string oldList = ReadBytes(songs() / "SgList.dat");
    dlg.OnDeviceListDoubleClick(2);  // 900200 has no file on the device
    view.Type(ControlId::Number, "900201");
    dlg.OnRevise();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, "The media file of song 900200 is not on the device; nothing was changed.");
    EXPECT_EQ(view.messages[0].icon, NoticeIcon::Exclamation);
    EXPECT_EQ(dlg.deviceSongs()[2].number, 900200);
    EXPECT_EQ(view.Rows(ControlId::DeviceList)[2], "900200|ES|Hola|||");
    EXPECT_EQ(ReadBytes(songs() / "SgList.dat"), oldList);
    EXPECT_EQ(dlg.editTarget(), EditTarget::DeviceList);
}

TEST_F(Revise, ANumberAnotherDeviceSongHoldsIsRefused) {
    dlg.OnDeviceListDoubleClick(1);
    view.Type(ControlId::Number, "900000");
    dlg.OnRevise();
    EXPECT_EQ(view.MessageLog(), Log{"ERROR|Song number is duplicate with existing file of device"});
    EXPECT_TRUE(std::filesystem::exists(songs() / "900" / "900123.MKV"));
    EXPECT_EQ(dlg.deviceSongs()[1].number, 900123);
}

// Every number that changes is checked like one that is queued, against both lists, and the
// builder's row checks run before anything moves; a refused revise changes nothing.
TEST_F(Revise, ANumberOrRowTheQueueWouldRefuseIsRefused) {
    Queue("901002", "Second", clip);
    ClearLog();
    const std::string oldList = ReadBytes(songs() / "SgList.dat");
    const std::string number = "Note|Song number?must?be?six?digit from 900000 to 999999!";
    const std::string rowError = "have row error:Song name characters is wrong!";
    std::string words;
    for (int i = 0; i < 53; ++i) words += "la ";
    struct Case {
        ControlId list;
        int row;
        const char* number;
        std::string title;
        std::string message;
    };
    for (const Case& c : {Case{ControlId::WorkList, 0, "900000", "Queued",
                               "ERROR|Song number is duplicate with existing file of device"},
                          Case{ControlId::WorkList, 0, "901002", "Queued", "ERROR|Song number is duplicate"},
                          Case{ControlId::WorkList, 0, "90100", "Queued", number},
                          Case{ControlId::WorkList, 1, "901002", words, "Trallix Song Loader|5" + rowError},
                          Case{ControlId::DeviceList, 1, "901001", "Arirang", "ERROR|Song number is duplicate"},
                          Case{ControlId::DeviceList, 1, "900000", "Arirang",
                               "ERROR|Song number is duplicate with existing file of device"},
                          Case{ControlId::DeviceList, 1, "", "Arirang", number},
                          Case{ControlId::DeviceList, 1, "9001", "Arirang", number},
                          Case{ControlId::DeviceList, 1, "90012x", "Arirang", number},
                          Case{ControlId::DeviceList, 1, "901000", words, "Trallix Song Loader|2" + rowError}}) {
        const std::string label = std::string(c.number) + " row " + std::to_string(c.row);
        if (c.list == ControlId::WorkList) dlg.OnWorkListDoubleClick(c.row);
        else dlg.OnDeviceListDoubleClick(c.row);
        view.Type(ControlId::Number, c.number);
        view.Type(ControlId::Title, c.title);
        ClearLog();
        dlg.OnRevise();
        EXPECT_EQ(view.MessageLog(), Log{c.message}) << label;
        EXPECT_EQ(Numbers(dlg.workSongs()), (std::vector<std::int32_t>{901001, 901002})) << label;
        EXPECT_EQ(Numbers(dlg.deviceSongs()), (std::vector<std::int32_t>{900000, 900123, 900200})) << label;
        EXPECT_EQ(ReadBytes(songs() / "900" / "900123.MKV"), "the video of 900123") << label;
        EXPECT_EQ(ReadBytes(songs() / "SgList.dat"), oldList) << label;
    }
    EXPECT_EQ(ListFiles(songs()), (std::vector<std::string>{"900/900000.mp4", "900/900123.MKV", "SgList.dat"}));
}

TEST_F(Revise, ANewNumberMovesEveryFileOfTheSong) {
    PutDeviceMedia("900123", ".lrc", "the words of 900123");
    PutDeviceMedia("9001234", ".mp4", "another song");
    dlg.OnDeviceListDoubleClick(1);
    view.Type(ControlId::Number, "901000");
    dlg.OnRevise();
    EXPECT_EQ(view.MessageLog(), Log{"Note|Revised successfully!"});
    EXPECT_EQ(ReadBytes(songs() / "901" / "901000.MKV"), "the video of 900123");
    EXPECT_EQ(ReadBytes(songs() / "901" / "901000.lrc"), "the words of 900123");
    EXPECT_EQ(ReadBytes(songs() / "900" / "9001234.mp4"), "another song");
    EXPECT_FALSE(std::filesystem::exists(songs() / "900" / "900123.lrc"));
    EXPECT_FALSE(std::filesystem::exists(songs() / "900" / "900123.MKV"));
}

TEST_F(Revise, AFailedRebuildPutsTheFileAndTheSongBack) {
    // Another song of the device is one the builder refuses.
    PutDeviceList({{900000, 0, "Let It Be", "Ann", "Paul", "John"},
                   {900123, 10, "Arirang", "Kim", "", ""},
                   {900200, 2, kUnbuildableTitle, "", "", ""}});
    ChooseDevice();
    const std::string oldList = ReadBytes(songs() / "SgList.dat");
    dlg.OnDeviceListDoubleClick(1);
    view.Type(ControlId::Number, "901000");
    dlg.OnRevise();
    EXPECT_EQ(view.MessageLog().back(), "Trallix Song Loader|Temp File Analyse Error!");
    EXPECT_EQ(ReadBytes(songs() / "900" / "900123.MKV"), "the video of 900123");
    EXPECT_FALSE(std::filesystem::exists(songs() / "901" / "901000.MKV"));
    EXPECT_EQ(dlg.deviceSongs()[1].number, 900123);
    EXPECT_EQ(view.Rows(ControlId::DeviceList)[1], "900123|KR|Arirang|Kim||");
    EXPECT_EQ(ReadBytes(songs() / "SgList.dat"), oldList);
    EXPECT_EQ(dlg.editTarget(), EditTarget::DeviceList);
}

TEST_F(Revise, ReReadingTheDeviceListEndsADeviceEdit) {
    dlg.OnDeviceListDoubleClick(1);
    dlg.OnAutoCheckDevice();
    EXPECT_EQ(dlg.editTarget(), EditTarget::None);
    EXPECT_FALSE(view.IsEnabled(ControlId::Revise));
    dlg.OnRevise();
    EXPECT_TRUE(view.messages.empty());
}

}  // namespace
}  // namespace songloader::test
