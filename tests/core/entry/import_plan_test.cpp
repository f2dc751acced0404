// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>

#include "core/entry/import_plan.h"
#include "support/media_samples.h"
#include "support/temp_dir.h"

namespace songloader {
namespace {

using namespace test;
namespace fs = std::filesystem;

ROWELEMENT DeviceSong(std::int32_t number, const std::string& title, const std::string& artist) {
    ROWELEMENT song;
    song.number = number;
    song.numberText = std::to_string(number);
    song.title = title;
    song.artist = artist;
    return song;
}

// Hidden entries and the device's own song folder are not part of a batch; the rest comes in
// byte order of the full paths, each file once.
TEST(ImportPlanTest, CollectsFilesInPathOrder) {
    TempDir dir;
    fs::create_directories(dir / "b/sub");
    fs::create_directories(dir / ".hidden");
    fs::create_directories(dir / "songs/900");
    for (const char* name :
         {"b/sub/z.mp4", "b/a.mp4", "b/B.mp4", "b/.secret.mp4", ".hidden/x.mp4", "songs/900/900000.mp4"}) {
        WriteBytes(dir / name, "x");
    }
    const ImportFiles found =
        CollectImportFiles({dir / "b", dir / "b/a.mp4", dir.path(), dir / "none.mp4"}, dir / "songs");
    std::vector<std::string> names;
    for (const fs::path& file : found.files) names.push_back(fs::relative(file, dir.path()).string());
    EXPECT_EQ(names, (std::vector<std::string>{"b/B.mp4", "b/a.mp4", "b/sub/z.mp4"}));
    ASSERT_EQ(found.missing.size(), 1u);
    EXPECT_EQ(found.missing[0].message, (dir / "none.mp4").string() + ": no such file or folder");
}

// A sub-folder that cannot be read is named, never passed over in silence; a source inside the
// device's song folder is refused.
TEST(ImportPlanTest, UnreadableFoldersAndSourcesInsideTheSongFolderAreNamed) {
    TempDir dir;
    fs::create_directories(dir / "in/locked");
    fs::create_directories(dir / "stick/songs/900");
    WriteBytes(dir / "in/a.mp4", "x");
    WriteBytes(dir / "in/locked/b.mp4", "x");
    WriteBytes(dir / "stick/songs/900/900000.mp4", "x");
    fs::permissions(dir / "in/locked", fs::perms::none);
    fs::permissions(dir.path(), fs::perms::all);
    const std::vector<fs::path> given = {dir / "in", dir / "stick/songs/900", dir / "stick/songs/900/900000.mp4"};
    // Root reads every folder: the walk then runs as a user who cannot.
    ImportFiles found;
    if (::geteuid() == 0) {
        int pipe[2];
        ASSERT_EQ(::pipe(pipe), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0) ::_exit(3);
            std::string lines;
            const ImportFiles walked = CollectImportFiles(given, dir / "stick/songs");
            for (const fs::path& file : walked.files) lines += "file\t" + file.string() + "\n";
            for (const ImportSkip& skip : walked.missing) lines += "missing\t" + skip.message + "\n";
            (void)!::write(pipe[1], lines.data(), lines.size());
            ::_exit(0);
        }
        ::close(pipe[1]);
        std::string lines;
        char buffer[4096];
        for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
            lines.append(buffer, static_cast<std::size_t>(n));
        ::close(pipe[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        std::istringstream read(lines);
        for (std::string line; std::getline(read, line);) {
            const auto tab = line.find('\t');
            if (line.substr(0, tab) == "file") found.files.push_back(line.substr(tab + 1));
            else found.missing.push_back({"", line.substr(tab + 1), false});
        }
    } else {
        found = CollectImportFiles(given, dir / "stick/songs");
    }
    fs::permissions(dir / "in/locked", fs::perms::owner_all);
    EXPECT_EQ(found.files, std::vector<fs::path>{dir / "in/a.mp4"});
    std::vector<std::string> messages;
    for (const ImportSkip& skip : found.missing) messages.push_back(skip.message);
    std::sort(messages.begin(), messages.end());
    EXPECT_EQ(messages,
              (std::vector<std::string>{(dir / "in/locked").string() + ": Permission denied",
                                        (dir / "stick/songs/900").string() + kInsideSongFolderMessage,
                                        (dir / "stick/songs/900/900000.mp4").string() + kInsideSongFolderMessage}));
}

TEST(ImportPlanTest, NumbersRepeatsAndRefusals) {
    TempDir dir;
    fs::copy_file(MediaFixture("tagged.mp4"), dir / "a1.mp4");                        // Blue Moon / Ann Lee
    fs::copy_file(MediaFixture("tagged.mp4"), dir / "a2.mp4");                        // the same song again
    fs::copy_file(MediaFixture("tagged.mkv"), dir / "b.mkv");                         // on the device
    fs::copy_file(MediaFixture("Artist - Title.avi"), dir / "c - Caf\xC3\xA9.avi");   // fits CP1252
    fs::copy_file(MediaFixture("Artist - Title.avi"), dir / "d - \xE4\xB8\xAD.avi");  // does not
    fs::copy_file(MediaFixture("words.mp4"), dir / "e.mp4");
    WriteMediaFile(dir / "f - Long.mp4", MinimumMediaBytes());
    const SongList device{DeviceSong(900000, "RED RIVER", "bo chan"), DeviceSong(900002, "Other", "")};
    SongList work{DeviceSong(900001, "Queued", "")};
    work[0].mediaPath = "/q.mp4";

    ImportOptions options;
    options.languageText = "EG[English]";
    options.codePage = "CP1252";
    const auto files = CollectImportFiles({dir.path()}, std::nullopt).files;
    const ImportPlan plan = PlanImport(files, device, work, options);

    ASSERT_EQ(plan.songs.size(), 3u);
    EXPECT_EQ(plan.songs[0].numberText, "900003");
    EXPECT_EQ(plan.songs[0].title, "Blue Moon");
    EXPECT_EQ(plan.songs[0].artist, "Ann Lee");
    EXPECT_EQ(plan.songs[0].composer, "Ray Hart");
    EXPECT_EQ(plan.songs[0].languageText, "EG");
    EXPECT_EQ(plan.songs[1].numberText, "900004");
    EXPECT_EQ(plan.songs[1].title, "Caf\xE9");  // in the device's code page
    EXPECT_EQ(plan.songs[1].artist, "c");
    EXPECT_EQ(plan.songs[2].numberText, "900005");
    EXPECT_EQ(plan.songs[2].title, "Long");

    std::vector<std::string> messages;
    for (const ImportSkip& skip : plan.skipped) messages.push_back(skip.message);
    EXPECT_EQ(messages,
              (std::vector<std::string>{
                  (dir / "a2.mp4").string() + ": the same song as " + (dir / "a1.mp4").string(),
                  (dir / "b.mkv").string() + ": already on the USB drive as 900000",
                  (dir / "d - \xE4\xB8\xAD.avi").string() + ": the title \"\xE4\xB8\xAD\" cannot be written in CP1252",
                  (dir / "e.mp4").string() + " is not a video or audio file.",
              }));
    EXPECT_TRUE(plan.skipped[0].duplicate);
    EXPECT_FALSE(plan.skipped[3].duplicate);

    options.keepDuplicates = true;
    options.artist = "Zed";
    const ImportPlan kept = PlanImport(files, device, work, options);
    ASSERT_EQ(kept.songs.size(), 5u);
    for (const ROWELEMENT& song : kept.songs) EXPECT_EQ(song.artist, "Zed");
}

// A title the song list builder would refuse is reported before anything is copied.
TEST(ImportPlanTest, BuilderRowCheck) {
    TempDir dir;
    std::string manyWords = "w";
    for (int i = 0; i < 60; ++i) manyWords += " w";  // more words than the builder's word classes
    WriteMediaFile(dir / (manyWords + ".mp4"), MinimumMediaBytes());
    ImportOptions options;
    options.languageText = "EG[English]";
    options.codePage = "CP1252";
    const ImportPlan plan = PlanImport(CollectImportFiles({dir.path()}, std::nullopt).files, {}, {}, options);
    EXPECT_TRUE(plan.songs.empty());
    ASSERT_EQ(plan.skipped.size(), 1u);
    EXPECT_EQ(plan.skipped[0].message.rfind((dir / (manyWords + ".mp4")).string() + ": 1", 0), 0u)
        << plan.skipped[0].message;
}

}  // namespace
}  // namespace songloader
