// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialog_fixture.h"

namespace songloader::test {
namespace {

using Log = std::vector<std::string>;

class CloudMidi : public DialogTest {
protected:
    void SetUp() override {
        WriteBytes(cloud / "230midisglist.dat", std::string(3000, 'l'));
        WriteBytes(cloud / "230midisgmusic.dat", std::string(5000, 'm'));
        WriteBytes(cloud / "230midisgmsg.dat", std::string(700, 'g'));
        WriteBytes(cloud / "midisongsbook.pdf", std::string(2920, 'b'));
    }
    std::size_t Gets(const std::string& name) const { return server.CountRequests("GET", "/" + name); }
};

TEST_F(CloudMidi, NeedsTheNetworkAndADevice) {
    WriteBytes(cloud / "MgList.dat", "list");
    server.SetBehaviour("MgList.dat", PathBehaviour{.headWithoutLength = true});
    dlg.OnCloudMidi();
    server.ClearBehaviours();
    dlg.OnCloudMidi();
    EXPECT_EQ(view.MessageLog(), (Log{"ERROR|Please check network!!", "ERROR|Please Select Disk"}));
    EXPECT_EQ(view.messages[1].icon, NoticeIcon::Exclamation);
    EXPECT_EQ(Gets("230midisglist.dat"), 0u);
}

TEST_F(CloudMidi, FetchesTheWholePackIntoANewMidiFolder) {
    ChooseDevice();
    dlg.OnCloudMidi();
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.transfers, (Log{"sglist.dat 2", "sgmusic.dat 3", "sgmsg.dat 0", "midisongsbook.pdf 2"}));
    EXPECT_EQ(ReadBytes(stick / "midi" / "sglist.dat"), std::string(3000, 'l'));
    EXPECT_EQ(ReadBytes(stick / "midi" / "sgmusic.dat"), std::string(5000, 'm'));
    EXPECT_EQ(ReadBytes(stick / "midi" / "sgmsg.dat"), std::string(700, 'g'));
    EXPECT_EQ(ReadBytes(stick / "midisongsbook.pdf"), std::string(2920, 'b'));
}

TEST_F(CloudMidi, TheFirstUnchangedFileEndsTheUpdate) {
    ChooseDevice();
    WriteBytes(stick / "midi" / "sglist.dat", std::string(3000, 'x'));
    dlg.OnCloudMidi();
    EXPECT_EQ(view.MessageLog(), Log{"NOTE|No new songs available!"});
    EXPECT_EQ(view.messages[0].icon, NoticeIcon::Exclamation);
    EXPECT_TRUE(view.transfers.empty());

    WriteBytes(stick / "midi" / "sglist.dat", "old");
    WriteBytes(stick / "midi" / "sgmusic.dat", std::string(5000, 'x'));
    dlg.OnCloudMidi();
    EXPECT_EQ(view.transfers, Log{"sglist.dat 2"});
    EXPECT_EQ(view.MessageLog().back(), "NOTE|No new songs available!");
    EXPECT_EQ(Gets("230midisgmsg.dat"), 0u);
    EXPECT_FALSE(std::filesystem::exists(stick / "midisongsbook.pdf"));
}

TEST_F(CloudMidi, AFailedFileIsNamed) {
    ChooseDevice();
    std::filesystem::remove(cloud / "230midisgmsg.dat");
    WriteBytes(stick / "midi" / "sgmsg.dat", "kept");
    dlg.OnCloudMidi();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, std::string(kMidiFailedMessage) + "\nsgmsg.dat: error status 404");
    EXPECT_EQ(ReadBytes(stick / "midi" / "sgmsg.dat"), "kept");
    EXPECT_TRUE(std::filesystem::exists(stick / "midisongsbook.pdf"));
}

}  // namespace
}  // namespace songloader::test
