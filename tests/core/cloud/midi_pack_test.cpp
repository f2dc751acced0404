// SPDX-License-Identifier: GPL-3.0-or-later
#include "cloud_test_fixture.h"
#include "core/cloud/cloud_messages.h"
#include "core/cloud/midi_pack.h"

namespace songloader::test {
namespace {

class MidiPackTest : public CloudTest {
protected:
    MidiPackTest() {
        for (std::size_t row = 0; row < MidiPackFiles.size(); ++row) {
            Serve(MidiPackFiles[row].remoteName, Pattern(1000 * (row + 1) + 3, static_cast<unsigned>(row)));
        }
    }
    std::filesystem::path Local(std::size_t row) const { return MidiPackLocalPath(local.path(), MidiPackFiles[row]); }
    std::string Remote(std::size_t row) const { return ReadBytes(cloud / MidiPackFiles[row].remoteName); }
    std::vector<std::string> Heads() const {
        std::vector<std::string> paths;
        for (const CloudRequest& r : server.Requests()) {
            if (r.method == "HEAD") paths.push_back(r.path);
        }
        return paths;
    }
    std::vector<std::string> Gets() const {
        std::vector<std::string> paths;
        for (const CloudRequest& r : server.Requests()) {
            if (r.method == "GET") paths.push_back(r.path);
        }
        return paths;
    }
    static Notices NoNewSongs() { return {{kNoNewSongsMessage, kCaptionNoteUpper, NoticeIcon::Exclamation}}; }
};

TEST_F(MidiPackTest, TableRowsAndPlaces) {
    EXPECT_STREQ(MidiPackFiles[0].remoteName, "230midisglist.dat");
    EXPECT_STREQ(MidiPackFiles[1].remoteName, "230midisgmusic.dat");
    EXPECT_STREQ(MidiPackFiles[2].remoteName, "230midisgmsg.dat");
    EXPECT_STREQ(MidiPackFiles[3].remoteName, "midisongsbook.pdf");
    EXPECT_EQ(Local(0), local / "midi/sglist.dat");
    EXPECT_EQ(Local(1), local / "midi/sgmusic.dat");
    EXPECT_EQ(Local(2), local / "midi/sgmsg.dat");
    EXPECT_EQ(Local(3), local / "midisongsbook.pdf");
}

TEST_F(MidiPackTest, MissingPackIsFetchedWholeIntoANewMidiFolder) {
    std::vector<std::pair<std::string, std::int32_t>> shown;
    const MidiPackUpdate update = UpdateMidiPack(client, local.path(), [&](const Transfer& transfer) {
        shown.emplace_back(progress.DownloadName(), progress.progressSteps.load());
        return transfer();
    });
    EXPECT_TRUE(update.notices.empty());
    EXPECT_FALSE(update.cancelled);
    ASSERT_EQ(update.fetched.size(), 4u);
    for (std::size_t row = 0; row < 4; ++row) {
        EXPECT_TRUE(update.fetched[row].outcome.ok()) << DescribeDownload(update.fetched[row].outcome);
        EXPECT_EQ(ReadBytes(Local(row)), Remote(row)) << "row " << row;
    }
    EXPECT_EQ(shown, (std::vector<std::pair<std::string, std::int32_t>>{{"sglist.dat", 1003 / 1460},
                                                                        {"sgmusic.dat", 2003 / 1460},
                                                                        {"sgmsg.dat", 3003 / 1460},
                                                                        {"midisongsbook.pdf", 4003 / 1460}}));
    EXPECT_EQ(Heads(), (std::vector<std::string>{"/230midisglist.dat", "/230midisgmusic.dat", "/230midisgmsg.dat",
                                                 "/midisongsbook.pdf"}));
    EXPECT_EQ(Gets(), Heads());
}

TEST_F(MidiPackTest, FirstUnchangedFileEndsTheUpdate) {
    WriteBytes(Local(0), "an older song list");
    WriteBytes(Local(1), std::string(2003, 'x'));  // same size as the cloud's, other bytes
    const MidiPackUpdate update = UpdateMidiPack(client, local.path());
    ASSERT_EQ(update.fetched.size(), 1u);
    EXPECT_EQ(update.fetched[0].file, &MidiPackFiles[0]);
    EXPECT_EQ(ReadBytes(Local(0)), Remote(0));
    EXPECT_EQ(ReadBytes(Local(1)), std::string(2003, 'x'));
    EXPECT_EQ(update.notices, NoNewSongs());
    EXPECT_EQ(Heads(), (std::vector<std::string>{"/230midisglist.dat", "/230midisgmusic.dat"}))
        << "rows 2 and 3 are not examined";
    EXPECT_FALSE(std::filesystem::exists(Local(2)));
    EXPECT_FALSE(std::filesystem::exists(Local(3)));
}

TEST_F(MidiPackTest, UnchangedSongListFetchesNothing) {
    WriteBytes(Local(0), Remote(0));
    const MidiPackUpdate update = UpdateMidiPack(client, local.path());
    EXPECT_TRUE(update.fetched.empty());
    EXPECT_EQ(update.notices, NoNewSongs());
    EXPECT_EQ(Heads(), std::vector<std::string>{"/230midisglist.dat"});
    EXPECT_TRUE(Gets().empty());
}

TEST_F(MidiPackTest, UnknownCloudSizeIsFetchedWithAnEmptyRange) {
    server.SetBehaviour("230midisglist.dat", {.headWithoutLength = true});
    std::int32_t steps = -1;
    const MidiPackUpdate update = UpdateMidiPack(client, local.path(), [&](const Transfer& transfer) {
        if (steps < 0) steps = progress.progressSteps.load();
        return transfer();
    });
    EXPECT_EQ(steps, 0);
    ASSERT_EQ(update.fetched.size(), 4u);
    EXPECT_EQ(update.fetched[0].remoteSize, -1);
    EXPECT_EQ(ReadBytes(Local(0)), Remote(0));
}

TEST_F(MidiPackTest, FailedFileKeepsItsOldCopyAndTheRestFollows) {
    std::filesystem::remove(cloud / "230midisgmusic.dat");  // a 404 with an error page
    WriteBytes(Local(1), "old music");
    const MidiPackUpdate update = UpdateMidiPack(client, local.path());
    ASSERT_EQ(update.fetched.size(), 4u);
    EXPECT_EQ(FailureKind(update.fetched[1].outcome), DownloadStatus::ErrorStatus);
    EXPECT_EQ(HttpStatusOf(update.fetched[1].outcome), 404);
    EXPECT_EQ(ReadBytes(Local(1)), "old music");
    EXPECT_EQ(ReadBytes(Local(3)), Remote(3));
}

TEST_F(MidiPackTest, CancelStopsThePackAndKeepsTheOldFile) {
    WriteBytes(Local(1), "old music");
    const MidiPackUpdate update = UpdateMidiPack(client, local.path(), [&](const Transfer& transfer) {
        if (progress.DownloadName() == "sgmusic.dat") progress.RequestCancel();
        DownloadResult outcome = transfer();
        EXPECT_EQ(progress.downloadActive.load(), 1);
        return outcome;
    });
    EXPECT_TRUE(update.cancelled);
    ASSERT_EQ(update.fetched.size(), 2u);
    EXPECT_EQ(FailureKind(update.fetched[1].outcome), DownloadStatus::Cancelled);
    EXPECT_EQ(progress.downloadActive.load(), 0) << "the flag is reset after a cancel";
    EXPECT_EQ(ReadBytes(Local(0)), Remote(0));
    EXPECT_EQ(ReadBytes(Local(1)), "old music");
    EXPECT_FALSE(std::filesystem::exists(Local(2)));
    EXPECT_EQ(ListFiles(local / "midi"), (std::vector<std::string>{"sglist.dat", "sgmusic.dat"}));
}

TEST_F(MidiPackTest, SizesOverTwoGibibytesCompareExactly) {
    // Sparse files: equal sizes beyond 32 bits must still be seen as equal.
    const std::uintmax_t size = (std::uintmax_t{5} << 30) + 1;
    std::filesystem::resize_file(cloud / "230midisglist.dat", size);
    std::filesystem::create_directories(Local(0).parent_path());
    WriteBytes(Local(0), "");
    std::filesystem::resize_file(Local(0), size);
    const MidiPackUpdate update = UpdateMidiPack(client, local.path());
    EXPECT_TRUE(update.fetched.empty());
    EXPECT_EQ(update.notices, NoNewSongs());

    std::filesystem::resize_file(Local(0), size - (std::uintmax_t{1} << 32));  // equal in the low 32 bits
    server.ClearRequests();
    server.SetBehaviour("230midisglist.dat", {.stallAfter = 0});  // keep the test from sending 5 GiB
    client.SetTimeouts({std::chrono::milliseconds(2000), std::chrono::milliseconds(100)});
    const MidiPackUpdate changed = UpdateMidiPack(client, local.path());
    ASSERT_FALSE(changed.fetched.empty());
    EXPECT_EQ(changed.fetched[0].remoteSize, static_cast<std::int64_t>(size));
    EXPECT_EQ(server.CountRequests("GET", "/230midisglist.dat"), 1u);
}

TEST_F(MidiPackTest, ReachabilityProbesTwice) {
    const RefusedPort nobody;
    CloudClient refused(nobody.baseUrl(), progress);
    EXPECT_FALSE(CloudReachable(refused));
    Serve("MgList.dat", "x");
    EXPECT_TRUE(CloudReachable(client));
    EXPECT_EQ(server.CountRequests("HEAD", "/MgList.dat"), 1u) << "a first success is enough";
    server.SetBehaviour("MgList.dat", {.headWithoutLength = true});
    EXPECT_FALSE(CloudReachable(client));
    EXPECT_EQ(server.CountRequests("HEAD", "/MgList.dat"), 3u);
    EXPECT_EQ(CheckNetworkNotice(), (Notice{"Please check network!!", "ERROR", NoticeIcon::Exclamation}));
}

}  // namespace
}  // namespace songloader::test
