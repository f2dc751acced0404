// SPDX-License-Identifier: GPL-3.0-or-later
// What a real window relies on: network waits handed to the view, commands bracketed, a close
// during a command answered after it.
#include <mutex>

#include "dialog_fixture.h"

namespace songloader::test {
namespace {

using Log = std::vector<std::string>;

class ViewSeam : public DialogTest {
protected:
    // Every request the server sees while the view is not waiting is one that would freeze a window.
    void WatchRequests(const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            server.SetBehaviour(name, PathBehaviour{.onRequest = [this](const CloudRequest& request) {
                                    if (view.waiting.load() > 0) return;
                                    std::lock_guard lock(mutex);
                                    unguarded.push_back(request.method + " " + request.path);
                                }});
        }
    }
    std::mutex mutex;
    Log unguarded;
};

TEST_F(ViewSeam, EveryNetworkWaitRunsThroughTheView) {
    PublishCloud({{900001, 0, "Alpha", "Ann"}, {900002, 0, "Beta", "Bob"}});
    for (const char* name : {"230midisglist.dat", "230midisgmusic.dat", "230midisgmsg.dat", "midisongsbook.pdf"}) {
        WriteBytes(cloud / name, "pack");
    }
    WatchRequests({"MgList.dat", "Msong.db", "900002.mp4", "230midisglist.dat", "230midisgmusic.dat",
                   "230midisgmsg.dat", "midisongsbook.pdf"});
    ChooseDevice();
    SyncCloud();
    view.Type(ControlId::SearchBox, "Beta");
    dlg.OnSearchChange();
    view.Tick(ControlId::WorkList, 0);
    dlg.OnAddToDevice();
    dlg.OnCloudMidi();

    EXPECT_EQ(unguarded, Log{});
    EXPECT_EQ(server.CountRequests("GET", "/900002.mp4"), 1u);
    EXPECT_EQ(server.CountRequests("GET", "/midisongsbook.pdf"), 1u);
    EXPECT_GT(view.works.size(), 4u);
    EXPECT_EQ(view.commandDepth, 0);
}

TEST_F(ViewSeam, ACloseDuringACommandIsAnsweredAfterIt) {
    PutDeviceList({{900000, 0, "Let It Be", "Ann", "", ""}});
    ChooseDevice();
    Queue("900123", "Big", MakeClip("big.mp4", 3 * 1048576));
    ClearLog();

    int requests = 0;
    view.onPump = [&] {
        if (requests++ > 2) return;
        EXPECT_TRUE(dlg.OnSysCommand(SysCommand::Close));  // the view must not close by itself
        dlg.OnCancel();
        EXPECT_FALSE(view.closed);
    };
    dlg.OnAddToDevice();
    view.onPump = nullptr;

    EXPECT_TRUE(view.closed);
    const auto added = std::find(view.calls.begin(), view.calls.end(), "Message Note|Added successfully");
    const auto closed = std::find(view.calls.begin(), view.calls.end(), "CloseWindow");
    EXPECT_LT(added, closed);
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "CloseWindow"), 1);
    EXPECT_EQ(view.commandDepth, 0);
}

}  // namespace
}  // namespace songloader::test
