// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialog_fixture.h"

#include <memory>

#include "core/device/drive_ejector.h"
#include "core/app/dialog_texts.h"
#include "core/device/device_write_session.h"
#include "support/tmpfs_mount.h"

namespace songloader::test {
namespace {

namespace fs = std::filesystem;

const std::string kChanged = std::string("ERROR|") + kDeviceChangedMessage;

class DeviceSafety : public DialogTest {
protected:
    // Another volume where the chosen one was: the same path, another folder.
    void ReplaceStick() {
        fs::rename(stick, dir / "pulled");
        fs::create_directories(stick);
    }
    void ExpectDeviceForgotten() {
        EXPECT_TRUE(dlg.deviceSongs().empty());
        EXPECT_TRUE(view.Rows(ControlId::DeviceList).empty());
        for (ControlId output : {ControlId::Print, ControlId::PrintPreview, ControlId::ExportSongList}) {
            EXPECT_FALSE(view.IsEnabled(output));
        }
    }

    // A device song and a queued song; then the stick is replaced and `command` runs.
    void ExpectWriteRefusedAfterReplacement(const std::function<void()>& command) {
        PutDeviceList({{900000, 1, "Old", "", "", ""}});
        ChooseDevice();
        Queue("900001", "New", MakeClip("new.mp4"));
        ReplaceStick();
        ClearLog();
        command();
        ASSERT_FALSE(view.messages.empty());
        EXPECT_EQ(view.MessageLog().back(), kChanged);
        EXPECT_EQ(ListFiles(stick), std::vector<std::string>{}) << "written to the other volume";
        EXPECT_EQ(Numbers(dlg.workSongs()), std::vector<std::int32_t>{900001});
        ExpectDeviceForgotten();
    }
};

TEST_F(DeviceSafety, AddToAReplacedDeviceWritesNothingAndKeepsTheQueue) {
    ExpectWriteRefusedAfterReplacement([&] { dlg.OnAddToDevice(); });
}

TEST_F(DeviceSafety, DeleteOnAReplacedDeviceWritesNothing) {
    ExpectWriteRefusedAfterReplacement([&] {
        dlg.OnListRightClick(ControlId::DeviceList, 0);
        view.answers = {MessageAnswer::Yes};
        dlg.OnDeleteSong();
    });
}

// The stick goes while the revised song's catalogue is written: the list it was in is gone, so
// nothing is put back, neither the row nor the moved files.
TEST_F(DeviceSafety, AReviseWhoseDeviceGoesDuringTheRebuildPutsNothingBack) {
    PutDeviceList({{900000, 1, "Old", "", "", ""}});
    PutDeviceMedia("900000", ".mp4", "the video");
    ChooseDevice();
    const fs::path moved = dir / "pulled" / "songs" / "901" / "901000.mp4";
    view.onPump = [&] {
        // Only once the files have moved: the rebuild counts its songs then.
        if (!fs::exists(songs() / "900" / "900000.mp4") && !fs::exists(dir / "pulled")) ReplaceStick();
    };
    dlg.OnDeviceListDoubleClick(0);
    view.Type(ControlId::Number, "901000");
    ClearLog();
    dlg.OnRevise();
    EXPECT_EQ(view.MessageLog(), std::vector<std::string>{kChanged});
    EXPECT_EQ(ReadBytes(moved), "the video");
    ExpectDeviceForgotten();
}

// Another program's write between the choice and a window write is never overwritten.
TEST_F(DeviceSafety, AListChangedSinceItWasReadIsReadAgainAndNothingIsWritten) {
    PutDeviceList({{900000, 1, "Old", "", "", ""}});
    ChooseDevice();
    Queue("900001", "New", MakeClip("new.mp4"));
    PutDeviceList({{900000, 1, "Old", "", "", ""}, {900005, 1, "By another program", "", "", ""}});
    ClearLog();
    dlg.OnAddToDevice();
    EXPECT_EQ(view.MessageLog(),
              std::vector<std::string>{std::string(kApplicationName) + "|" + kDeviceListChangedMessage});
    EXPECT_EQ(Numbers(dlg.deviceSongs()), (std::vector<std::int32_t>{900000, 900005}));
    EXPECT_EQ(Numbers(dlg.workSongs()), std::vector<std::int32_t>{900001});
    EXPECT_EQ(ListFiles(songs()), std::vector<std::string>{"SgList.dat"});

    // Now the window knows the list: the next add keeps the other program's song.
    ClearLog();
    dlg.OnAddToDevice();
    EXPECT_EQ(Numbers(DeviceCatalogue()), (std::vector<std::int32_t>{900000, 900005, 900001}));
}

TEST_F(DeviceSafety, UnmountIsToldOnceAndANewStickIsOffered) {
    const fs::path elsewhere = dir / "media" / "OTHER";
    dlg.OnMountChanges({{MountEvent::Kind::NewDevice, elsewhere}});
    EXPECT_NE(view.Text(ControlId::SongFolderText).find(elsewhere.string()), std::string::npos);
    EXPECT_FALSE(fs::exists(elsewhere)) << "an offer writes nothing";

    PutDeviceList({{900000, 1, "Old", "", "", ""}});
    ChooseDevice();
    ClearLog();
    dlg.OnMountChanges({{MountEvent::Kind::Unmounted, stick}});
    EXPECT_TRUE(view.messages.empty()) << "the chosen volume is still there";
    dlg.OnMountChanges({{MountEvent::Kind::NewDevice, elsewhere}});
    EXPECT_EQ(view.Text(ControlId::SongFolderText), (songs() / "").string()) << "a device is chosen";

    ReplaceStick();
    dlg.OnMountChanges({{MountEvent::Kind::Unmounted, stick}});
    dlg.OnMountChanges({{MountEvent::Kind::Unmounted, stick}});
    EXPECT_EQ(view.MessageLog(), std::vector<std::string>{kChanged});
    ExpectDeviceForgotten();
}

TEST_F(DeviceSafety, ASongThatCannotFitIsRefusedAndTheOthersGoOn) {
    TmpfsMount small(stick, 512 * 1024);
    if (!small.mounted()) GTEST_SKIP() << small.why_not();
    ChooseDevice();
    Queue("900001", "Big", MakeClip("big.mp4", 600 * 1024));
    Queue("900002", "Small", MakeClip("small.mp4", 1000));
    ClearLog();
    dlg.OnAddToDevice();
    ASSERT_EQ(view.messages.size(), 2u);
    EXPECT_NE(view.messages[0].text.find("900001 Big: big.mp4 (600 KiB) does not fit on the device: only "),
              std::string::npos)
        << view.messages[0].text;
    EXPECT_EQ(view.messages[1].text, "Added successfully");
    EXPECT_EQ(Numbers(DeviceCatalogue()), std::vector<std::int32_t>{900002});
    EXPECT_EQ(Numbers(dlg.workSongs()), std::vector<std::int32_t>{900001});
}

// Records what it was asked and answers as the test says.
class ScriptedEjector final : public DriveEjector {
public:
    std::optional<EjectRefusal> refusal;  // none: ejected
    std::vector<fs::path> asked;
    Result<> Eject(const fs::path& mountPoint) override {
        asked.push_back(mountPoint);
        if (refusal) return EjectFailure(*refusal, mountPoint);
        return {};
    }
};

TEST_F(DeviceSafety, EjectUsbDrive) {
    struct Case {
        std::optional<EjectRefusal> refusal;
        bool holdLock;
        std::string says;
        bool forgotten;
    };
    const Case cases[] = {
        {std::nullopt, false, std::string("Note|") + kEjectedMessage, true},
        {EjectRefusal::Busy, false,
         std::string(kApplicationName) + "|" + stick.string() + " is in use by another program", false},
        {std::nullopt, true, std::string(kApplicationName) + "|" + kDeviceBusyMessage, false},
    };
    for (const Case& c : cases) {
        auto ejector = std::make_shared<ScriptedEjector>();
        ejector->refusal = c.refusal;
        DialogSettings withEjector = settings;
        withEjector.ejector = ejector;
        FakeView screen;
        CSonquillDlg window(screen, drives, client, withEjector);
        window.OnAutoCheckDevice();
        std::optional<DeviceWriteLock> otherCommand;
        if (c.holdLock) otherCommand.emplace(songs(), std::chrono::milliseconds(0));
        window.OnEjectDevice();
        EXPECT_EQ(screen.MessageLog(), std::vector<std::string>{c.says});
        EXPECT_EQ(window.songFolder().empty(), c.forgotten) << c.says;
        EXPECT_EQ(ejector->asked, c.holdLock ? std::vector<fs::path>{} : std::vector<fs::path>{stick}) << c.says;
        // The flush and the disk service are waited for off the window's thread.
        EXPECT_EQ(screen.works, std::vector<std::string>{"Ejecting the USB drive"}) << c.says;
    }
}

}  // namespace
}  // namespace songloader::test
