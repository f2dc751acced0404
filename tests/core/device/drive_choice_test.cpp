// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "core/device/drive_system.h"
#include "support/fake_drive_system.h"

namespace songloader {
namespace {

using test::FakeDrive;
using test::FakeDriveSystem;

FakeDrive Removable(const std::string& mount, bool accessible = true) {
    return {mount, DriveKind::Removable, true, accessible};
}
FakeDrive UsbDisk(const std::string& mount, bool accessible = true) {
    return {mount, DriveKind::Fixed, true, accessible};
}
FakeDrive InternalDisk(const std::string& mount) { return {mount, DriveKind::Fixed, false, true}; }

// Disk enumeration lists that make CheckDiskEnum true or false.
const std::vector<std::string> kPreferRemovable = {"SCSI\\Disk&Ven_ATA", "USBSTOR\\Disk&Ven_Kingston",
                                                   "USBSTOR\\Disk&Ven_Generic&Prod_SD"};
const std::vector<std::string> kPreferUsb = {"SCSI\\Disk&Ven_ATA", "USBSTOR\\Disk&Ven_Generic&Prod_SD"};

TEST(ChooseDeviceDrive, OneKindAlone) {
    FakeDriveSystem system;
    EXPECT_EQ(ChooseDeviceDrive(system), std::nullopt);

    system.drives = {InternalDisk("/mnt/data"), Removable("/media/g")};
    EXPECT_EQ(ChooseDeviceDrive(system), "/media/g");

    system.drives = {UsbDisk("/media/d"), InternalDisk("/mnt/e")};
    EXPECT_EQ(ChooseDeviceDrive(system), "/media/d");

    // A fixed disk that is not on USB and a volume of another kind are never chosen.
    system.drives = {InternalDisk("/mnt/data"), {"/media/cd", DriveKind::Other, true, true}};
    EXPECT_EQ(ChooseDeviceDrive(system), std::nullopt);
}

TEST(ChooseDeviceDrive, TheFirstOfEachKindCounts) {
    FakeDriveSystem system;
    system.drives = {Removable("/media/a", false), Removable("/media/b"), UsbDisk("/media/c")};
    // Only the first removable volume is looked at, even though it is not accessible.
    system.diskEnum = kPreferUsb;
    EXPECT_EQ(ChooseDeviceDrive(system), "/media/c");
}

TEST(ChooseDeviceDrive, BothKindsFollowAccessibilityThenTheDiskList) {
    FakeDriveSystem system;
    const struct {
        bool removableOpen, usbOpen;
        std::vector<std::string> diskEnum;
        const char* expected;
    } cases[] = {
        {true, false, kPreferUsb, "/media/e"},        {false, true, kPreferRemovable, "/media/f"},
        {true, true, kPreferRemovable, "/media/e"},   {true, true, kPreferUsb, "/media/f"},
        {false, false, kPreferRemovable, "/media/e"}, {false, false, kPreferUsb, "/media/f"},
    };
    for (const auto& c : cases) {
        system.drives = {Removable("/media/e", c.removableOpen), UsbDisk("/media/f", c.usbOpen)};
        system.diskEnum = c.diskEnum;
        EXPECT_EQ(ChooseDeviceDrive(system), c.expected) << c.removableOpen << c.usbOpen;
    }
    // An unreadable disk list prefers the USB disk.
    system.drives = {Removable("/media/e"), UsbDisk("/media/f")};
    system.diskEnum = std::nullopt;
    EXPECT_EQ(ChooseDeviceDrive(system), "/media/f");
}

TEST(ChooseDeviceDrive, OnlyTheFirstTwentyRowsCanBeChosen) {
    FakeDriveSystem system;
    for (int i = 0; i < 20; ++i) system.drives.push_back(InternalDisk("/mnt/d" + std::to_string(i)));
    system.drives.push_back(Removable("/media/x"));
    system.drives.push_back(UsbDisk("/media/y"));
    EXPECT_EQ(ChooseDeviceDrive(system), std::nullopt);

    system.drives[19] = Removable("/media/w");
    EXPECT_EQ(ChooseDeviceDrive(system), "/media/w");
}

TEST(CheckDiskEnum, GenericReaderIndexDecides) {
    FakeDriveSystem system;
    const std::string reader = "USBSTOR\\Disk&Ven_Generic&Prod_Card_Reader&Rev_1.00";
    system.diskEnum = std::vector<std::string>{"SCSI\\Disk&Ven_ATA", "USBSTOR\\Disk&Ven_SanDisk", reader};
    EXPECT_TRUE(CheckDiskEnum(system));
    system.diskEnum = std::vector<std::string>{"SCSI\\Disk&Ven_ATA", reader, "USBSTOR\\Disk&Ven_SanDisk"};
    EXPECT_FALSE(CheckDiskEnum(system));
    system.diskEnum = std::vector<std::string>{reader};
    EXPECT_FALSE(CheckDiskEnum(system));
    // No reader: true from two disks on.
    system.diskEnum = std::vector<std::string>{"SCSI\\Disk&Ven_ATA"};
    EXPECT_FALSE(CheckDiskEnum(system));
    system.diskEnum = std::vector<std::string>{"SCSI\\Disk&Ven_ATA", "USBSTOR\\Disk&Ven_SanDisk"};
    EXPECT_TRUE(CheckDiskEnum(system));
    system.diskEnum = std::vector<std::string>{};
    EXPECT_FALSE(CheckDiskEnum(system));
    system.diskEnum = std::nullopt;
    EXPECT_FALSE(CheckDiskEnum(system));
    // The comparison is exact, letter case included; only the first 20 characters count.
    system.diskEnum = std::vector<std::string>{"a", "b", "usbstor\\disk&ven_gen", "USBSTOR\\Disk&Ven_Gen"};
    EXPECT_TRUE(CheckDiskEnum(system));
    system.diskEnum = std::vector<std::string>{"a", "USBSTOR\\Disk&Ven_Gen", "c"};
    EXPECT_FALSE(CheckDiskEnum(system));
}

TEST(DeviceRootForPickedFolder, RemovableOrUsbVolumesGiveTheirMountPoint) {
    FakeDriveSystem system;
    system.drives = {Removable("/media/stick"), UsbDisk("/media/disk"), InternalDisk("/mnt/data")};
    EXPECT_EQ(DeviceRootForPickedFolder(system, "/media/stick/music/new"), "/media/stick");
    EXPECT_EQ(DeviceRootForPickedFolder(system, "/media/stick"), "/media/stick");
    EXPECT_EQ(DeviceRootForPickedFolder(system, "/media/disk/x"), "/media/disk");
    EXPECT_EQ(DeviceRootForPickedFolder(system, "/mnt/data/karaoke"), "/mnt/data/karaoke");
    EXPECT_EQ(DeviceRootForPickedFolder(system, "/home/ann/karaoke"), "/home/ann/karaoke");
}

}  // namespace
}  // namespace songloader
