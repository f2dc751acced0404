// SPDX-License-Identifier: GPL-3.0-or-later
// Files on the device and beside it that are not what they seem: FIFOs, links, case variants,
// control characters, another command's temporaries.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/media_samples.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace songloader {
namespace {

using test::ProgramRun;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class DeviceFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(device_);
        test::WriteMediaFile(dir_ / "clip.mp4", 3000);
    }
    // Ended after 20 s (exit 124) instead of hanging the test.
    ProgramRun Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"20", SONGLOADER_CLI_PATH});
        return test::RunProgram("/usr/bin/timeout", args,
                                {"LC_ALL=en_US.UTF-8", "XDG_CONFIG_HOME=" + (dir_ / "config").string()});
    }
    void Add(const std::string& title, const std::string& number) {
        const ProgramRun add =
            Run({"add", Device(), (dir_ / "clip.mp4").string(), "--title", title, "--number", number});
        ASSERT_EQ(add.exitCode, 0) << add.err;
    }
    std::string Device() const { return device_.string(); }
    std::filesystem::path Songs() const { return device_ / "songs"; }

    test::TempDir dir_;
    std::filesystem::path device_ = dir_ / "stick";
};

TEST_F(DeviceFiles, NothingWaitsOnAFifo) {
    Add("One", "900000");
    struct Case {
        const char* name;
        std::filesystem::path fifo;
        std::vector<std::string> args;
        const char* said;
    };
    const std::vector<Case> cases = {
        {"verify with a FIFO database", Songs() / "usbsong.db", {"verify", Device()}, "not a regular file"},
        // (A renumbering revise renames the files and never reads them, so a FIFO cannot hold it.)
        {"any command with a FIFO settings file",
         dir_ / "config" / "songloader" / "songloader.conf",
         {"list", Device()},
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::filesystem::path saved = dir_ / "saved";
        std::filesystem::create_directories(c.fifo.parent_path());
        if (std::filesystem::exists(c.fifo)) std::filesystem::rename(c.fifo, saved);
        ASSERT_EQ(::mkfifo(c.fifo.c_str(), 0644), 0);
        const ProgramRun run = Run(c.args);
        EXPECT_NE(run.exitCode, 124) << "it hung";
        EXPECT_TRUE(Has(run.err + run.out, c.said)) << run.err << run.out;
        std::filesystem::remove(c.fifo);
        if (std::filesystem::exists(saved)) std::filesystem::rename(saved, c.fifo);
    }
    EXPECT_EQ(Run({"list", Device()}).out, "900000\tOther\tOne\t\t\t\n");
}

TEST_F(DeviceFiles, AListStoredInCapitalsIsReadAndReplacedUnderItsName) {
    Add("One", "900000");
    Add("Two", "900001");
    std::filesystem::rename(Songs() / "SgList.dat", Songs() / "SGLIST.DAT");
    EXPECT_EQ(Run({"list", Device()}).out, "900000\tOther\tOne\t\t\t\n900001\tOther\tTwo\t\t\t\n");
    Add("Three", "900002");
    EXPECT_EQ(Run({"list", Device()}).out,
              "900000\tOther\tOne\t\t\t\n900001\tOther\tTwo\t\t\t\n900002\tOther\tThree\t\t\t\n");
    EXPECT_TRUE(std::filesystem::exists(Songs() / "SgList.dat"));
    EXPECT_FALSE(std::filesystem::exists(Songs() / "SGLIST.DAT"));
}

TEST_F(DeviceFiles, ATitleWithLineBreaksIsStoredAlikeInListAndDatabase) {
    Add("Line\rbreak\nand\ttab", "900000");
    const ProgramRun verify = Run({"verify", Device()});
    EXPECT_EQ(verify.exitCode, 0) << verify.out;
    EXPECT_EQ(verify.out, "1 songs, every one with its media file\n");
}

TEST_F(DeviceFiles, VerifyNamesFilesSafelyAndLeavesARunningWritersTemporariesAlone) {
    Add("One", "900000");
    test::WriteBytes(Songs() / "901" / "901234\x1b[2J.avi", "stray");
    test::WriteBytes(dir_ / "elsewhere.avi", "not on the device");
    std::filesystem::create_symlink(dir_ / "elsewhere.avi", Songs() / "901" / "901235.avi");
    test::WriteBytes(Songs() / "SgList.dat.sltmp-4242-0", "half a list");

    ProgramRun verify = Run({"verify", Device()});
    EXPECT_EQ(verify.exitCode, 1);
    EXPECT_EQ(verify.out,
              "no song\tsongs/901/901234\\x1B[2J.avi\nno song\tsongs/901/901235.avi\n"
              "temporary\tsongs/SgList.dat.sltmp-4242-0\n");

    std::filesystem::remove(Songs() / "901" / "901234\x1b[2J.avi");
    std::filesystem::remove(Songs() / "901" / "901235.avi");
    // Another command holds the write lock: its temporary is in use, not a leftover.
    const int lock = ::open(Songs().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);
    verify = Run({"verify", Device()});
    ::close(lock);
    EXPECT_EQ(verify.exitCode, 0) << verify.out;
    EXPECT_EQ(verify.out, "temporary in use\tsongs/SgList.dat.sltmp-4242-0\n1 songs, every one with its media file\n");
}

// A record of an interrupted write is shown by verify; one that cannot be read is set aside by the
// next write, said once, and writing goes on.
TEST_F(DeviceFiles, VerifyShowsRecordsAndAnUnreadableOneIsSetAside) {
    Add("One", "900000");
    test::WriteBytes(Songs() / "placements.sljournal", "");
    ProgramRun verify = Run({"verify", Device()});
    EXPECT_EQ(verify.exitCode, 1);
    EXPECT_EQ(verify.out, "pending record\tsongs/placements.sljournal\n");

    test::WriteBytes(Songs() / "placements.sljournal", "not a record\n");
    const ProgramRun add = Run({"add", Device(), (dir_ / "clip.mp4").string(), "--title", "Two", "--number", "900001"});
    EXPECT_EQ(add.exitCode, 0) << add.err;
    EXPECT_TRUE(Has(add.err, "it was set aside as placements.sljournal.bad")) << add.err;
    verify = Run({"verify", Device()});
    EXPECT_EQ(verify.exitCode, 1);
    EXPECT_EQ(verify.out, "set-aside record\tsongs/placements.sljournal.bad\n");
    const ProgramRun next =
        Run({"add", Device(), (dir_ / "clip.mp4").string(), "--title", "Three", "--number", "900002"});
    EXPECT_EQ(next.exitCode, 0) << next.err;
    EXPECT_FALSE(Has(next.err, "set aside")) << next.err;
    EXPECT_EQ(Run({"list", Device()}).out,
              "900000\tOther\tOne\t\t\t\n900001\tOther\tTwo\t\t\t\n900002\tOther\tThree\t\t\t\n");
}

}  // namespace
}  // namespace songloader
