// SPDX-License-Identifier: GPL-3.0-or-later
#include <chrono>

#include "dialog_fixture.h"

namespace songloader::test {
namespace {

using Log = std::vector<std::string>;

class Search : public DialogTest {
protected:
    void SetUp() override {
        PublishCloud({{890000, 0, "", "Lola"},
                      {900001, 0, "Love Me", "Ann"},
                      {900002, 6, "Lupa", "Bert"},
                      {900003, 2, "Amor", "Lo"},
                      {900004, 40, "Weird", "Lou"},
                      {900005, 0, "Yesterday", "Paul"},
                      {900006, 27, "Zed", "Zoe"}});
        PutDeviceList({{900002, 6, "Lupa", "Bert", "", ""}});
    }
    void Type(const std::string& text) {
        view.Type(ControlId::SearchBox, text);
        dlg.OnSearchChange();
    }
    std::size_t Heads() const { return server.CountRequests("HEAD", "/MgList.dat"); }
};

TEST_F(Search, HitsByTitleOrArtistWithTicksForDeviceSongs) {
    SyncCloud();
    Type("lo");
    EXPECT_EQ(view.Rows(ControlId::WorkList), (Log{"890000|EG|(MV)|Lola||", "900001|EG|Love Me|Ann||",
                                                   "900003|ES|Amor|Lo||", "900004|Other|Weird|Lou||"}));
    EXPECT_EQ(view.Checks(ControlId::WorkList), (std::vector<bool>{false, false, false, false}));
    Type("Lu");
    EXPECT_EQ(view.Rows(ControlId::WorkList), Log{"900002|OPM|Lupa|Bert||"});
    // Marked as on the device, not ticked: a tick means the user chose it.
    EXPECT_EQ(view.Checks(ControlId::WorkList), std::vector<bool>{false});
    EXPECT_TRUE(view.rows[ControlId::WorkList][0].onDevice);
    EXPECT_TRUE(view.rows[ControlId::WorkList][0].selected);
    EXPECT_EQ(view.progressPos, 500);
    EXPECT_EQ(view.messages.size(), 1u);  // the sync's own

    // "Select All" walks the hits of the last search.
    Type("L");
    dlg.OnSelectAll();
    EXPECT_EQ(view.Checks(ControlId::WorkList), (std::vector<bool>{true, true, false, true, true}));
}

TEST_F(Search, TheSearchLanguage) {
    SyncCloud();
    view.Pick(ControlId::SearchLanguage, 1);  // OPM, with the placeholder in the box
    dlg.OnSearchLanguageChange();
    EXPECT_EQ(view.Rows(ControlId::WorkList), Log{"900002|OPM|Lupa|Bert||"});
    view.Pick(ControlId::SearchLanguage, 4);  // "Other ": the songs stored with language 27
    dlg.OnSearchLanguageChange();
    EXPECT_EQ(view.Rows(ControlId::WorkList), Log{"900006|Other|Zed|Zoe||"});
    view.Pick(ControlId::SearchLanguage, 2);
    view.Type(ControlId::SearchBox, "Y");
    dlg.OnSearchLanguageChange();
    EXPECT_EQ(view.Rows(ControlId::WorkList), Log{"900005|EG|Yesterday|Paul||"});
}

TEST_F(Search, EmptyTextAndPlaceholderStartNoSearch) {
    SyncCloud();
    Type("lo");
    const Log hits = view.Rows(ControlId::WorkList);
    now += std::chrono::seconds(60);
    const auto heads = Heads();
    Type("");
    Type("by title or artist.");
    EXPECT_EQ(view.Rows(ControlId::WorkList), hits);
    EXPECT_EQ(Heads(), heads);
    EXPECT_EQ(view.messages.size(), 1u);
}

// With songs on the device a search finds them there; without any it needs the cloud's.
TEST_F(Search, CloudDataFirst) {
    std::filesystem::remove(songs() / "SgList.dat");
    ChooseDevice();
    Type("lo");
    view.Pick(ControlId::SearchLanguage, 1);
    dlg.OnSearchLanguageChange();
    EXPECT_EQ(view.MessageLog(), (Log{"ERROR|Please download cloud data!!", "ERROR|Please download cloud data!"}));
    EXPECT_EQ(view.messages[1].icon, NoticeIcon::Exclamation);
}

TEST_F(Search, NoNetworkLeavesTheListAlone) {
    SyncCloud();
    const Log cloudList = view.Rows(ControlId::WorkList);
    now += std::chrono::seconds(60);
    server.SetBehaviour("MgList.dat", PathBehaviour{.headWithoutLength = true});
    Type("lo");
    EXPECT_EQ(view.MessageLog().back(), "ERROR|Please check network!!");
    EXPECT_EQ(view.Rows(ControlId::WorkList), cloudList);
}

TEST_F(Search, ASuccessfulProbeIsReusedForAFewSeconds) {
    SyncCloud();
    const auto heads = Heads();
    Type("l");
    Type("lo");
    Type("lov");
    EXPECT_EQ(Heads(), heads);  // the sync's probe still counts
    now += kProbeReuse;
    Type("love");
    EXPECT_EQ(Heads(), heads + 1);
    now += std::chrono::seconds(1);
    Type("love ");
    EXPECT_EQ(Heads(), heads + 1);
    EXPECT_EQ(view.Rows(ControlId::WorkList), Log{"900001|EG|Love Me|Ann||"});
}

// A server that takes the connection and never answers, and one that is not there at all: the
// probes give up at the client's limits (here 300 ms without data, checked about once a second).
TEST_F(Search, ADeadServerDoesNotFreezeTheWindow) {
    SilentServer silent;
    const RefusedPort nobody;
    for (const std::string& url : {silent.baseUrl(), nobody.baseUrl()}) {
        DownloadProgress otherProgress;
        CloudClient dead(url, otherProgress);
        dead.SetTimeouts({std::chrono::milliseconds(2000), std::chrono::milliseconds(300)});
        FakeView otherView;
        CSonquillDlg other(otherView, drives, dead, settings);
        otherView.Type(ControlId::SearchBox, "lo");
        const auto start = std::chrono::steady_clock::now();
        other.OnSearchChange();
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(otherView.MessageLog(), Log{"ERROR|Please check network!!"}) << url;
        EXPECT_LT(waited, std::chrono::seconds(10)) << url;  // far below the default limits
    }
}

TEST_F(Search, TextsOutsideTheCodePageOrWithQuotesFindNothingQuietly) {
    SyncCloud();
    Type("歌");
    EXPECT_TRUE(view.Rows(ControlId::WorkList).empty());
    Type("Love' or '1'='1");
    EXPECT_TRUE(view.Rows(ControlId::WorkList).empty());
    EXPECT_EQ(view.messages.size(), 1u);
}

}  // namespace
}  // namespace songloader::test
