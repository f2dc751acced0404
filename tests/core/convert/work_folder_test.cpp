// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/convert/work_folder.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "support/temp_dir.h"

namespace songloader {
namespace {
using namespace test;

// A program that makes a work folder in `base`, says where, and waits to be killed.
struct OtherProgram {
    pid_t pid = -1;
    std::filesystem::path folder;

    explicit OtherProgram(const std::filesystem::path& base) {
        int ends[2];
        if (::pipe(ends) != 0) return;
        pid = ::fork();
        if (pid == 0) {
            ::close(ends[0]);
            const Result<WorkFolder> made = WorkFolder::MakeIn(base);
            const std::string path = made.ok() ? made->path().string() : "";
            if (::write(ends[1], path.data(), path.size()) < 0) ::_exit(1);
            ::close(ends[1]);
            ::pause();
            ::_exit(0);
        }
        ::close(ends[1]);
        char buffer[4096];
        std::string path;
        for (ssize_t n; (n = ::read(ends[0], buffer, sizeof buffer)) > 0;)
            path.append(buffer, static_cast<std::size_t>(n));
        ::close(ends[0]);
        folder = path;
    }
    void Kill() {
        if (pid <= 0) return;
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        pid = -1;
    }
    ~OtherProgram() { Kill(); }
};

// A folder whose program was killed goes when the next conversion starts; one a live program holds
// stays, in another process or in this one, and so does whatever is not a work folder.
TEST(WorkFolderTest, StaleFoldersGoAndLiveOnesStay) {
    TempDir base;
    std::filesystem::create_directories(base / "songloader-convert-old123" / "inner");
    WriteBytes(base / "songloader-convert-old123" / "inner" / "song.mp4", "half a song");
    std::filesystem::create_directories(base / "songloader-other");
    std::filesystem::create_directories(base / "kept");
    std::filesystem::create_directory_symlink(base / "kept", base / "songloader-convert-link");

    OtherProgram other(base.path());
    ASSERT_FALSE(other.folder.empty());
    ASSERT_TRUE(std::filesystem::is_directory(other.folder));
    Result<WorkFolder> made = WorkFolder::MakeIn(base.path());
    ASSERT_TRUE(made.ok()) << made.message();
    std::optional<WorkFolder> mine(std::move(made).value());
    EXPECT_FALSE(std::filesystem::exists(base / "songloader-convert-old123"));
    EXPECT_TRUE(std::filesystem::is_directory(other.folder));
    EXPECT_TRUE(std::filesystem::is_directory(mine->path()));
    EXPECT_TRUE(std::filesystem::is_directory(base / "songloader-other"));
    EXPECT_TRUE(std::filesystem::is_directory(base / "kept"));

    EXPECT_EQ(SweepStaleWorkFolders(base.path()), 0);
    other.Kill();
    EXPECT_TRUE(std::filesystem::is_directory(other.folder));
    EXPECT_EQ(SweepStaleWorkFolders(base.path()), 1);
    EXPECT_FALSE(std::filesystem::exists(other.folder));
    EXPECT_TRUE(std::filesystem::is_directory(mine->path()));

    const std::filesystem::path minePath = mine->path();
    mine.reset();
    EXPECT_FALSE(std::filesystem::exists(minePath));
}

}  // namespace
}  // namespace songloader
