// SPDX-License-Identifier: GPL-3.0-or-later
// The copies of a batch, flushed at once and put in place together: what cannot be put in place
// is removed, the others arrive, and nothing of a batch that ends early stays; the same whether a
// copy is made at once or on the batch's writing thread.
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include "core/entry/media_files.h"
#include "core/entry/staged_files.h"
#include "support/temp_dir.h"

namespace songloader {
namespace {

TEST(StagedFiles, WhatCannotBePutInPlaceGoesAndTheRestArrives) {
    struct Case {
        const char* name;
        std::function<void(const std::filesystem::path& songs)> prepare;
        std::vector<const char*> targets;  // inside the song folder, staged in this order
        bool putInPlace;                   // false: the batch ends before (the device went)
        std::vector<bool> arrived;         // per target
        std::vector<std::string> files;    // the song folder afterwards
        // A disk whose flush of the whole file system fails; and the one folder (if any) whose
        // file's own flush fails then.
        bool wholeFlushFails = false;
        const char* ownFlushFailsIn = nullptr;
        // The target whose source is gone before its copy is made on the writing thread.
        const char* sourceGoneFor = nullptr;
    };
    const auto none = [](const std::filesystem::path&) {};
    const std::vector<Case> cases = {
        {"two folders, one of them new",
         none,
         {"900/900010.mp4", "901/901010.mkv"},
         true,
         {true, true},
         {"900/900010.mp4", "900/old.mp4", "901/901010.mkv"}},
        {"a target that is a folder",
         [](const std::filesystem::path& songs) { test::WriteBytes(songs / "900" / "900010.mp4" / "inside", "x"); },
         {"900/900010.mp4", "900/900011.mp4"},
         true,
         {false, true},
         {"900/900010.mp4/inside", "900/900011.mp4", "900/old.mp4"}},
        // Three folders are renamed on two lanes: the failure is on the second one.
        {"a target that is a folder, beside two other folders",
         [](const std::filesystem::path& songs) { test::WriteBytes(songs / "901" / "901010.mp4" / "inside", "x"); },
         {"900/900010.mp4", "901/901010.mp4", "902/902010.mp4"},
         true,
         {true, false, true},
         {"900/900010.mp4", "900/old.mp4", "901/901010.mp4/inside", "902/902010.mp4"}},
        {"the batch ends before its files are put in place",
         none,
         {"900/900010.mp4", "902/902010.mp4"},
         false,
         {},
         {"900/old.mp4"}},
        {"the whole flush fails: each file is flushed on its own",
         none,
         {"900/900010.mp4", "901/901010.mp4", "902/902010.mp4"},
         true,
         {true, true, true},
         {"900/900010.mp4", "900/old.mp4", "901/901010.mp4", "902/902010.mp4"},
         true},
        {"the whole flush fails, and one file's own flush too",
         none,
         {"900/900010.mp4", "901/901010.mp4", "902/902010.mp4"},
         true,
         {true, false, true},
         {"900/900010.mp4", "900/old.mp4", "902/902010.mp4"},
         true,
         "901"},
        {"a source gone before the writing thread copies it",
         none,
         {"900/900010.mp4", "901/901010.mp4", "902/902010.mp4"},
         true,
         {true, false, true},
         {"900/900010.mp4", "900/old.mp4", "902/902010.mp4"},
         false,
         nullptr,
         "901/901010.mp4"},
    };
    for (const Case& c : cases) {
        for (const bool later : {false, true}) {
            if (c.sourceGoneFor && !later) continue;
            const std::string name = std::string(c.name) + (later ? " (copied later)" : "");
            test::TempDir dir;
            const auto songs = dir / "songs";
            test::WriteBytes(songs / "900" / "old.mp4", "old");
            test::WriteBytes(dir / "source.mp4", "new video");
            c.prepare(songs);
            std::vector<Result<std::filesystem::path>> outcomes;
            {
                const Result<DeviceFolder> folder = OpenSongFolder(songs);
                ASSERT_TRUE(folder.ok()) << folder.message();
                StagedFiles staged(*folder);
                for (const char* target : c.targets) {
                    const bool gone = c.sourceGoneFor && std::string(target) == c.sourceGoneFor;
                    const auto source = dir / (gone ? "gone.mp4" : "source.mp4");
                    const Result<std::filesystem::path> copy = later
                                                                   ? StageMediaFileLater(staged, source, songs / target)
                                                                   : StageMediaFile(staged, source, songs / target);
                    ASSERT_TRUE(copy.ok()) << name << ": " << copy.message();
                }
                // Nothing is in place before the batch puts it there.
                for (const char* target : c.targets) {
                    EXPECT_FALSE(std::filesystem::is_regular_file(songs / target)) << name << ": " << target;
                }
                std::vector<std::filesystem::path> flushedAlone;
                const FlushFault fault = [&](const std::filesystem::path& file) {
                    if (file.empty()) return c.wholeFlushFails ? EIO : 0;
                    flushedAlone.push_back(file);
                    return c.ownFlushFailsIn && file.parent_path().filename() == c.ownFlushFailsIn ? EIO : 0;
                };
                if (c.putInPlace) outcomes = staged.PutInPlace({}, fault);
                // Each file on its own, under its temporary name, when the whole could not be flushed.
                ASSERT_EQ(flushedAlone.size(), c.wholeFlushFails ? c.targets.size() : 0u) << name;
                for (std::size_t i = 0; i < flushedAlone.size(); ++i) {
                    const std::filesystem::path target = songs / c.targets[i];
                    EXPECT_EQ(flushedAlone[i].parent_path(), target.parent_path()) << name;
                    EXPECT_EQ(flushedAlone[i].filename().string().rfind(target.filename().string() + ".sltmp-", 0), 0u)
                        << name << ": " << flushedAlone[i];
                }
            }
            ASSERT_EQ(outcomes.size(), c.arrived.size()) << name;
            for (std::size_t i = 0; i < outcomes.size(); ++i) {
                EXPECT_EQ(outcomes[i].ok(), c.arrived[i]) << name << ": " << c.targets[i];
                if (outcomes[i]) {
                    EXPECT_EQ(test::ReadBytes(*outcomes[i]), "new video") << name;
                } else {
                    // The reason names what failed: the source that was gone, else the file on the device.
                    const bool gone = c.sourceGoneFor && std::string(c.targets[i]) == c.sourceGoneFor;
                    EXPECT_NE(outcomes[i].message().find(gone ? "gone.mp4" : c.targets[i]), std::string::npos)
                        << name << ": " << outcomes[i].message();
                }
            }
            EXPECT_EQ(test::ListFiles(songs), c.files) << name;
            // No folder the batch made stays empty.
            for (const auto& entry : std::filesystem::directory_iterator(songs)) {
                EXPECT_FALSE(std::filesystem::is_empty(entry.path())) << name << ": " << entry.path();
            }
        }
    }
}

// A batch of more files than are written between two early flushes: every one arrives whole.
TEST(StagedFiles, ABatchFlushedOnTheWayPutsEveryFileInPlace) {
    test::TempDir dir;
    const auto songs = dir / "songs";
    test::WriteBytes(dir / "source.mp4", "new video");
    constexpr int kFiles = 2100;
    std::vector<Result<std::filesystem::path>> outcomes;
    {
        const Result<DeviceFolder> folder = OpenSongFolder(songs);
        ASSERT_TRUE(folder.ok()) << folder.message();
        StagedFiles staged(*folder);
        for (int i = 0; i < kFiles; ++i) {
            const std::string number = std::to_string(900000 + i);
            const auto target = songs / number.substr(0, 3) / (number + ".mp4");
            ASSERT_TRUE(StageMediaFileLater(staged, dir / "source.mp4", target).ok()) << number;
        }
        outcomes = staged.PutInPlace();
    }
    ASSERT_EQ(outcomes.size(), static_cast<std::size_t>(kFiles));
    for (const auto& outcome : outcomes) {
        ASSERT_TRUE(outcome.ok()) << outcome.message();
        EXPECT_EQ(test::ReadBytes(*outcome), "new video");
    }
    EXPECT_EQ(test::ListFiles(songs).size(), static_cast<std::size_t>(kFiles));
}

}  // namespace
}  // namespace songloader
