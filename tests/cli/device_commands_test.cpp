// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "support/media_samples.h"
#include "support/cloud_catalogue_fixture.h"
#include "support/list_file_bytes.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace songloader {
namespace {

using test::ProgramRun;

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        device_ = dir_ / "stick";
        std::filesystem::create_directories(device_);
        test::WriteMediaSample(dir_ / "clip.mp4", 3000);
    }
    ProgramRun Run(std::vector<std::string> args, const std::string& locale = "en_US.UTF-8") {
        return test::RunProgram(SONGLOADER_CLI_PATH, args,
                                {"LC_ALL=" + locale, "XDG_CONFIG_HOME=" + (dir_ / "config").string()});
    }
    std::string Device() const { return device_.string(); }
    std::string Clip() const { return (dir_ / "clip.mp4").string(); }
    std::filesystem::path Songs() const { return device_ / "songs"; }

    test::TempDir dir_;
    std::filesystem::path device_;
};

TEST_F(Cli, HelpAndUsageErrors) {
    EXPECT_EQ(Run({"--help"}).exitCode, 0);
    EXPECT_EQ(Run({}).exitCode, 2);
    ProgramRun unknown = Run({"frobnicate"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.err.find("unknown command"), std::string::npos);
    for (const char* command : {"export", "add", "revise", "delete", "search", "print"}) {
        ProgramRun help = Run({command, "--help"});
        EXPECT_EQ(help.exitCode, 0) << command;
        EXPECT_EQ(help.out.rfind(std::string("usage: songloader-cli ") + command + " [DEVICE] ", 0), 0u) << command;
        EXPECT_EQ(help.out, Run({"help", command}).out) << command;
        // The operand after DEVICE is missing: the command's usage, exit 2.
        ProgramRun missing = Run({command});
        EXPECT_EQ(missing.exitCode, 2) << command;
        EXPECT_NE(missing.err.find(std::string("\nusage: songloader-cli ") + command), std::string::npos) << command;
    }
    EXPECT_EQ(Run({"list", Device(), "--bogus"}).exitCode, 2);
    EXPECT_EQ(Run({"add", Device(), Clip(), "--title"}).exitCode, 2);
    EXPECT_EQ(Run({"add", Device(), Clip(), "--title", "T", "--language", "XX"}).exitCode, 2);
    EXPECT_EQ(Run({"add", Device(), Clip(), "--title", "T", "--number", "9x"}).exitCode, 2);
    EXPECT_EQ(Run({"list", (dir_ / "no-such-stick").string()}).exitCode, 1);
}

// Only the locale table's code pages are device code pages: any other name is a usage error.
TEST_F(Cli, EncodingIsOneOfTheLocaleCodePages) {
    for (const char* name : {"NOPE", "UTF-8", "UTF-16", "ISO-8859-1"}) {
        ProgramRun add = Run({"add", Device(), Clip(), "--title", "T", "--encoding", name});
        EXPECT_EQ(add.exitCode, 2) << name;
        EXPECT_NE(add.err.find("CP1252 CP936 CP950 CP874 CP932 CP949 CP1258"), std::string::npos) << add.err;
        EXPECT_EQ(Run({"publish", (dir_ / "songs.tsv").string(), (dir_ / "out").string(), "--encoding", name}).exitCode,
                  2)
            << name;
    }
    EXPECT_FALSE(std::filesystem::exists(Songs() / "SgList.dat"));
    EXPECT_EQ(Run({"add", Device(), Clip(), "--title", "T", "--encoding", "cp1258"}).exitCode, 0);
}

TEST_F(Cli, AddListExportAndDeleteOnAFreshStick) {
    EXPECT_EQ(Run({"list", Device()}).out, "");  // no songs folder yet: an empty device

    ProgramRun add = Run({"add", Device(), Clip(), "--title", "Let It Be", "--artist", "Ann", "--language", "EG"});
    ASSERT_EQ(add.exitCode, 0) << add.err;
    EXPECT_EQ(add.out, "900000\n");
    EXPECT_EQ(add.err, "Added successfully\n");
    EXPECT_EQ(test::ReadBytes(Songs() / "900" / "900000.mp4"), test::ReadBytes(Clip()));

    add = Run(
        {"add", Device(), Clip(), "--title", "Canción", "--number", "900005", "--composer", "C", "--lyricist", "L"});
    ASSERT_EQ(add.exitCode, 0) << add.err;
    EXPECT_NE(test::ReadBytes(Songs() / "SgList.dat").find("Canci\xF3n"), std::string::npos);
    EXPECT_EQ(test::ListFiles(Songs()),
              (std::vector<std::string>{"900/900000.mp4", "900/900005.mp4", "SgList.dat", "usbsong.db"}));

    ProgramRun list = Run({"list", Device()});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.out, "900000\tEG\tLet It Be\tAnn\t\t\n900005\tOther\tCanción\t\tC\tL\n");

    ASSERT_EQ(Run({"export", Device(), (dir_ / "list.xls").string()}).exitCode, 0);
    EXPECT_EQ(test::ReadBytes(dir_ / "list.xls"),
              "SongNO   \tLanguage   \tTitle   \tsinger   \tComposer   \tLyricist\t \n"
              " 900000   \t EG   \t Let It Be   \t Ann   \t    \t \t \n"
              " 900005   \t Other   \t Canci\xF3n   \t    \t C   \t L\t \n");
    ProgramRun badExport = Run({"export", Device(), (dir_ / "missing" / "list.xls").string()});
    EXPECT_EQ(badExport.exitCode, 1);
    EXPECT_EQ(badExport.err, "songloader-cli: Cannot create the export file.\n");

    ProgramRun del = Run({"delete", Device(), "900000"});
    ASSERT_EQ(del.exitCode, 0) << del.err;
    EXPECT_EQ(del.out, "Song deleted successfully\n");
    EXPECT_EQ(Run({"list", Device()}).out, "900005\tOther\tCanción\t\tC\tL\n");
    EXPECT_FALSE(std::filesystem::exists(Songs() / "900" / "900000.mp4"));
    EXPECT_EQ(Run({"delete", Device(), "900000"}).exitCode, 1);

    ASSERT_EQ(Run({"delete", Device(), "900005"}).exitCode, 0);
    EXPECT_EQ(Run({"list", Device()}).out, "");
    EXPECT_EQ(test::ListFiles(Songs()), std::vector<std::string>{"usbsong.db"});
}

TEST_F(Cli, AddRefusesWhatTheFormRefuses) {
    ASSERT_EQ(Run({"add", Device(), Clip(), "--title", "One"}).exitCode, 0);
    auto failure = [&](std::vector<std::string> args, const std::string& locale = "en_US.UTF-8") {
        ProgramRun run = Run(args, locale);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err.rfind("songloader-cli: ", 0), 0u) << run.err;
        return run.err.substr(std::string("songloader-cli: ").size());
    };
    EXPECT_EQ(failure({"add", Device(), Clip(), "--title", "T", "--number", "812345"}),
              "The first digit of song number must be 9\n");
    EXPECT_EQ(failure({"add", Device(), Clip(), "--title", "T", "--number", "900000"}),
              "Song number is duplicate with existing file of device\n");
    EXPECT_EQ(failure({"add", Device(), Clip(), "--title", "T", "--number", "9001"}),
              "Song number?must?be?six?digit from 900000 to 999999!\n");
    EXPECT_EQ(failure({"add", Device(), (dir_ / "nope.mp4").string(), "--title", "T"}), "Invaild directory!\n");
    EXPECT_EQ(failure({"add", Device(), Clip()}), "Please enter song title\n");
    EXPECT_EQ(failure({"add", Device(), Clip(), "--title", "你好"}), "the title cannot be written in CP1252\n");
    EXPECT_EQ(test::ListFiles(Songs()), (std::vector<std::string>{"900/900000.mp4", "SgList.dat", "usbsong.db"}));

    ProgramRun chinese = Run({"add", Device(), Clip(), "--title", "你好", "--encoding", "CP936"});
    ASSERT_EQ(chinese.exitCode, 0) << chinese.err;
    EXPECT_EQ(chinese.out, "900001\n");
    EXPECT_EQ(Run({"list", Device()}, "zh_CN.UTF-8").out, "900000\tOther\tOne\t\t\t\n900001\tOther\t你好\t\t\t\n");
}

// A song the list builder would refuse is refused before its copy: the stick keeps working.
TEST_F(Cli, AddRefusesARowTheBuilderWouldRefuseBeforeCopying) {
    const ProgramRun slashes = Run({"add", Device(), Clip(), "--title", std::string(60, '/')});
    EXPECT_EQ(slashes.exitCode, 1);
    EXPECT_EQ(slashes.out, "");
    EXPECT_NE(slashes.err.find("have row"), std::string::npos) << slashes.err;
    EXPECT_FALSE(std::filesystem::exists(Songs() / "900"));
    EXPECT_FALSE(std::filesystem::exists(Songs() / "placements.sljournal"));
    const ProgramRun fine = Run({"add", Device(), Clip(), "--title", "Fine"});
    ASSERT_EQ(fine.exitCode, 0) << fine.err;
    EXPECT_EQ(Run({"delete", Device(), "900000"}).exitCode, 0);
}

TEST_F(Cli, RebuildReproducesTheSameBytesAndVerifyFindsStrays) {
    ASSERT_EQ(Run({"add", Device(), Clip(), "--title", "One", "--language", "OPM"}).exitCode, 0);
    ASSERT_EQ(Run({"add", Device(), Clip(), "--title", "Two", "--language", "ES"}).exitCode, 0);
    const std::string list = test::ReadBytes(Songs() / "SgList.dat");
    ProgramRun rebuild = Run({"rebuild", Device()});
    ASSERT_EQ(rebuild.exitCode, 0) << rebuild.err;
    EXPECT_EQ(rebuild.out, "Catalogue rebuilt: 2 songs\n");
    EXPECT_EQ(test::ReadBytes(Songs() / "SgList.dat"), list);

    ProgramRun verify = Run({"verify", Device()});
    EXPECT_EQ(verify.exitCode, 0);
    EXPECT_EQ(verify.out, "2 songs, every one with its media file\n");
    std::filesystem::remove(Songs() / "900" / "900000.mp4");
    test::WriteBytes(Songs() / "901" / "901234.avi", "stray");
    verify = Run({"verify", Device()});
    EXPECT_EQ(verify.exitCode, 1);
    EXPECT_EQ(verify.out, "missing media\t900000\tOne\nno song\tsongs/901/901234.avi\n");
}

TEST_F(Cli, ADamagedListIsReportedAndLeftAlone) {
    test::WriteBytes(Songs() / "SgList.dat", std::string("\xEC\x00\x00\x05", 4) + std::string(16, '\0'));
    for (const char* command : {"list", "rebuild", "verify"}) {
        ProgramRun run = Run({command, Device()});
        EXPECT_EQ(run.exitCode, 1) << command;
        EXPECT_EQ(run.err, "songloader-cli: Sglist File Error\n") << command;
    }
    EXPECT_EQ(Run({"add", Device(), Clip(), "--title", "T"}).exitCode, 1);
    EXPECT_EQ(test::ListFiles(Songs()), std::vector<std::string>{"SgList.dat"});
}

TEST_F(Cli, SearchesTheCloudCatalogueOnTheDevice) {
    ProgramRun none = Run({"search", Device(), "lo"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.err, "songloader-cli: Please download cloud data!!\n");
    EXPECT_FALSE(std::filesystem::exists(Songs() / "Msong.db"));

    ASSERT_EQ(Run({"add", Device(), Clip(), "--title", "Lonely", "--number", "900002"}).exitCode, 0);
    test::WriteCloudCatalogue(Songs() / "Msong.db", {{900002, 0, "Lonely", "Ann"},
                                                     {890000, 6, "Love", "Band"},
                                                     {1003, 2, "Amor", "Lou"},
                                                     {1004, 0, "Canci\xF3n", "x"}});
    ProgramRun all = Run({"search", Device(), "lo"});
    ASSERT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(all.out, "900002\tEG\tLonely\tAnn\ton device\n890000\tOPM\tLove(MV)\tBand\n1003\tES\tAmor\tLou\n");
    EXPECT_EQ(Run({"search", Device(), "LO", "--language", "ES"}).out, "1003\tES\tAmor\tLou\n");
    EXPECT_EQ(Run({"search", Device(), "Canción"}).out, "1004\tEG\tCanción\tx\n");
    EXPECT_EQ(Run({"search", Device(), "lo", "--language", "other"}).out, "");

    test::WriteBytes(Songs() / "Msong.db", std::string(5000, 'g'));
    ProgramRun garbage = Run({"search", Device(), "lo"});
    EXPECT_EQ(garbage.exitCode, 1);
    EXPECT_NE(garbage.err.find("is not a song catalogue"), std::string::npos);
}

}  // namespace
}  // namespace songloader

namespace songloader {
namespace {

TEST(CliCloudTexts, ControlCharactersAreEscapedAndAnEmptyCatalogueIsNoCatalogue) {
    test::TempDir dir;
    const std::filesystem::path songs = dir / "songs";
    std::filesystem::create_directories(songs);
    const std::string hostile = "Evil\x1b]0;owned\x07\x1b[2J\r";
    const std::vector<std::uint8_t> list = test::MakeListFileBytes({{100001, 0, hostile, "Ann", "", ""}});
    test::WriteBytes(songs / "SgList.dat", std::string(list.begin(), list.end()));
    auto run = [&](std::vector<std::string> args) {
        return test::RunProgram(SONGLOADER_CLI_PATH, args, {"LC_ALL=en_US.UTF-8"});
    };

    test::WriteBytes(songs / "Msong.db", "");
    ProgramRun empty = run({"search", dir.path().string(), "E"});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.err, "songloader-cli: Please download cloud data!!\n");

    test::WriteCloudCatalogue(songs / "Msong.db", {{100001, 0, hostile, "Ann"}});
    const std::string shown = "Evil\\x1B]0;owned\\x07\\x1B[2J\\x0D";
    EXPECT_EQ(run({"list", dir.path().string()}).out, "100001\tEG\t" + shown + "\tAnn\t\t\n");
    EXPECT_EQ(run({"search", dir.path().string(), "E"}).out, "100001\tEG\t" + shown + "\tAnn\ton device\n");
}

}  // namespace
}  // namespace songloader
