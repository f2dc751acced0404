// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/device/drive_system.h"
#include "support/sysfs_fixture.h"
#include "support/temp_dir.h"

namespace songloader {
namespace {

namespace fs = std::filesystem;
using test::DiskSpec;
using test::SysfsFixture;

DiskSpec Stick(const std::string& name, int minor) {
    return {name, true, true, "Kingston", "DataTraveler 3.0", "PMAP", 0, 8, minor};
}
DiskSpec UsbHardDisk(const std::string& name, int minor) {
    return {name, true, false, "WD", "Elements 25A2", "1021", 0, 8, minor};
}
DiskSpec CardReader(const std::string& name, int minor) {
    return {name, true, true, "Generic", "STORAGE DEVICE", "1404", 0, 8, minor};
}
DiskSpec InternalDisk(const std::string& name, int minor) {
    return {name, false, false, "ATA", "Samsung SSD 860", "4B6Q", 0, 8, minor};
}

// The stick sdb with its first partition sdb1 (device 8:17), not yet mounted.
void AddStickWithPartition(SysfsFixture& fixture) {
    const DiskSpec stick = Stick("sdb", 16);
    fixture.AddDisk(stick);
    fixture.AddPartition(stick, 1);
}

TEST(LinuxDriveSystem, RemovableStickIsFoundAndChosen) {
    SysfsFixture fixture;
    AddStickWithPartition(fixture);
    const fs::path mount = fixture.media() / "ann" / "KARAOKE";
    fixture.Mount(mount, 8, 17, "/dev/sdb1");

    const LinuxDriveSystem system = fixture.System();
    EXPECT_EQ(system.DriveTable(), std::vector<fs::path>{mount});
    EXPECT_EQ(system.KindOf(mount), DriveKind::Removable);
    EXPECT_TRUE(system.IsUsbDisk(mount));
    EXPECT_TRUE(system.IsAccessible(mount));
    EXPECT_EQ(ChooseDeviceDrive(system), mount);
}

TEST(LinuxDriveSystem, UsbHardDiskIsFixedOnUsb) {
    SysfsFixture fixture;
    const DiskSpec disk = UsbHardDisk("sdc", 32);
    fixture.AddDisk(disk);
    fixture.AddPartition(disk, 1);
    const fs::path mount = fixture.media() / "ann" / "Elements";
    fixture.Mount(mount, 8, 33, "/dev/sdc1", "exfat");

    const LinuxDriveSystem system = fixture.System();
    EXPECT_EQ(system.KindOf(mount), DriveKind::Fixed);
    EXPECT_TRUE(system.IsUsbDisk(mount));
    EXPECT_EQ(ChooseDeviceDrive(system), mount);
}

TEST(LinuxDriveSystem, InternalDiskIsFixedAndNeverChosen) {
    SysfsFixture fixture;
    const DiskSpec disk = InternalDisk("sda", 0);
    fixture.AddDisk(disk);
    fixture.AddPartition(disk, 3);
    const fs::path mount = fixture.mnt() / "data";
    fixture.Mount(mount, 8, 3, "/dev/sda3", "ext4");

    const LinuxDriveSystem system = fixture.System();
    EXPECT_EQ(system.DriveTable(), std::vector<fs::path>{mount});
    EXPECT_EQ(system.KindOf(mount), DriveKind::Fixed);
    EXPECT_FALSE(system.IsUsbDisk(mount));
    EXPECT_EQ(ChooseDeviceDrive(system), std::nullopt);
}

TEST(LinuxDriveSystem, OnlyBlockDeviceMountsBelowTheMediaFoldersAreDrives) {
    SysfsFixture fixture;
    AddStickWithPartition(fixture);
    fixture.Mount(fixture.root() / "elsewhere", 8, 17, "/dev/sdb1");  // not below a media folder
    fixture.Mount(fixture.mnt() / "ram", 0, 45, "tmpfs", "tmpfs");    // no block device
    fixture.Mount(fixture.mnt() / "share", 0, 46, "//nas/share", "cifs");
    fixture.Mount(fixture.mnt() / "gone", 8, 99, "/dev/sdz9");  // no such device in sysfs
    EXPECT_TRUE(fixture.System().DriveTable().empty());

    // A whole disk without partitions, mounted at a media folder itself.
    fixture.Mount(fixture.mnt(), 8, 16, "/dev/sdb");
    EXPECT_EQ(fixture.System().DriveTable(), std::vector<fs::path>{fixture.mnt()});
    EXPECT_EQ(fixture.System().KindOf(fixture.mnt()), DriveKind::Removable);
}

TEST(LinuxDriveSystem, AnonymousDeviceNumberIsFoundThroughTheSource) {
    SysfsFixture fixture;
    AddStickWithPartition(fixture);
    const fs::path mount = fixture.media() / "btr";
    fixture.Mount(mount, 0, 52, "/dev/sdb1", "btrfs");
    const LinuxDriveSystem system = fixture.System();
    EXPECT_EQ(system.DriveTable(), std::vector<fs::path>{mount});
    EXPECT_EQ(system.KindOf(mount), DriveKind::Removable);
    EXPECT_TRUE(system.IsUsbDisk(mount));
}

TEST(LinuxDriveSystem, OpticalDrivesAreNeitherRemovableNorFixed) {
    SysfsFixture fixture;
    DiskSpec drive{"sr0", true, true, "ASUS", "SDRW-08D2S-U", "F201", 5, 11, 0};
    fixture.AddDisk(drive);
    const fs::path mount = fixture.media() / "DVD";
    fixture.Mount(mount, 11, 0, "/dev/sr0", "iso9660");
    const LinuxDriveSystem system = fixture.System();
    EXPECT_EQ(system.KindOf(mount), DriveKind::Other);
    EXPECT_EQ(ChooseDeviceDrive(system), std::nullopt);
}

TEST(LinuxDriveSystem, MountPointsWithBlanksAreUnescaped) {
    SysfsFixture fixture;
    AddStickWithPartition(fixture);
    const fs::path mount = fixture.media() / "ann" / "MY SONGS\tA\\B";
    fixture.Mount(mount, 8, 17, "/dev/sdb1");

    const LinuxDriveSystem system = fixture.System();
    ASSERT_EQ(system.DriveTable(), std::vector<fs::path>{mount});
    EXPECT_EQ(system.KindOf(mount), DriveKind::Removable);
    EXPECT_TRUE(system.IsAccessible(mount));
    EXPECT_EQ(ChooseDeviceDrive(system), mount);
    EXPECT_EQ(system.VolumeHolding(mount / "songs"), mount);
}

TEST(LinuxDriveSystem, TableIsOrderedByMountPointAndHoldsTwentyThree) {
    SysfsFixture fixture;
    const DiskSpec internal = InternalDisk("sda", 0);
    fixture.AddDisk(internal);
    for (int i = 1; i <= 15; ++i) fixture.AddPartition(internal, i);
    const DiskSpec other = InternalDisk("sdd", 48);
    fixture.AddDisk(other);
    for (int i = 1; i <= 10; ++i) fixture.AddPartition(other, i);
    // 25 fixed mounts m00 .. m24, given out of order.
    for (int i = 24; i >= 0; --i) {
        char name[8];
        std::snprintf(name, sizeof name, "m%02d", i);
        if (i < 15) fixture.Mount(fixture.mnt() / name, 8, i + 1, "/dev/sda" + std::to_string(i + 1), "ext4");
        else fixture.Mount(fixture.mnt() / name, 8, 48 + i - 14, "/dev/sdd" + std::to_string(i - 14), "ext4");
    }
    const auto table = fixture.System().DriveTable();
    ASSERT_EQ(table.size(), kDriveTableSize);
    EXPECT_EQ(table.front(), fixture.mnt() / "m00");
    EXPECT_EQ(table.back(), fixture.mnt() / "m22");

    // A stick whose mount point sorts 21st is in the table but cannot be chosen automatically.
    AddStickWithPartition(fixture);
    fixture.Mount(fixture.mnt() / "m20a", 8, 17, "/dev/sdb1");
    EXPECT_EQ(fixture.System().DriveTable()[21], fixture.mnt() / "m20a");
    EXPECT_EQ(ChooseDeviceDrive(fixture.System()), std::nullopt);

    // Mounted again so that it sorts 20th, it is chosen.
    fixture.Mount(fixture.mnt() / "m18a", 8, 17, "/dev/sdb1");
    EXPECT_EQ(ChooseDeviceDrive(fixture.System()), fixture.mnt() / "m18a");
}

TEST(LinuxDriveSystem, ALaterMountOnTheSameFolderHidesTheEarlierOne) {
    SysfsFixture fixture;
    const DiskSpec internal = InternalDisk("sda", 0);
    fixture.AddDisk(internal);
    fixture.AddPartition(internal, 1);
    AddStickWithPartition(fixture);
    const fs::path mount = fixture.mnt() / "x";
    fixture.Mount(mount, 8, 1, "/dev/sda1", "ext4");
    fixture.Mount(mount, 8, 17, "/dev/sdb1");
    const LinuxDriveSystem system = fixture.System();
    EXPECT_EQ(system.DriveTable(), std::vector<fs::path>{mount});
    EXPECT_EQ(system.KindOf(mount), DriveKind::Removable);
}

TEST(LinuxDriveSystem, DiskEnumerationNamesUsbDisksByVendorAndModel) {
    SysfsFixture fixture;
    fixture.AddDisk(InternalDisk("sda", 0));
    fixture.AddDisk(UsbHardDisk("sdb", 16));
    fixture.AddDisk(CardReader("sdc", 32));
    fixture.AddDisk(Stick("sdaa", 64));  // the kernel's 27th disk comes after sdz
    const auto list = fixture.System().DiskEnumList();
    ASSERT_TRUE(list);
    EXPECT_EQ(*list, (std::vector<std::string>{
                         "SCSI\\Disk&Ven_ATA&Prod_Samsung_SSD_860&Rev_4B6Q",
                         "USBSTOR\\Disk&Ven_WD&Prod_Elements_25A2&Rev_1021",
                         "USBSTOR\\Disk&Ven_Generic&Prod_STORAGE_DEVICE&Rev_1404",
                         "USBSTOR\\Disk&Ven_Kingston&Prod_DataTraveler_3.0&Rev_PMAP",
                     }));
    // The Generic reader stands third: CheckDiskEnum prefers the removable drive.
    EXPECT_TRUE(CheckDiskEnum(fixture.System()));
}

TEST(LinuxDriveSystem, GenericCardReaderEarlyInTheListPrefersTheUsbDisk) {
    SysfsFixture fixture;
    const DiskSpec reader = CardReader("sda", 0);
    const DiskSpec disk = UsbHardDisk("sdb", 16);
    fixture.AddDisk(reader);
    fixture.AddPartition(reader, 1);
    fixture.AddDisk(disk);
    fixture.AddPartition(disk, 1);
    fixture.Mount(fixture.media() / "card", 8, 1, "/dev/sda1");
    fixture.Mount(fixture.media() / "disk", 8, 17, "/dev/sdb1", "ntfs3");
    const LinuxDriveSystem system = fixture.System();
    EXPECT_FALSE(CheckDiskEnum(system));
    EXPECT_EQ(ChooseDeviceDrive(system), fixture.media() / "disk");

    // The card reader's medium is accessible and the disk is not: the reader wins.
    fs::remove(fixture.media() / "disk");
    EXPECT_EQ(ChooseDeviceDrive(system), fixture.media() / "card");
}

TEST(LinuxDriveSystem, MissingTablesGiveNoDrives) {
    test::TempDir dir;
    LinuxDriveSystem::Paths paths;
    paths.mountInfo = dir / "no-mountinfo";
    paths.sysRoot = dir / "no-sys";
    paths.mountRoots = {dir.path()};
    const LinuxDriveSystem system(paths);
    EXPECT_TRUE(system.DriveTable().empty());
    EXPECT_EQ(system.DiskEnumList(), std::nullopt);
    EXPECT_EQ(system.KindOf(dir.path()), DriveKind::Other);
    EXPECT_FALSE(system.IsUsbDisk(dir.path()));
    EXPECT_EQ(ChooseDeviceDrive(system), std::nullopt);
}

TEST(LinuxDriveSystem, PickedFolderSelectsItsVolumeOnlyWhenRemovableOrUsb) {
    SysfsFixture fixture;
    const DiskSpec stick = Stick("sdb", 16);
    const DiskSpec internal = InternalDisk("sda", 0);
    fixture.AddDisk(stick);
    fixture.AddPartition(stick, 1);
    fixture.AddDisk(internal);
    fixture.AddPartition(internal, 2);
    const fs::path stickMount = fixture.media() / "STICK";
    const fs::path dataMount = fixture.mnt() / "data";
    fixture.Mount(stickMount, 8, 17, "/dev/sdb1");
    fixture.Mount(dataMount, 8, 2, "/dev/sda2", "ext4");
    fs::create_directories(stickMount / "music" / "new");
    fs::create_directories(dataMount / "karaoke");

    const LinuxDriveSystem system = fixture.System();
    EXPECT_EQ(system.VolumeHolding(stickMount / "music" / "new"), stickMount);
    EXPECT_EQ(DeviceRootForPickedFolder(system, stickMount / "music" / "new"), stickMount);
    EXPECT_EQ(DeviceRootForPickedFolder(system, stickMount), stickMount);
    EXPECT_EQ(DeviceRootForPickedFolder(system, dataMount / "karaoke"), dataMount / "karaoke");
    // The root file system holds everything else; it is not a device.
    EXPECT_EQ(system.VolumeHolding(fixture.root() / "plain"), fs::path("/"));
    EXPECT_EQ(DeviceRootForPickedFolder(system, fixture.root() / "plain"), fixture.root() / "plain");
}

}  // namespace
}  // namespace songloader
