// SPDX-License-Identifier: GPL-3.0-or-later
// The device found as the window finds it, DEVICE resolved as "Select USB Drive" resolves it, and
// revising a song on the device.
#include <gtest/gtest.h>

#include "support/media_samples.h"
#include "support/run_program.h"
#include "support/sysfs_fixture.h"
#include "support/temp_dir.h"

namespace songloader {
namespace {

namespace fs = std::filesystem;
using test::DiskSpec;
using test::ProgramRun;

class DeviceChoice : public ::testing::Test {
protected:
    ProgramRun Run(std::vector<std::string> args) {
        std::vector<std::string> environment = fixture_.Environment();
        environment.push_back("LC_ALL=en_US.UTF-8");
        environment.push_back("XDG_CONFIG_HOME=" + (dir_ / "config").string());
        return test::RunProgram(SONGLOADER_CLI_PATH, args, environment);
    }
    // A USB stick sdb (partition 8:17) mounted below the media folder.
    fs::path MountStick() {
        const DiskSpec stick{"sdb", true, true, "Kingston", "DataTraveler 3.0", "PMAP", 0, 8, 16};
        fixture_.AddDisk(stick);
        fixture_.AddPartition(stick, 1);
        const fs::path mount = fixture_.media() / "ann" / "KARAOKE";
        fixture_.Mount(mount, 8, 17, "/dev/sdb1");
        return mount;
    }
    // An internal disk sda (partition 8:3) mounted below /mnt: listed, never chosen.
    fs::path MountInternalDisk() {
        const DiskSpec disk{"sda", false, false, "ATA", "Samsung SSD 860", "4B6Q", 0, 8, 0};
        fixture_.AddDisk(disk);
        fixture_.AddPartition(disk, 3);
        const fs::path mount = fixture_.mnt() / "data";
        fixture_.Mount(mount, 8, 3, "/dev/sda3", "ext4");
        return mount;
    }
    std::string Clip() {
        test::WriteMediaSample(dir_ / "clip.mp4", 3000);
        return (dir_ / "clip.mp4").string();
    }

    test::SysfsFixture fixture_;
    test::TempDir dir_;
};

TEST_F(DeviceChoice, WithoutDeviceTheAutomaticChoiceIsUsedAndNamed) {
    ProgramRun none = Run({"list"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.err, "songloader-cli: Please insert device!!\n");
    const fs::path internal = MountInternalDisk();
    ProgramRun onlyInternal = Run({"devices"});
    EXPECT_EQ(onlyInternal.exitCode, 1);
    EXPECT_EQ(onlyInternal.out.rfind(" \t" + internal.string() + "\tdata\t", 0), 0u) << onlyInternal.out;

    const fs::path stick = MountStick();
    ProgramRun add = Run({"add", Clip(), "--title", "One"});
    ASSERT_EQ(add.exitCode, 0) << add.err;
    EXPECT_EQ(add.out, "900000\n");
    EXPECT_EQ(add.err, "Using " + stick.string() + "\nAdded successfully\n");
    EXPECT_TRUE(fs::exists(stick / "songs" / "900" / "900000.mp4"));

    ProgramRun devices = Run({"devices"});
    ASSERT_EQ(devices.exitCode, 0) << devices.err;
    const auto lines = devices.out;
    EXPECT_NE(lines.find("*\t" + stick.string() + "\tKARAOKE\t"), std::string::npos) << lines;
    EXPECT_NE(lines.find("\tremovable,usb\tsongs/SgList.dat\n"), std::string::npos) << lines;
    EXPECT_NE(lines.find(" \t" + internal.string() + "\tdata\t"), std::string::npos) << lines;
    EXPECT_NE(lines.find("\tfixed\t-\n"), std::string::npos) << lines;
}

TEST_F(DeviceChoice, AFolderOnTheStickIsTheStickAndASongsFolderIsRefused) {
    const fs::path stick = MountStick();
    fs::create_directories(stick / "music" / "new");
    ProgramRun inside = Run({"add", (stick / "music" / "new").string(), Clip(), "--title", "One"});
    ASSERT_EQ(inside.exitCode, 0) << inside.err;
    EXPECT_EQ(inside.err, "Using " + stick.string() + "\nAdded successfully\n");
    EXPECT_TRUE(fs::exists(stick / "songs" / "SgList.dat"));

    // The stick's songs folder, and any folder holding a song list, is not a device.
    const fs::path plain = dir_ / "plain";
    fs::create_directories(plain / "songs");
    test::WriteBytes(plain / "songs" / "SgList.dat", "");
    for (const fs::path& songs : {stick / "songs", plain / "songs"}) {
        ProgramRun refused = Run({"add", songs.string(), Clip(), "--title", "Two"});
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_EQ(refused.err, "songloader-cli: " + songs.string() +
                                   " is a device's songs folder; give the device "
                                   "itself: " +
                                   songs.parent_path().string() + "\n");
        EXPECT_FALSE(fs::exists(songs / "songs"));
    }
}

TEST_F(DeviceChoice, ReviseMovesEveryFileOfTheSongOrNothing) {
    const fs::path stick = MountStick();
    const fs::path songs = stick / "songs";
    ASSERT_EQ(Run({"add", Clip(), "--title", "One", "--language", "EG"}).exitCode, 0);
    ASSERT_EQ(Run({"add", Clip(), "--title", "Two"}).exitCode, 0);
    test::WriteBytes(songs / "900" / "900000.lrc", "lyrics");
    const std::string list = test::ReadBytes(songs / "SgList.dat");

    struct Refusal {
        std::vector<std::string> args;
        int exitCode;
        std::string err;
    };
    for (const Refusal& r : std::vector<Refusal>{
             {{"revise", "900000", "--number", "900001"},
              1,
              "songloader-cli: Song number is duplicate with existing file of device\n"},
             {{"revise", "900000", "--number", "800001"},
              1,
              "songloader-cli: The first digit of song number must be 9\n"},
             {{"revise", "900000", "--number", "9001"},
              1,
              "songloader-cli: Song number?must?be?six?digit from 900000 to 999999!\n"},
             {{"revise", "900000", "--title", ""}, 1, "songloader-cli: Please enter song title\n"},
             {{"revise", "912345", "--title", "X"}, 1, "songloader-cli: song 912345 is not on the device\n"}}) {
        ProgramRun run = Run(r.args);
        EXPECT_EQ(run.exitCode, r.exitCode) << r.args[2];
        EXPECT_EQ(run.err, "Using " + stick.string() + "\n" + r.err) << r.args[2];
    }
    EXPECT_EQ(test::ReadBytes(songs / "SgList.dat"), list);
    EXPECT_EQ(test::ListFiles(songs), (std::vector<std::string>{"900/900000.lrc", "900/900000.mp4", "900/900001.mp4",
                                                                "SgList.dat", "usbsong.db"}));

    ProgramRun revise = Run({"revise", stick.string(), "900000", "--number", "901000", "--artist", "Ann"});
    ASSERT_EQ(revise.exitCode, 0) << revise.err;
    EXPECT_EQ(revise.out, "Revised successfully!\n");
    EXPECT_EQ(test::ListFiles(songs), (std::vector<std::string>{"900/900001.mp4", "901/901000.lrc", "901/901000.mp4",
                                                                "SgList.dat", "usbsong.db"}));
    EXPECT_EQ(test::ReadBytes(songs / "901" / "901000.lrc"), "lyrics");
    EXPECT_EQ(Run({"list"}).out, "901000\tEG\tOne\tAnn\t\t\n900001\tOther\tTwo\t\t\t\n");
}

}  // namespace
}  // namespace songloader
