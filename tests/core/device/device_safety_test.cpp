// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/sysmacros.h>

#include <algorithm>

#include <chrono>
#include <fstream>
#include <thread>

#include "core/device/device_identity.h"
#include "core/device/device_room.h"
#include "core/device/device_write_session.h"
#include "core/device/mount_watcher.h"
#include "support/media_samples.h"
#include "support/fake_drive_system.h"
#include "support/temp_dir.h"
#include "support/tmpfs_mount.h"
#include "support/sysfs_fixture.h"

namespace songloader {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

MountFiles FixtureFiles(const test::SysfsFixture& fixture) {
    return {fixture.root() / "mountinfo", fixture.root() / "disk"};
}

// The stick sdb1 mounted at media/STICK, with its file system's UUID and label linked as udev does.
fs::path MountStick(test::SysfsFixture& fixture) {
    const fs::path mount = fixture.media() / "STICK";
    fixture.Mount(mount, 8, 17, "/dev/sdb1");
    fs::create_directories(fixture.root() / "disk" / "by-uuid");
    fs::create_directories(fixture.root() / "disk" / "by-label");
    fs::create_symlink("../../sdb1", fixture.root() / "disk" / "by-uuid" / "1A2B-3C4D");
    fs::create_symlink("../../sdb1", fixture.root() / "disk" / "by-label" / "KARAOKE");
    fs::create_symlink("../../sda3", fixture.root() / "disk" / "by-uuid" / "0000-0001");
    return mount;
}

TEST(DeviceIdentity, MountFactsAreRemembered) {
    test::SysfsFixture fixture;
    const fs::path stick = MountStick(fixture);
    const auto identity = ReadDeviceIdentity(stick, FixtureFiles(fixture));
    ASSERT_TRUE(identity);
    EXPECT_EQ(identity->mountId, 100);
    EXPECT_EQ(identity->mountDevice, makedev(8, 17));
    EXPECT_EQ(identity->uuid, "1A2B-3C4D");
    EXPECT_EQ(identity->label, "KARAOKE");
    EXPECT_TRUE(DeviceStillHolds(*identity, stick, FixtureFiles(fixture)));
}

TEST(DeviceIdentity, AnotherVolumeOrTheBareFolderIsRefused) {
    struct Case {
        const char* name;
        void (*change)(test::SysfsFixture&, const fs::path&);
    };
    const Case cases[] = {
        {"unmounted: the bare mount point on the system disk",
         [](test::SysfsFixture& f, const fs::path&) {
             test::WriteBytes(f.root() / "mountinfo", "22 1 259:2 / / rw - ext4 /dev/nvme0n1p2 rw\n");
         }},
        {"mounted again (a new mount id)",
         [](test::SysfsFixture& f, const fs::path& stick) { f.Mount(stick, 8, 17, "/dev/sdb1"); }},
        {"another stick on the same folder",
         [](test::SysfsFixture& f, const fs::path& stick) { f.Mount(stick, 8, 33, "/dev/sdc1"); }},
        {"the folder replaced by another of the same path",
         [](test::SysfsFixture&, const fs::path& stick) {
             fs::rename(stick, stick.parent_path() / "old");
             fs::create_directory(stick);
         }},
        {"the folder gone", [](test::SysfsFixture&, const fs::path& stick) { fs::remove_all(stick); }},
    };
    for (const Case& c : cases) {
        test::SysfsFixture fixture;
        const fs::path stick = MountStick(fixture);
        const auto identity = ReadDeviceIdentity(stick, FixtureFiles(fixture));
        ASSERT_TRUE(identity) << c.name;
        c.change(fixture, stick);
        EXPECT_FALSE(DeviceStillHolds(*identity, stick, FixtureFiles(fixture))) << c.name;
    }
}

TEST(DeviceIdentity, RealTmpfsReplacedOnTheSameFolderIsRefused) {
    test::TempDir dir;
    const fs::path stick = dir / "STICK";
    auto first = std::make_unique<test::TmpfsMount>(stick, 1 << 20);
    if (!first->mounted()) GTEST_SKIP() << first->why_not();
    const auto identity = ReadDeviceIdentity(stick);
    ASSERT_TRUE(identity);
    EXPECT_GE(identity->mountId, 0);
    DeviceWriteSession before(*identity, stick);
    EXPECT_TRUE(before.ready());

    first->Unmount();
    EXPECT_FALSE(before.StillHolds()) << "the session's volume went away";
    EXPECT_FALSE(DeviceStillHolds(*identity, stick)) << "the bare folder below";
    test::TmpfsMount second(stick, 1 << 20);
    ASSERT_TRUE(second.mounted());
    EXPECT_FALSE(DeviceStillHolds(*identity, stick)) << "another volume on the same folder";
    DeviceWriteSession after(*identity, stick);
    EXPECT_EQ(after.status(), DeviceWriteStatus::Changed);
    EXPECT_FALSE(fs::exists(stick / "songs")) << "nothing may be written on the other volume";
}

TEST(DeviceWriteLock, SecondWriterWaitsThenIsBusy) {
    test::TempDir dir;
    const fs::path device = dir / "stick";
    fs::create_directories(device);
    const auto identity = ReadDeviceIdentity(device);
    ASSERT_TRUE(identity);
    {
        DeviceWriteSession first(*identity, device);
        ASSERT_TRUE(first.ready());
        EXPECT_TRUE(fs::is_directory(device / "songs"));
        const auto start = std::chrono::steady_clock::now();
        DeviceWriteSession second(*identity, device, {}, 200ms);
        EXPECT_EQ(second.status(), DeviceWriteStatus::Busy);
        EXPECT_EQ(second.refusal(), kDeviceBusyMessage);
        EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms);
    }
    DeviceWriteSession third(*identity, device, {}, 0ms);
    EXPECT_TRUE(third.ready()) << "the lock goes with the session";
    EXPECT_EQ(test::ListFiles(device), std::vector<std::string>{}) << "no lock file on the device";
}

TEST(DeviceRoom, SizeRule) {
    constexpr std::uint64_t GiB = std::uint64_t{1} << 30;
    struct Case {
        std::uint64_t bytes;
        DeviceRoom room;
        const char* refusal;  // nullptr: fits
    };
    const Case cases[] = {
        {100, {100, 1, std::nullopt}, nullptr},
        {101, {100, 1, std::nullopt}, "clip.mp4 (101 bytes) does not fit on the device: only 100 bytes free."},
        {4 * GiB - 1, {8 * GiB, 1, kFatLargestFile}, nullptr},
        {4 * GiB,
         {8 * GiB, 1, kFatLargestFile},
         "clip.mp4 (4.0 GiB) is too large for the device: its file system (FAT) holds no file of 4 GiB or more."},
        {5 * GiB, {8 * GiB, 1, std::nullopt}, nullptr},  // exFAT and others
        {3 * GiB,
         {1536 * (GiB >> 10), 1, std::nullopt},
         "clip.mp4 (3.0 GiB) does not fit on the device: only 1.5 GiB free."},
    };
    for (const Case& c : cases) {
        const Result<> fits = RefuseForRoom("clip.mp4", c.bytes, c.room);
        if (c.refusal) {
            ASSERT_FALSE(fits) << c.bytes;
            EXPECT_EQ(fits.message(), std::string(c.refusal)) << c.bytes;
        } else {
            EXPECT_TRUE(fits) << c.bytes << ": " << fits.message();
        }
    }
}

TEST(DeviceRoom, SmallTmpfsRefusesWhatDoesNotFit) {
    test::TempDir dir;
    test::TmpfsMount stick(dir / "STICK", 256 * 1024);
    if (!stick.mounted()) GTEST_SKIP() << stick.why_not();
    const auto room = RoomOn(dir / "STICK");
    ASSERT_TRUE(room);
    EXPECT_LE(room->freeBytes, 256u * 1024);
    EXPECT_EQ(room->largestFile, std::nullopt);
    test::WriteMediaFile(dir / "small.mp4", 4000);
    test::WriteMediaFile(dir / "big.mp4", 300 * 1024);
    const Result<> small = RefuseMediaForRoom(dir / "small.mp4", dir / "STICK");
    EXPECT_TRUE(small) << small.message();
    const Result<> refusal = RefuseMediaForRoom(dir / "big.mp4", dir / "STICK");
    ASSERT_FALSE(refusal);
    EXPECT_EQ(refusal.message().rfind("big.mp4 (300 KiB) does not fit on the device: only ", 0), 0u)
        << refusal.message();
}

TEST(DeviceRoom, NoBlocksAtAllMeansTheRoomIsUnknown) {
    // What FUSE drivers report: nothing is refused for want of room.
    EXPECT_EQ(RoomFromCounts(0, 0, 4096, false), std::nullopt);
    const auto known = RoomFromCounts(100, 10, 4096, true);
    ASSERT_TRUE(known);
    EXPECT_EQ(known->freeBytes, 40960u);
    EXPECT_EQ(known->largestFile, kFatLargestFile);
}

TEST(MountWatcher, RemovalAndNewSticksBecomeEvents) {
    test::SysfsFixture fixture;
    const test::DiskSpec stick{"sdb", true, true, "Kingston", "DT", "1", 0, 8, 16};
    fixture.AddDisk(stick);
    fixture.AddPartition(stick, 1);
    const test::DiskSpec internal{"sda", false, false, "ATA", "SSD", "1", 0, 8, 0};
    fixture.AddDisk(internal);
    fixture.AddPartition(internal, 3);
    const LinuxDriveSystem system = fixture.System();
    MountWatcher watcher(fixture.root() / "mountinfo", system);
    EXPECT_EQ(watcher.Changes(), std::vector<MountEvent>{});

    const fs::path mount = fixture.media() / "STICK";
    fixture.Mount(mount, 8, 17, "/dev/sdb1");
    fixture.Mount(fixture.mnt() / "data", 8, 3, "/dev/sda3", "ext4");  // fixed, not USB: no offer
    EXPECT_EQ(watcher.Changes(), (std::vector<MountEvent>{{MountEvent::Kind::NewDevice, mount}}));
    EXPECT_EQ(watcher.Changes(), std::vector<MountEvent>{});

    test::WriteBytes(fixture.root() / "mountinfo", "22 1 259:2 / / rw - ext4 /dev/nvme0n1p2 rw\n");
    const auto gone = watcher.Changes();
    EXPECT_NE(std::find(gone.begin(), gone.end(), MountEvent{MountEvent::Kind::Unmounted, mount}), gone.end());
    EXPECT_FALSE(watcher.WaitForChange(0ms)) << "a plain file never marks a change";
}

TEST(MountWatcher, KernelMarksMountTableChanges) {
    const test::FakeDriveSystem none;
    MountWatcher watcher("/proc/self/mountinfo", none);
    ASSERT_GE(watcher.fileDescriptor(), 0);
    watcher.WaitForChange(0ms);  // take any mark left from before
    test::TempDir dir;
    test::TmpfsMount stick(dir / "STICK", 1 << 20);
    if (!stick.mounted()) GTEST_SKIP() << stick.why_not();
    EXPECT_TRUE(watcher.WaitForChange(1000ms));
    stick.Unmount();
    EXPECT_TRUE(watcher.WaitForChange(1000ms));
    const auto events = watcher.Changes();
    EXPECT_EQ(events, std::vector<MountEvent>{}) << "mounted and unmounted between two looks";
}

}  // namespace
}  // namespace songloader
