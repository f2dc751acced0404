// SPDX-License-Identifier: GPL-3.0-or-later
// The device is not trusted: a crafted record of an interrupted write is set aside, touches
// nothing outside the song folder, moves no listed song's media, and the next write works.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <map>

#include "core/catalogue/list_file_reader.h"
#include "core/device/device_layout.h"
#include "core/entry/catalogue_rebuild.h"
#include "core/entry/device_songs.h"
#include "core/entry/placement_journal.h"
#include "core/recovery/interrupted_writes.h"
#include "support/temp_dir.h"

namespace songloader {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCodePage = "CP1252";

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string text = "x";
    for (unsigned char c : bytes) {
        text += digits[c >> 4];
        text += digits[c & 15];
    }
    return text;
}

std::string PlaceLine(const std::string& target, const std::string& numberText) {
    return "place " + Hex(target) + " " + numberText + " " + Hex(numberText) + " 0 " + Hex("EN") + " " + Hex("Title") +
           " " + Hex("Artist") + " x x\n";
}

std::string MoveLine(const std::string& oldNumber, const std::string& newNumber, const std::string& from,
                     const std::string& to) {
    return "move " + Hex(oldNumber) + " " + Hex(newNumber) + " " + Hex(from) + " " + Hex(to) + "\n";
}

// Every file below `folder` with its bytes (links by their target's name, not followed).
std::map<std::string, std::string> Contents(const fs::path& folder) {
    std::map<std::string, std::string> files;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().lexically_relative(folder).string();
        if (it->is_symlink()) {
            files[name] = "-> " + fs::read_symlink(it->path()).string();
        } else if (it->is_regular_file()) {
            // Size and a hash: the catalogue's files are large and binary.
            const auto size = it->file_size();
            const std::string bytes = size > (1u << 20) ? std::string() : test::ReadBytes(it->path());
            files[name] = std::to_string(size) + " bytes #" + std::to_string(std::hash<std::string>{}(bytes));
        } else {
            files[name] = "(other)";
        }
    }
    return files;
}

struct Stick {
    test::TempDir dir;
    fs::path root = dir / "stick";
    fs::path songs = SongFolderOf(root);
    fs::path outside = dir / "outside";
    SongList device;

    Stick() {
        fs::create_directories(songs);
        for (int number : {900001, 900002}) {
            const auto media = MediaTargetPath(songs, std::to_string(number), "x.mp4");
            test::WriteBytes(media, "video of " + std::to_string(number));
            ROWELEMENT song;
            song.number = number;
            song.numberText = std::to_string(number);
            song.title = "Song " + song.numberText;
            song.mediaPath = media.string();
            device.push_back(song);
        }
        EXPECT_TRUE(RebuildDeviceCatalogue(device, songs, RebuildMode::Add, {}, kCodePage).ok());
        test::WriteBytes(outside / "sentinel", "not the device's");
        test::WriteBytes(outside / "901000.mp4", "a file outside the device");
        test::WriteBytes(root / "rootfile", "the device's own file");
        // A name only a delete of "." would reach.
        test::WriteBytes(songs / "..keep", "kept");
    }
    void Record(const std::string& text) const { test::WriteBytes(songs / kPlacementJournalName, text); }
};

TEST(HostileRecord, IsSetAsideAndTouchesNothing) {
    struct Case {
        const char* name;
        std::function<void(const Stick& stick)> craft;
        const char* record = kPlacementJournalName;  // the record's name in the song folder
    };
    const std::vector<Case> cases = {
        {"garbage",
         [](const Stick& s) {
             s.Record(
                 std::string("\x7f"
                             "ELF\0\xff garbage\n",
                             16));
         }},
        {"truncated line",
         [](const Stick& s) {
             const std::string line = PlaceLine("900/900010.mp4", "900010");
             s.Record(line.substr(0, line.size() - 3));
         }},
        {"absolute path",
         [](const Stick& s) { s.Record(MoveLine("900001", "901000", "900/900001.mp4", (s.outside / "x").string())); }},
        {"dot-dot",
         [](const Stick& s) {
             s.Record(MoveLine("900001", "900009", "900/900001.mp4", "900/../../../outside/moved"));
         }},
        {"a name never written",
         [](const Stick& s) {
             test::WriteBytes(s.songs / "900" / "notes.txt", "the user's notes");
             s.Record(PlaceLine("900/notes.txt", "900010"));
         }},
        {"link to a folder outside",
         [](const Stick& s) {
             // The catalogue names neither number: a recovery moves the file back from 901/ to 900/.
             fs::create_directory_symlink(s.outside, s.songs / "901");
             s.Record(MoveLine("900005", "901000", "900/900005.mp4", "901/901000.mp4"));
         }},
        {"link named in the record",
         [](const Stick& s) {
             // Neither number is listed: the file would move back from lnk/ into 900/.
             fs::create_directory_symlink(s.outside, s.songs / "lnk");
             s.Record(MoveLine("900007", "900009", "900/900007.mp4", "lnk/sentinel"));
         }},
        {"link to the device root",
         [](const Stick& s) {
             // The catalogue names the new number: the file would move on, out of the root into 900/.
             fs::create_directory_symlink(s.root, s.songs / "902");
             s.Record(MoveLine("902000", "900001", "902/rootfile", "900/900001.x"));
         }},
        {"record is a link",
         [](const Stick& s) {
             test::WriteBytes(s.outside / "record", MoveLine("900001", "900009", "900/900001.mp4", "900/900009.mp4"));
             fs::create_symlink(s.outside / "record", s.songs / kPlacementJournalName);
         }},
        {"record is a FIFO",
         [](const Stick& s) { ASSERT_EQ(::mkfifo((s.songs / kPlacementJournalName).c_str(), 0644), 0); }},
        {"record is a folder",
         [](const Stick& s) { test::WriteBytes(s.songs / kPlacementJournalName / "inside", "a file in it"); }},
        {"huge record",
         [](const Stick& s) {
             s.Record(PlaceLine("900/900010.mp4", "900010"));
             fs::resize_file(s.songs / kPlacementJournalName, std::uintmax_t{65} << 20);
         }},
        {"delete of dot", [](const Stick& s) { test::WriteBytes(s.songs / "delete-x2e.sljournal", ""); },
         "delete-x2e.sljournal"},
        {"delete of no number", [](const Stick& s) { test::WriteBytes(s.songs / "delete-zz.sljournal", ""); },
         "delete-zz.sljournal"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Stick stick;
        c.craft(stick);
        const auto outsideBefore = Contents(stick.outside);
        const std::string record = (fs::path("songs") / c.record).string();
        auto deviceBefore = Contents(stick.root);
        std::erase_if(deviceBefore, [&](const auto& entry) { return entry.first.starts_with(record); });

        const Result<MendReport> mended = MendInterruptedWrites(stick.root, kCodePage);
        if (!mended.ok()) {
            ADD_FAILURE() << "the record stops every write: " << mended.message();
            continue;
        }
        EXPECT_EQ(Contents(stick.outside), outsideBefore);
        // Every file of the device is as it was, apart from the record, now beside it as set aside.
        auto deviceAfter = Contents(stick.root);
        const bool setAside =
            std::erase_if(deviceAfter, [&](const auto& entry) { return entry.first.starts_with(record + ".bad"); }) > 0;
        EXPECT_EQ(deviceAfter, deviceBefore);
        EXPECT_TRUE(setAside) << "no " << c.record << ".bad";
        EXPECT_FALSE(fs::exists(fs::symlink_status(stick.songs / c.record)));
        EXPECT_EQ(mended->problems.size(), 1u);
        if (!mended->problems.empty()) {
            EXPECT_NE(mended->problems[0].find(c.record), std::string::npos) << mended->problems[0];
        }

        // The next write works.
        test::WriteBytes(stick.dir / "new.mp4", "new video");
        ROWELEMENT song;
        song.number = 900030;
        song.numberText = "900030";
        song.title = "New";
        song.mediaPath = (stick.dir / "new.mp4").string();
        const Result<AddReport> added = AddUserSongs(stick.device, {song}, stick.songs, kCodePage);
        EXPECT_TRUE(added.ok() && added->added.size() == 1u) << added.message();
    }
}

}  // namespace
}  // namespace songloader
