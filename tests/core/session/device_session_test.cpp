// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/session/device_session.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/device/device_layout.h"
#include "support/song_samples.h"
#include "support/sysfs_fixture.h"
#include "support/temp_dir.h"

namespace songloader {
namespace {

namespace fs = std::filesystem;

// Both programs take the device through the session with the mount facts they were given (the
// window's settings, the CLI's SONGLOADER_MOUNTINFO), so a stick mounted again or replaced is
// refused by either; and a list read before the lock must still be the device's.
TEST(DeviceSession, WritesOnlyTheVolumeAndListItChose) {
    struct Case {
        const char* name;
        std::function<void(test::SysfsFixture&, const fs::path& stick, DeviceSession&)> change;
        std::optional<WriteRefused> refused;  // none: taken for writing
    };
    const Case cases[] = {
        {"nothing changed", [](test::SysfsFixture&, const fs::path&, DeviceSession&) {}, std::nullopt},
        {"mounted again (a new mount id)",
         [](test::SysfsFixture& f, const fs::path& stick, DeviceSession&) { f.Mount(stick, 8, 17, "/dev/sdb1"); },
         WriteRefused::Changed},
        {"another stick on the same folder",
         [](test::SysfsFixture& f, const fs::path& stick, DeviceSession&) { f.Mount(stick, 8, 33, "/dev/sdc1"); },
         WriteRefused::Changed},
        {"the list written by another program after it was read",
         [](test::SysfsFixture&, const fs::path& stick, DeviceSession& session) {
             ASSERT_TRUE(session.ReadSongs().ok());
             fs::create_directories(SongFolderOf(stick));
             test::WriteBytes(SongFolderOf(stick) / kDeviceListName, "written by another program");
         },
         WriteRefused::ListChanged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::SysfsFixture fixture;
        const fs::path stick = fixture.media() / "STICK";
        fixture.Mount(stick, 8, 17, "/dev/sdb1");
        DeviceSession session(stick, "CP1252", {fixture.root() / "mountinfo", fixture.root() / "disk"});
        ASSERT_TRUE(session.chosen());
        c.change(fixture, stick, session);
        const Result<MendReport, WriteRefusal> taken = session.BeginWrite();
        EXPECT_EQ(session.writing(), taken.ok());
        if (!c.refused) {
            EXPECT_TRUE(taken.ok()) << taken.message();
            continue;
        }
        ASSERT_FALSE(taken.ok());
        EXPECT_EQ(taken.failure().why, *c.refused) << taken.message();
        EXPECT_FALSE(taken.message().empty());
        if (c.refused == WriteRefused::Changed) {
            EXPECT_FALSE(fs::exists(SongFolderOf(stick))) << "nothing is made on another volume";
        }
    }
}

TEST(DeviceSession, ARebuildDuringWhichTheDeviceWentIsNotTakenForDone) {
    test::SysfsFixture fixture;
    const fs::path stick = fixture.media() / "STICK";
    fixture.Mount(stick, 8, 17, "/dev/sdb1");
    DeviceSession session(stick, "CP1252", {fixture.root() / "mountinfo", fixture.root() / "disk"});
    ASSERT_TRUE(session.BeginWrite().ok());
    const SongList songs = {ArtistSong(900000, "A"), ArtistSong(900001, "B")};
    ASSERT_TRUE(session.Rebuild(songs, RebuildMode::Add).has_value());

    RebuildHooks hooks;
    hooks.onSong = [&](std::size_t done, std::size_t) {
        if (done == 1) fixture.Mount(stick, 8, 33, "/dev/sdc1");
    };
    EXPECT_FALSE(session.Rebuild(songs, RebuildMode::Add, hooks).has_value());
    EXPECT_FALSE(session.writing()) << "the lock goes with the device";
    EXPECT_FALSE(session.Rebuild(songs, RebuildMode::Add).has_value()) << "and stays gone";
}

}  // namespace
}  // namespace songloader
