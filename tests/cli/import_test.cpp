// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "support/media_samples.h"
#include "support/run_program.h"
#include "support/temp_dir.h"
#include "support/tmpfs_mount.h"

namespace songloader {
namespace {

namespace fs = std::filesystem;
using test::ProgramRun;

class CliImport : public ::testing::Test {
protected:
    void SetUp() override {
        device_ = dir_ / "stick";
        fs::create_directories(device_ / "songs");
        in_ = dir_ / "in";
        fs::create_directories(in_ / "sub");
        fs::create_directories(in_ / ".cache");
        for (const char* name : {"tagged.mp4", "untagged.mp4", "tagged.mkv", "tagged.mp3", "clip.flv", "stream.ts",
                                 "clip.webm", "matroska-named.mp4", "words.mp4"}) {
            fs::copy_file(test::MediaFixture(name), in_ / name);
        }
        fs::copy_file(test::MediaFixture("Artist - Title.avi"), in_ / "sub" / "Artist - Title.avi");
        fs::copy_file(test::MediaFixture("01 - Gil Park - Night Train.mpg"), in_ / "01 - Gil Park - Night Train.mpg");
        fs::copy_file(test::MediaFixture("tagged.mp4"), in_ / "sub" / "again.mp4");
        fs::copy_file(test::MediaFixture("tagged.mp4"), in_ / ".cache" / "hidden.mp4");
    }
    ProgramRun Run(std::vector<std::string> args) {
        return test::RunProgram(SONGLOADER_CLI_PATH, args,
                                {"LC_ALL=en_US.UTF-8", "XDG_CONFIG_HOME=" + (dir_ / "config").string()});
    }
    std::string In(const std::string& name) const { return (in_ / name).string(); }

    test::TempDir dir_;
    fs::path device_;
    fs::path in_;
};

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
}

TEST_F(CliImport, AFolderOfEveryKind) {
    // In byte order of the full paths: in/sub/... comes before in/tagged...
    const std::string added = "900000\tNight Train\tGil Park\t" + In("01 - Gil Park - Night Train.mpg") +
                              "\n"
                              "900001\tclip\t\t" +
                              In("clip.flv") +
                              "\n"
                              "900002\tstream\t\t" +
                              In("stream.ts") +
                              "\n"
                              "900003\tTitle\tArtist\t" +
                              In("sub/Artist - Title.avi") +
                              "\n"
                              "900004\tBlue Moon\tAnn Lee\t" +
                              In("sub/again.mp4") +
                              "\n"
                              "900005\tRed River\tBo Chan\t" +
                              In("tagged.mkv") +
                              "\n"
                              "900006\tGreen Hill\tEve Moss\t" +
                              In("tagged.mp3") +
                              "\n"
                              "900007\tuntagged\t\t" +
                              In("untagged.mp4") + "\n";
    const std::string refused =
        "songloader-cli: " + In("clip.webm") +
        " plays only after conversion (a WebM file, vp8 video); add --convert to convert it\n"
        "songloader-cli: " +
        In("matroska-named.mp4") +
        " plays only after conversion (a Matroska (MKV) file named .mp4); add --convert to convert it\n"
        "songloader-cli: " +
        In("tagged.mp4") + ": the same song as " + In("sub/again.mp4") +
        "\n"
        "songloader-cli: " +
        In("words.mp4") + " is not a video or audio file.\n";

    // A dry run says the same and copies nothing.
    const ProgramRun dry = Run({"import", device_.string(), in_.string(), "--language", "EG", "--dry-run"});
    EXPECT_EQ(dry.exitCode, 1);
    EXPECT_EQ(dry.out, added);
    EXPECT_FALSE(fs::exists(device_ / "songs" / "900"));
    EXPECT_FALSE(fs::exists(device_ / "songs" / "SgList.dat"));

    const ProgramRun run = Run({"import", device_.string(), in_.string(), "--language", "EG"});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.out, added);
    EXPECT_EQ(dry.err, refused);
    EXPECT_NE(run.err.find(refused), std::string::npos) << run.err;
    // One rebuild for the whole batch.
    EXPECT_EQ(Count(run.err, "Added successfully"), 1u) << run.err;

    // Byte-identical copies under their numbers with their own extensions; the catalogue is sound.
    EXPECT_EQ(test::ReadBytes(device_ / "songs/900/900000.mpg"),
              test::ReadBytes(in_ / "01 - Gil Park - Night Train.mpg"));
    EXPECT_EQ(test::ReadBytes(device_ / "songs/900/900003.avi"), test::ReadBytes(in_ / "sub/Artist - Title.avi"));
    const ProgramRun verify = Run({"verify", device_.string()});
    EXPECT_EQ(verify.exitCode, 0) << verify.out << verify.err;
    const ProgramRun list = Run({"list", device_.string()});
    EXPECT_EQ(Count(list.out, "\n"), 8u) << list.out;

    // Again: everything is on the device now, and nothing more is copied.
    const ProgramRun again =
        Run({"import", device_.string(), In("tagged.mkv"), In("untagged.mp4"), "--language", "ES"});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_EQ(again.out, "");
    EXPECT_EQ(again.err, "songloader-cli: " + In("tagged.mkv") +
                             ": already on the USB drive as 900005\n"
                             "songloader-cli: " +
                             In("untagged.mp4") + ": already on the USB drive as 900007\n");
    const ProgramRun kept =
        Run({"import", device_.string(), In("tagged.mkv"), "--language", "ES", "--keep-duplicates", "--artist", "Zed"});
    EXPECT_EQ(kept.exitCode, 0) << kept.err;
    EXPECT_EQ(kept.out, "900008\tRed River\tZed\t" + In("tagged.mkv") + "\n");
}

TEST_F(CliImport, UsageAndLanguage) {
    EXPECT_EQ(Run({"import", device_.string(), in_.string()}).exitCode, 2);
    EXPECT_EQ(Run({"import", device_.string(), in_.string(), "--language", "XX"}).exitCode, 2);
    EXPECT_EQ(Run({"import"}).exitCode, 2);
    fs::create_directories(dir_ / "config/songloader");
    test::WriteBytes(dir_ / "config/songloader/songloader.conf", "language = OPM\n");
    const ProgramRun run = Run({"import", device_.string(), In("tagged.mp3")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "900000\tGreen Hill\tEve Moss\t" + In("tagged.mp3") + "\n");
}

// The whole batch is checked against the free space before the first copy.
TEST_F(CliImport, ABatchThatDoesNotFitCopiesNothing) {
    const fs::path stick = dir_ / "small";
    test::TmpfsMount mount(stick, 1 << 20);
    if (!mount.mounted()) GTEST_SKIP() << mount.why_not();
    fs::create_directories(stick / "songs");
    fs::create_directories(dir_ / "big");
    test::WriteMediaFile(dir_ / "big/A - One.mp4", 600 * 1024, 1);
    test::WriteMediaFile(dir_ / "big/B - Two.mp4", 600 * 1024, 2);
    const ProgramRun run = Run({"import", stick.string(), (dir_ / "big").string(), "--language", "EG"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("more is needed. Nothing was copied."), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("KiB more"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(stick / "songs" / "900"));
    EXPECT_FALSE(fs::exists(stick / "songs" / "SgList.dat"));
}

// The device's own songs are never imported again as new songs.
TEST_F(CliImport, ASourceInsideTheDevicesSongsFolderIsRefused) {
    ASSERT_EQ(Run({"import", device_.string(), In("tagged.mp3"), "--language", "EG"}).exitCode, 0);
    for (const fs::path& source :
         {device_ / "songs" / "900", device_ / "songs" / "900" / "900000.mp3", device_ / "songs"}) {
        const ProgramRun run = Run({"import", device_.string(), source.string(), "--language", "EG"});
        EXPECT_EQ(run.exitCode, 1) << source;
        EXPECT_EQ(run.out, "") << source;
        EXPECT_NE(run.err.find(source.string() + " is inside the device's songs folder"), std::string::npos) << run.err;
    }
    EXPECT_EQ(test::ListFiles(device_ / "songs"),
              (std::vector<std::string>{"900/900000.mp3", "SgList.dat", "usbsong.db"}));
    EXPECT_EQ(Run({"delete", device_.string(), "900000"}).exitCode, 0);
}

}  // namespace
}  // namespace songloader
