// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/session/device_session.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/device/device_layout.h"
#include "core/entry/media_files.h"
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

// The window and the CLI write through the session alike: each write goes into the volume chosen,
// checks it before its steps, says once that it went, and takes the list it wrote as the device's,
// so that the window's next command is not refused as if another program had written.
TEST(DeviceSession, EveryWriteKeepsToTheVolumeAndTakesItsList) {
    using Write = std::function<bool(DeviceSession & session, SongList & songs, const fs::path& media)>;
    struct Case {
        const char* name;
        Write write;  // true: written
    };
    const Case cases[] = {
        {"add",
         [](DeviceSession& session, SongList& songs, const fs::path& media) {
             const Result<AddReport> added = session.AddSongs(songs, {ArtistSong(900003, "C", media.string())}, {});
             return added && added->added.size() == 1;
         }},
        {"delete",
         [](DeviceSession& session, SongList& songs, const fs::path&) { return session.DeleteSong(songs, 0).ok(); }},
        {"revise",
         [](DeviceSession& session, SongList& songs, const fs::path&) {
             ROWELEMENT revised = songs[1];
             revised.title = "Revised";
             return session.ReviseSong(songs, 1, revised, [&](const ROWELEMENT& stored) { songs[1] = stored; }).ok();
         }},
        {"rebuild",
         [](DeviceSession& session, SongList& songs, const fs::path&) {
             const auto rebuilt = session.Rebuild(songs, RebuildMode::Add);
             return rebuilt && rebuilt->ok();
         }},
    };
    for (const Case& c : cases) {
        for (const bool replaced : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (replaced ? ", the stick replaced" : ""));
            test::SysfsFixture fixture;
            const fs::path stick = fixture.media() / "STICK";
            fixture.Mount(stick, 8, 17, "/dev/sdb1");
            DeviceSession session(stick, "CP1252", {fixture.root() / "mountinfo", fixture.root() / "disk"});
            SongList made;
            for (const int number : {900001, 900002}) {
                const fs::path media = MediaTargetPath(session.songFolder(), std::to_string(number), "x.mp4");
                test::WriteBytes(media, "video");
                made.push_back(ArtistSong(number, "Song", media.string()));
            }
            ASSERT_TRUE(session.BeginWrite().ok());
            ASSERT_TRUE(session.Rebuild(made, RebuildMode::Add).has_value());
            session.EndWrite();
            const fs::path media = fixture.root() / "new.mp4";
            test::WriteBytes(media, "new video");

            Result<SongList> songs = session.ReadSongs();
            ASSERT_TRUE(songs.ok());
            int losses = 0;
            session.OnLoss([&] { ++losses; });
            ASSERT_TRUE(session.BeginWrite().ok());
            if (replaced) fixture.Mount(stick, 8, 33, "/dev/sdc1");
            const bool written = c.write(session, *songs, media);
            EXPECT_EQ(written, !replaced);
            EXPECT_EQ(losses, replaced ? 1 : 0);
            EXPECT_EQ(session.writing(), !replaced);
            if (replaced) continue;
            session.EndWrite();
            EXPECT_TRUE(session.BeginWrite().ok()) << "the list written here is the device's";
        }
    }
}

}  // namespace
}  // namespace songloader
