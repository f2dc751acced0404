// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>

#include "support/cloud_catalogue_fixture.h"
#include "core/common/temporary_name.h"
#include "core/entry/placement_journal.h"
#include "dialog_fixture.h"

namespace songloader::test {
namespace {

using AddUserSongs = DialogTest;
using Log = std::vector<std::string>;

TEST_F(AddUserSongs, CopiesRebuildsAndEmptiesTheQueue) {
    PutDeviceList({{900000, 0, "Let It Be", "Ann", "", ""}});
    PutDeviceMedia("900000", ".mp4");
    ChooseDevice();
    const auto big = MakeClip("song.final.mp4", 2 * 1048576 + 1);
    const auto small = MakeClip("clip.MKV", 10);
    Queue("900123", "Big", big);
    Queue("901000", "Small", small);
    ClearLog();

    dlg.OnAddToDevice();
    EXPECT_EQ(view.MessageLog(), Log{"Note|Added successfully"});
    const auto bigCopy = songs() / "900" / "900123.mp4";
    const auto smallCopy = songs() / "901" / "901000.MKV";
    EXPECT_EQ(ReadBytes(bigCopy), ReadBytes(big));
    EXPECT_EQ(ReadBytes(smallCopy), ReadBytes(small));
    EXPECT_EQ(view.Rows(ControlId::DeviceList),
              (Log{"900000|EG|Let It Be|Ann||", "900123|EG|Big|||", "901000|EG|Small|||"}));
    EXPECT_EQ(Numbers(dlg.deviceSongs()), (std::vector<std::int32_t>{900000, 900123, 901000}));
    EXPECT_EQ(dlg.deviceSongs()[1].mediaPath, bigCopy.string());
    EXPECT_TRUE(dlg.workSongs().empty());
    EXPECT_TRUE(view.Rows(ControlId::WorkList).empty());
    EXPECT_TRUE(dlg.pendingCopies().empty());

    // The player's view of the device.
    EXPECT_EQ(Numbers(DeviceCatalogue()), (std::vector<std::int32_t>{900000, 900123, 901000}));
    EXPECT_EQ(QueryRows(songs() / "usbsong.db", "select idx, name from songlist"),
              (Log{"900000|Let It Be", "900123|Big", "901000|Small"}));
    const std::string database = ReadBytes(songs() / "usbsong.db");
    EXPECT_EQ(database.substr(database.size() - 3), std::string(3, '\x07'));

    // Progress: 3 + 1 mebibytes for the copies, then one step per song of the rebuild.
    auto has = [&](const std::string& call) {
        return std::find(view.calls.begin(), view.calls.end(), call) != view.calls.end();
    };
    EXPECT_TRUE(has("SetProgressRange 1 4"));
    EXPECT_TRUE(has("SetProgressPos 4"));
    EXPECT_TRUE(has("SetProgressRange 1 3"));
    EXPECT_EQ(view.progressUpper, 500);
    EXPECT_EQ(view.progressPos, 500);
    EXPECT_TRUE(view.IsEnabled(ControlId::Print));
    EXPECT_TRUE(view.IsEnabled(ControlId::PrintPreview));
    EXPECT_TRUE(view.IsEnabled(ControlId::ExportSongList));
}

TEST_F(AddUserSongs, TheDeviceRowAppearsBeforeTheCopyStarts) {
    ChooseDevice();
    Queue("900123", "Big", MakeClip("big.mp4", 2 * 1048576));
    std::vector<std::size_t> rowsDuringCopy;
    view.onPump = [&] { rowsDuringCopy.push_back(view.Rows(ControlId::DeviceList).size()); };
    dlg.OnAddToDevice();
    ASSERT_FALSE(rowsDuringCopy.empty());
    EXPECT_EQ(rowsDuringCopy.front(), 1u);
}

// The user stops a batch: the file being copied arrives and is catalogued, the rest stays queued.
TEST_F(AddUserSongs, TheUserMayStopABatchAfterTheFileBeingCopied) {
    ChooseDevice();
    Queue("900001", "One", MakeClip("one.mp4", 5000));
    Queue("900002", "Two", MakeClip("two.mp4", 5000));
    Queue("900003", "Three", MakeClip("three.mp4", 5000));
    bool offeredWhileCopying = false;
    view.stopRequested = [&] {
        offeredWhileCopying = view.stopOffered;
        return true;
    };
    dlg.OnAddToDevice();
    EXPECT_TRUE(offeredWhileCopying);
    EXPECT_EQ(view.stopOffers, 1);
    EXPECT_FALSE(view.stopOffered) << "the stop is withdrawn when the batch ends";
    EXPECT_EQ(Numbers(dlg.deviceSongs()), (std::vector<std::int32_t>{900001}));
    EXPECT_EQ(Numbers(DeviceCatalogue()), (std::vector<std::int32_t>{900001}));
    EXPECT_EQ(view.Rows(ControlId::WorkList), (Log{"900002|EG|Two|||", "900003|EG|Three|||"}));
    EXPECT_FALSE(std::filesystem::exists(songs() / "900" / "900002.mp4"));
    EXPECT_TRUE(dlg.pendingCopies().empty());

    // Not stopped, the rest arrives; one song alone is one step, with nothing to stop.
    view.stopRequested = {};
    view.stopOffers = 0;
    dlg.OnAddToDevice();
    EXPECT_EQ(view.stopOffers, 1);
    EXPECT_EQ(Numbers(DeviceCatalogue()), (std::vector<std::int32_t>{900001, 900002, 900003}));
    Queue("900004", "Four", MakeClip("four.mp4", 5000));
    dlg.OnAddToDevice();
    EXPECT_EQ(view.stopOffers, 1);
    EXPECT_EQ(Numbers(DeviceCatalogue()), (std::vector<std::int32_t>{900001, 900002, 900003, 900004}));
}

TEST_F(AddUserSongs, AnEmptyQueueStillRebuilds) {
    PutDeviceList({{900000, 0, "Let It Be", "Ann", "", ""}});
    ChooseDevice();
    dlg.OnAddToDevice();
    EXPECT_EQ(view.MessageLog(), Log{"Note|Added successfully"});
    EXPECT_EQ(QueryRows(songs() / "usbsong.db", "select idx from songlist"), Log{"900000"});
}

TEST_F(AddUserSongs, WithoutADeviceNothingIsWritten) {
    dlg.OnAddToDevice();
    EXPECT_EQ(view.MessageLog(), Log{"ERROR|Please Select Disk"});
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::current_path() / "usbsong.db"));
}

TEST_F(AddUserSongs, ACopyThatFailsIsNamedAndTheSongStaysQueued) {
    ChooseDevice();
    const auto gone = MakeClip("gone.mp4");
    Queue("900001", "Arrives", MakeClip("a.mp4"));
    Queue("900002", "Lost", gone);
    Queue("900003", "Arrives too", MakeClip("c.mp4"));
    std::filesystem::remove(gone);

    dlg.OnAddToDevice();
    ASSERT_EQ(view.messages.size(), 2u);
    EXPECT_EQ(view.messages[0].caption, kApplicationName);
    EXPECT_EQ(view.messages[0].icon, NoticeIcon::Exclamation);
    EXPECT_EQ(view.messages[0].text.rfind(kCopyFailedMessage, 0), 0u) << view.messages[0].text;
    EXPECT_NE(view.messages[0].text.find("\n900002 Lost: "), std::string::npos) << view.messages[0].text;
    EXPECT_EQ(view.MessageLog()[1], "Note|Added successfully");

    EXPECT_EQ(Numbers(dlg.deviceSongs()), (std::vector<std::int32_t>{900001, 900003}));
    EXPECT_EQ(view.Rows(ControlId::DeviceList).size(), 2u);
    EXPECT_EQ(Numbers(DeviceCatalogue()), (std::vector<std::int32_t>{900001, 900003}));
    EXPECT_FALSE(std::filesystem::exists(songs() / "900" / "900002.mp4"));
    EXPECT_EQ(Numbers(dlg.workSongs()), std::vector<std::int32_t>{900002});
    EXPECT_EQ(view.Rows(ControlId::WorkList), Log{"900002|EG|Lost|||"});

    // The window's notification tells the batch from its report, not from the rows it shows.
    EXPECT_EQ(dlg.lastBatch().added, (Log{"Arrives", "Arrives too"}));
    EXPECT_EQ(dlg.lastBatch().notAdded, Log{"Lost"});
    EXPECT_EQ(dlg.lastBatch().failures, Log{view.messages[0].text});
    EXPECT_EQ(NotificationOf(dlg.lastBatch()).summary, "Some songs were not added");
    EXPECT_EQ(NotificationOf(dlg.lastBatch()).body.rfind("Added 2 songs: Arrives, Arrives too.\nFailed: ", 0), 0u);
}

// A queued number that another device holds (the queue stays when another device is selected)
// is refused just before its copy: the device's own song and file stay.
TEST_F(AddUserSongs, ANumberTheDeviceHoldsIsNeverCopiedOver) {
    ChooseDevice();
    Queue("900000", "Mine", MakeClip("a.mp4"));
    Queue("900001", "Also mine", MakeClip("b.mp4"));
    PutDeviceList({{900000, 0, "Theirs", "", "", ""}});
    PutDeviceMedia("900000", ".mp4", "their video");
    view.folders = {stick.string()};
    dlg.OnSelectDevice();
    ClearLog();
    dlg.OnAddToDevice();
    ASSERT_EQ(view.messages.size(), 2u);
    EXPECT_EQ(view.messages[0].text,
              std::string(kCopyFailedMessage) + "\n900000 Mine: Song number is duplicate with existing file of device");
    EXPECT_EQ(ReadBytes(songs() / "900" / "900000.mp4"), "their video");
    EXPECT_EQ(Numbers(DeviceCatalogue()), (std::vector<std::int32_t>{900000, 900001}));
    EXPECT_EQ(DeviceCatalogue()[0].title, "Theirs");
    EXPECT_EQ(Numbers(dlg.workSongs()), std::vector<std::int32_t>{900000});
}

// A catalogue that cannot take the copies (it holds a song the builder refuses) keeps the old
// catalogue; the copies are taken off the device again and the songs stay queued, with the reason.
TEST_F(AddUserSongs, AFailedRebuildTakesTheCopiesOffAndKeepsThemQueued) {
    // A song another program stored, which the builder refuses.
    PutDeviceList({{900000, 0, "Let It Be", "Ann", "", ""}, {900003, 0, kUnbuildableTitle, "", "", ""}});
    ChooseDevice();
    const std::string oldList = ReadBytes(songs() / "SgList.dat");
    Queue("900001", "Fine", MakeClip("a.mp4"));
    Queue("900002", "Fine too", MakeClip("b.mp4"));
    dlg.OnAddToDevice();
    EXPECT_EQ(view.MessageLog(), (Log{std::string(kApplicationName) + "|" + kCopyFailedMessage + "\n900001 Fine: " +
                                          kNotCataloguedMessage + "\n900002 Fine too: " + kNotCataloguedMessage,
                                      "Trallix Song Loader|2have row error:Song name characters is wrong!",
                                      "Trallix Song Loader|Temp File Analyse Error!"}));
    EXPECT_EQ(ReadBytes(songs() / "SgList.dat"), oldList);
    EXPECT_TRUE(dlg.pendingCopies().empty());
    EXPECT_EQ(Numbers(dlg.deviceSongs()), (std::vector<std::int32_t>{900000, 900003}));
    EXPECT_EQ(view.Rows(ControlId::DeviceList).size(), 2u);
    EXPECT_EQ(Numbers(dlg.workSongs()), (std::vector<std::int32_t>{900001, 900002}));
    EXPECT_FALSE(std::filesystem::exists(songs() / "900" / "900001.mp4"));
    EXPECT_FALSE(std::filesystem::exists(songs() / "900" / "900002.mp4"));
    EXPECT_FALSE(JournalLeftOver(songs()));
}

// A copy that cannot be put in place (something took its name while the batch copied) is not
// added: its row goes, it stays queued with the reason, and the other song is added.
TEST_F(AddUserSongs, ACopyThatCannotBePutInPlaceStaysQueued) {
    PutDeviceList({{900000, 0, "Let It Be", "Ann", "", ""}});
    PutDeviceMedia("900000", ".mp4");
    ChooseDevice();
    Queue("900001", "Fine", MakeClip("a.mp4"));
    Queue("900002", "Blocked", MakeClip("b.mp4"));
    view.onPump = [&] {
        for (const auto& temporary : FindTemporaries({songs()})) {
            if (temporary.filename().string().starts_with("900002.mp4")) {
                std::filesystem::create_directories(songs() / "900" / "900002.mp4" / "inside");
            }
        }
    };
    ClearLog();
    dlg.OnAddToDevice();
    view.onPump = {};
    ASSERT_FALSE(view.messages.empty());
    EXPECT_NE(view.messages[0].text.find("\n900002 Blocked: "), std::string::npos) << view.messages[0].text;
    EXPECT_EQ(Numbers(DeviceCatalogue()), (std::vector<std::int32_t>{900000, 900001}));
    EXPECT_EQ(Numbers(dlg.deviceSongs()), (std::vector<std::int32_t>{900000, 900001}));
    EXPECT_EQ(view.Rows(ControlId::DeviceList).size(), 2u);
    EXPECT_EQ(Numbers(dlg.workSongs()), std::vector<std::int32_t>{900002});
    EXPECT_TRUE(FindTemporaries({songs()}).empty());
}

// Copies left recorded on a stick that went before its catalogue was written stay pending; choosing
// the same stick again catalogues them (and sweeps what killed runs left there), so nothing is orphaned.
TEST_F(AddUserSongs, PendingCopiesAreCataloguedWhenTheStickIsChosenAgain) {
    PutDeviceList({{900000, 0, "Let It Be", "Ann", "", ""}});
    PutDeviceMedia("900000", ".mp4");
    ChooseDevice();
    Queue("900001", "Fine", MakeClip("a.mp4"));
    const auto pulled = dir / "pulled";
    PullStickWhenCopied({songs() / "900" / "900001.mp4"}, pulled);
    dlg.OnAddToDevice();
    view.onPump = {};
    ASSERT_EQ(dlg.pendingCopies().size(), 1u);
    PutStickBack(pulled);
    EXPECT_EQ(Numbers(DeviceCatalogue()), std::vector<std::int32_t>{900000});

    const auto stale = TemporaryNameFor(songs() / "900" / "900009.mp4");
    WriteBytes(stale, "left by a killed run");
    ClearLog();
    ChooseDevice();
    EXPECT_TRUE(dlg.pendingCopies().empty());
    EXPECT_EQ(Numbers(DeviceCatalogue()), (std::vector<std::int32_t>{900000, 900001}));
    EXPECT_EQ(Numbers(dlg.deviceSongs()), (std::vector<std::int32_t>{900000, 900001}));
    EXPECT_FALSE(std::filesystem::exists(stale));
}

class DeleteSong : public DialogTest {
protected:
    void SetUp() override {
        PutDeviceList({{900000, 0, "Let It Be", "Ann", "", ""}, {900123, 0, "Hey", "Bob", "", ""}});
        PutDeviceMedia("900000", ".mp4");
        PutDeviceMedia("900123", ".mp4");
        PutDeviceMedia("900123", ".lrc", "words");
        PutDeviceMedia("9001234", ".mp4", "another song");
        ChooseDevice();
        Queue("901001", "Queued one", MakeClip("a.mp4"));
        Queue("901002", "Queued two", MakeClip("b.mp4"));
        ClearLog();
    }
};

TEST_F(DeleteSong, FromTheWorkList) {
    dlg.OnListRightClick(ControlId::WorkList, 0);
    EXPECT_TRUE(view.lastMenuDeleteEnabled);
    view.answers = {MessageAnswer::No};
    dlg.OnDeleteSong();
    EXPECT_EQ(view.MessageLog(), Log{"Note|Confirm song deletion?"});
    EXPECT_EQ(dlg.workSongs().size(), 2u);
    EXPECT_EQ(dlg.menuList(), ControlId::None);
    EXPECT_EQ(dlg.menuRow(), -1);
    // The target is gone: a second Delete does nothing.
    dlg.OnDeleteSong();
    EXPECT_EQ(view.messages.size(), 1u);

    dlg.OnListRightClick(ControlId::WorkList, 0);
    view.answers = {MessageAnswer::Yes};
    dlg.OnDeleteSong();
    EXPECT_EQ(Numbers(dlg.workSongs()), std::vector<std::int32_t>{901002});
    EXPECT_EQ(view.Rows(ControlId::WorkList), Log{"901002|EG|Queued two|||"});
    EXPECT_EQ(view.messages.size(), 2u);  // no rebuild, no closing message
    EXPECT_EQ(Numbers(DeviceCatalogue()), (std::vector<std::int32_t>{900000, 900123}));
}

TEST_F(DeleteSong, FromTheDeviceRemovesItsFilesAndRebuilds) {
    dlg.OnListRightClick(ControlId::DeviceList, 1);
    view.answers = {MessageAnswer::No};
    dlg.OnDeleteSong();
    EXPECT_EQ(dlg.deviceSongs().size(), 2u);
    EXPECT_TRUE(std::filesystem::exists(songs() / "900" / "900123.mp4"));

    dlg.OnListRightClick(ControlId::DeviceList, 1);
    view.answers = {MessageAnswer::Yes};
    dlg.OnDeleteSong();
    EXPECT_EQ(view.MessageLog(),
              (Log{"Note|Confirm song deletion?", "Note|Confirm song deletion?", "Note|Song deleted successfully"}));
    EXPECT_EQ(view.Rows(ControlId::DeviceList), Log{"900000|EG|Let It Be|Ann||"});
    EXPECT_EQ(Numbers(DeviceCatalogue()), std::vector<std::int32_t>{900000});
    EXPECT_FALSE(std::filesystem::exists(songs() / "900" / "900123.mp4"));
    EXPECT_FALSE(std::filesystem::exists(songs() / "900" / "900123.lrc"));
    EXPECT_TRUE(std::filesystem::exists(songs() / "900" / "9001234.mp4"));
    EXPECT_TRUE(std::filesystem::exists(songs() / "900" / "900000.mp4"));
    // The queued songs are untouched.
    EXPECT_EQ(dlg.workSongs().size(), 2u);
}

TEST_F(DeleteSong, TheLastDeviceSongLeavesAnEmptyDevice) {
    for (int i = 0; i < 2; ++i) {
        dlg.OnListRightClick(ControlId::DeviceList, 0);
        view.answers = {MessageAnswer::Yes};
        dlg.OnDeleteSong();
    }
    EXPECT_EQ(view.MessageLog().back(), "Note|Song deleted successfully");
    EXPECT_TRUE(dlg.deviceSongs().empty());
    EXPECT_FALSE(std::filesystem::exists(songs() / "SgList.dat"));
    EXPECT_TRUE(QueryRows(songs() / "usbsong.db", "select idx from songlist").empty());
}

TEST_F(DeleteSong, OutsideAnyRowTheMenuHasNoDelete) {
    dlg.OnListRightClick(ControlId::DeviceList, -1);
    EXPECT_FALSE(view.lastMenuDeleteEnabled);
    EXPECT_EQ(dlg.menuList(), ControlId::None);
    EXPECT_EQ(dlg.menuRow(), -1);
    dlg.OnListRightClick(ControlId::DeviceList, 2);  // just below the last row
    EXPECT_FALSE(view.lastMenuDeleteEnabled);
    EXPECT_EQ(dlg.menuRow(), -1);
    dlg.OnDeleteSong();
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.contextMenus, 2);
}

// The delete frees the media before the catalogue is written (so a full stick can be emptied): a
// catalogue that cannot be written leaves the song listed without its files, and no record behind.
TEST_F(DeleteSong, AFailedRebuildLeavesTheSongListedAndNoRecord) {
    PutDeviceList({{900000, 0, "Let It Be", "Ann", "", ""},
                   {900123, 0, "Hey", "Bob", "", ""},
                   {900200, 0, kUnbuildableTitle, "", "", ""}});
    ChooseDevice();
    const std::string oldList = ReadBytes(songs() / "SgList.dat");
    dlg.OnListRightClick(ControlId::DeviceList, 1);
    view.answers = {MessageAnswer::Yes};
    dlg.OnDeleteSong();
    EXPECT_EQ(view.MessageLog().back(),
              "Trallix Song Loader|2have row error:Song name characters is wrong!\nTemp File Analyse Error!\n"
              "The song's files are removed, but the catalogue still lists it; delete it again once the catalogue "
              "can be written.");
    EXPECT_EQ(Numbers(dlg.deviceSongs()), (std::vector<std::int32_t>{900000, 900123, 900200}));
    EXPECT_FALSE(std::filesystem::exists(songs() / "900" / "900123.mp4"));
    EXPECT_EQ(ReadBytes(songs() / "SgList.dat"), oldList);
    // No record is left to stop later writes: deleting the refused song works.
    EXPECT_FALSE(JournalLeftOver(songs()));
    dlg.OnListRightClick(ControlId::DeviceList, 2);
    view.answers = {MessageAnswer::Yes};
    dlg.OnDeleteSong();
    EXPECT_EQ(view.MessageLog().back(), "Note|Song deleted successfully");
    EXPECT_EQ(Numbers(DeviceCatalogue()), (std::vector<std::int32_t>{900000, 900123}));
}

TEST_F(DeleteSong, DeletingTheEditedRowEndsTheEdit) {
    dlg.OnDeviceListDoubleClick(1);
    dlg.OnListRightClick(ControlId::DeviceList, 0);
    view.answers = {MessageAnswer::Yes};
    dlg.OnDeleteSong();
    // The edited song moved up one row.
    EXPECT_EQ(dlg.editTarget(), EditTarget::DeviceList);
    EXPECT_EQ(dlg.editRow(), 0);

    dlg.OnListRightClick(ControlId::DeviceList, 0);
    view.answers = {MessageAnswer::Yes};
    dlg.OnDeleteSong();
    EXPECT_EQ(dlg.editTarget(), EditTarget::None);
    EXPECT_FALSE(view.IsEnabled(ControlId::Revise));
    EXPECT_TRUE(view.IsEnabled(ControlId::QueueToAdd));
}

// A media file without an extension is not queued (the player finds songs by their extension);
// a device song already stored without one is still moved and deleted with its file.
TEST_F(AddUserSongs, AMediaFileWithoutAnExtension) {
    PutDeviceList({{900123, 0, "Plain", "", "", ""}});
    const auto stored = PutDeviceMedia("900123", "");
    const std::string bytes = ReadBytes(stored);
    ChooseDevice();
    const auto clip = MakeClip("clips.v2/song");
    FillForm("900200", "Other", clip);
    // The player finds songs by extension: such a file plays only after conversion (to .mp4).
    view.answers = {MessageAnswer::No};
    dlg.OnQueueToAdd();
    EXPECT_EQ(view.MessageLog(),
              Log{"Note|1 files must be converted first; this takes about 1 minutes. Convert them?"});
    EXPECT_TRUE(dlg.workSongs().empty());
    ClearLog();

    dlg.OnDeviceListDoubleClick(0);
    view.Type(ControlId::Number, "901000");
    dlg.OnRevise();
    EXPECT_FALSE(std::filesystem::exists(songs() / "900" / "900123"));
    EXPECT_EQ(ReadBytes(songs() / "901" / "901000"), bytes);

    dlg.OnListRightClick(ControlId::DeviceList, 0);
    view.answers = {MessageAnswer::Yes};
    dlg.OnDeleteSong();
    EXPECT_FALSE(std::filesystem::exists(songs() / "901" / "901000"));
    EXPECT_EQ(view.MessageLog(),
              (Log{"Note|Revised successfully!", "Note|Confirm song deletion?", "Note|Song deleted successfully"}));
}

}  // namespace
}  // namespace songloader::test
