// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "support/media_samples.h"
#include "support/run_program.h"
#include "support/temp_dir.h"
#include "support/test_cloud_server.h"

namespace songloader {
namespace {

using test::ProgramRun;

// A cloud published with the CLI itself and served from 127.0.0.1, and a fresh device folder.
class CloudCli : public ::testing::Test {
protected:
    CloudCli() {
        std::filesystem::create_directories(device_);
        test::WriteBytes(dir_ / "media/let-it-be.mkv", test::MediaBytes(7000, 1));
        test::WriteBytes(dir_ / "media/clip.mp4", test::MediaBytes(3100, 2));
        test::WriteBytes(dir_ / "media/amor.mp4", test::MediaBytes(2400, 3));
        for (const char* name : {"sglist.dat", "sgmusic.dat", "sgmsg.dat", "midisongsbook.pdf"}) {
            test::WriteBytes(dir_ / "midi" / name, std::string(500, name[2]));
        }
        test::WriteBytes(dir_ / "songs.tsv",
                         "number\tlanguage\ttitle\tartist\tcomposer\tlyricist\tmedia\n"
                         "100001\tEG\tLet It Be\tAnn\tLennon\tMcCartney\tmedia/let-it-be.mkv\n"
                         "890002\tOPM\tLove Clip\tBand\t\t\tmedia/clip.mp4\n"
                         "100003\tES\tAmor\tLou\t\t\tmedia/amor.mp4\n");
    }
    ProgramRun Run(std::vector<std::string> args) {
        return test::RunProgram(
            SONGLOADER_CLI_PATH, args,
            {"LC_ALL=en_US.UTF-8", "XDG_CONFIG_HOME=" + (dir_ / "config").string(), "SONGLOADER_CLOUD_URL="});
    }
    ProgramRun Cloud(std::vector<std::string> args) {
        args.push_back("--cloud-url=" + server_.baseUrl());
        return Run(args);
    }
    void Publish() {
        ProgramRun publish = Run({"publish", Table(), Out(), "--midi-dir", (dir_ / "midi").string()});
        ASSERT_EQ(publish.exitCode, 0) << publish.err;
        ASSERT_EQ(publish.out, "3 songs published to " + Out() + "\n");
    }
    std::string Table() const { return (dir_ / "songs.tsv").string(); }
    std::string Out() const { return out_.path().string(); }
    std::string Device() const { return device_.string(); }
    std::filesystem::path Songs() const { return device_ / "songs"; }

    test::TempDir dir_;
    test::TempDir out_;
    std::filesystem::path device_ = dir_ / "stick";
    test::TestCloudServer server_{out_.path()};
};

TEST_F(CloudCli, PublishServeSyncSearchFetch) {
    Publish();
    EXPECT_EQ(
        test::ListFiles(out_.path()),
        (std::vector<std::string>{"100001.mp4", "100003.mp4", "230midisglist.dat", "230midisgmsg.dat",
                                  "230midisgmusic.dat", "890002.mp4", "MgList.dat", "Msong.db", "midisongsbook.pdf"}));
    EXPECT_EQ(test::ReadBytes(out_ / "100001.mp4"), test::MediaBytes(7000, 1));

    ProgramRun sync = Cloud({"cloud-sync", Device()});
    ASSERT_EQ(sync.exitCode, 0) << sync.err;
    EXPECT_EQ(sync.out, "3 cloud songs, 0 of them on the device\ncheck cloud database ok\n");
    EXPECT_EQ(test::ReadBytes(Songs() / "MgList.dat"), test::ReadBytes(out_ / "MgList.dat"));

    ProgramRun search = Run({"search", Device(), "l"});
    ASSERT_EQ(search.exitCode, 0) << search.err;
    EXPECT_EQ(search.out, "100001\tEG\tLet It Be\tAnn\n890002\tOPM\tLove Clip(MV)\tBand\n100003\tES\tAmor\tLou\n");

    ProgramRun fetch = Cloud({"fetch", Device(), "890002", "100001"});
    ASSERT_EQ(fetch.exitCode, 0) << fetch.err;
    EXPECT_EQ(fetch.out, "890002 Love Clip: done\n100001 Let It Be: done\nAdded successfully\n");
    EXPECT_EQ(test::ReadBytes(Songs() / "890/890002.mp4"), test::MediaBytes(3100, 2));
    EXPECT_EQ(test::ReadBytes(Songs() / "100/100001.mp4"), test::MediaBytes(7000, 1));
    EXPECT_EQ(server_.CountRequests("GET", "/890002.mp4"), 1u);
    EXPECT_EQ(Run({"list", Device()}).out,
              "890002\tOPM\tLove Clip\tBand\t\t\n100001\tEG\tLet It Be\tAnn\tLennon\tMcCartney\n")
        << "title and all from the cloud list, without the (MV) mark";
    EXPECT_EQ(Run({"search", Device(), "love"}).out, "890002\tOPM\tLove Clip(MV)\tBand\ton device\n");

    ProgramRun again = Cloud({"fetch", Device(), "100001"});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.out, "100001 is already on the device\n");
    EXPECT_EQ(Cloud({"cloud-sync", Device()}).out, "3 cloud songs, 2 of them on the device\ncheck cloud database ok\n");

    ProgramRun midi = Cloud({"midi", Device()});
    ASSERT_EQ(midi.exitCode, 0) << midi.err;
    EXPECT_EQ(test::ReadBytes(device_ / "midi/sgmusic.dat"), std::string(500, 'm'));
    EXPECT_EQ(test::ReadBytes(device_ / "midisongsbook.pdf"), std::string(500, 'd'));
    EXPECT_EQ(Cloud({"midi", Device()}).out, "No new songs available!\n");
}

TEST_F(CloudCli, FailedDownloadsAreNamedAndNotAdded) {
    Publish();
    ASSERT_EQ(Cloud({"cloud-sync", Device()}).exitCode, 0);
    std::filesystem::remove(out_ / "100003.mp4");
    ProgramRun fetch = Cloud({"fetch", Device(), "100003", "100001", "555555"});
    EXPECT_EQ(fetch.exitCode, 1);
    EXPECT_EQ(fetch.out, "100001 Let It Be: done\nAdded successfully\n");
    EXPECT_EQ(fetch.err,
              "songloader-cli: 555555 is not in the cloud list\nsongloader-cli: 100003 Amor: error status 404\n"
              "songloader-cli: not added:\n  100003 Amor\n");
    EXPECT_EQ(Run({"list", Device()}).out, "100001\tEG\tLet It Be\tAnn\tLennon\tMcCartney\n");
    EXPECT_FALSE(std::filesystem::exists(Songs() / "100/100003.mp4"));
    EXPECT_EQ(test::ListFiles(Songs()),
              (std::vector<std::string>{"100/100001.mp4", "MgList.dat", "Msong.db", "SgList.dat", "usbsong.db"}));
}

TEST_F(CloudCli, SyncFailuresKeepTheOldFiles) {
    const test::RefusedPort nobody;
    ProgramRun refused = Run({"cloud-sync", Device(), "--cloud-url", nobody.baseUrl()});
    EXPECT_EQ(refused.exitCode, 1);
    // The URL and the cause, not only the window's text.
    EXPECT_EQ(refused.err.rfind("songloader-cli: Please check network!! (" + nobody.baseUrl() + "MgList.dat: ", 0), 0u)
        << refused.err;
    EXPECT_FALSE(std::filesystem::exists(Songs()));

    Publish();
    ASSERT_EQ(Cloud({"cloud-sync", Device()}).exitCode, 0);
    const std::string database = test::ReadBytes(Songs() / "Msong.db");
    server_.SetBehaviour("Msong.db", {.closeAfter = 1000});
    ProgramRun cut = Cloud({"cloud-sync", Device()});
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_EQ(cut.err.rfind("songloader-cli: cannot download " + server_.baseUrl() + "Msong.db: network failure", 0),
              0u)
        << cut.err;
    EXPECT_EQ(test::ReadBytes(Songs() / "Msong.db"), database);
    EXPECT_EQ(test::ListFiles(Songs()), (std::vector<std::string>{"MgList.dat", "Msong.db"}));

    ProgramRun noList = Cloud({"fetch", (dir_ / "media").string(), "100001"});
    EXPECT_EQ(noList.exitCode, 1);
    EXPECT_EQ(noList.err, "songloader-cli: no cloud list on the device: run cloud-sync first\n");
}

TEST_F(CloudCli, PublishReportsBadRowsAndWritesNothing) {
    test::WriteBytes(out_ / "MgList.dat", "old list");
    test::WriteBytes(dir_ / "bad.tsv",
                     "100001\tEG\tFine\tA\t\t\tmedia/clip.mp4\n"
                     "100002\tZZ\tT\tA\t\t\tmedia/clip.mp4\n"
                     "100003\tEG\tT\tA\t\t\tmedia/none.mp4\n");
    ProgramRun bad = Run({"publish", (dir_ / "bad.tsv").string(), Out()});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.err.find("bad.tsv: line 2: unknown language \"ZZ\""), std::string::npos) << bad.err;
    EXPECT_NE(bad.err.find("bad.tsv: line 3: no media file at "), std::string::npos) << bad.err;
    EXPECT_EQ(test::ListFiles(out_.path()), std::vector<std::string>{"MgList.dat"});
    EXPECT_EQ(test::ReadBytes(out_ / "MgList.dat"), "old list");

    std::filesystem::remove(dir_ / "midi/sgmsg.dat");
    ProgramRun noMidi = Run({"publish", Table(), Out(), "--midi-dir", (dir_ / "midi").string()});
    EXPECT_EQ(noMidi.exitCode, 1);
    EXPECT_EQ(noMidi.err, "songloader-cli: no MIDI pack file " + (dir_ / "midi/sgmsg.dat").string() + "\n");
    EXPECT_EQ(test::ListFiles(out_.path()), std::vector<std::string>{"MgList.dat"});
}

TEST_F(CloudCli, HelpAndUsage) {
    for (const char* command : {"fetch", "publish"}) EXPECT_EQ(Run({command}).exitCode, 2) << command;
    EXPECT_EQ(Run({"fetch", Device(), "12x"}).exitCode, 2);
    EXPECT_EQ(Run({"fetch", Device(), "1234567"}).exitCode, 2);
    EXPECT_EQ(Run({"cloud-sync", Device(), "--cloud-url"}).exitCode, 2);
    EXPECT_NE(Run({"cloud-sync", "--help"}).out.find("SONGLOADER_CLOUD_URL"), std::string::npos);
}

}  // namespace
}  // namespace songloader
