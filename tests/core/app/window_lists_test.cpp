// SPDX-License-Identifier: GPL-3.0-or-later
// The device's own list found and counted, keys that keep the user's work, questions before
// long or doubtful work, and the batch the download window follows.
#include <algorithm>

#include "core/device/device_room.h"
#include "dialog_fixture.h"

namespace songloader::test {
namespace {

using Log = std::vector<std::string>;

const std::vector<ListEntry> kStickSongs = {{900001, 0, "Dancing Queen", "Abba", "", ""},
                                            {900002, 0, "Dance Monkey", "Tones", "", ""},
                                            {900003, 0, "Hello", "Dan Lee", "", ""}};

class WindowLists : public DialogTest {
protected:
    void Search(const std::string& text) {
        view.Type(ControlId::SearchBox, text);
        dlg.OnSearchChange();
    }
    std::optional<std::vector<int>> Shown() { return view.shownRows[ControlId::DeviceList]; }
    bool Asked(const std::string& part) const {
        const Log log = view.MessageLog();
        return std::any_of(log.begin(), log.end(),
                           [&](const std::string& m) { return m.find(part) != std::string::npos; });
    }
    // Cloud songs 100001.. with titles "Song N" by "Band", and `extra` after them.
    void PublishSongs(int count, const std::vector<CloudSong>& extra = {}) {
        std::vector<CloudSong> songs;
        for (int i = 1; i <= count; ++i)
            songs.push_back({static_cast<std::uint32_t>(100000 + i), 0, "Song " + std::to_string(i), "Band"});
        songs.insert(songs.end(), extra.begin(), extra.end());
        PublishCloud(songs);
    }
};

TEST_F(WindowLists, TheSearchFiltersTheDeviceListWithoutTheNetworkAndCountsItsHits) {
    PutDeviceList(kStickSongs);
    ChooseDevice();
    const struct {
        const char* typed;
        std::optional<std::vector<int>> shown;
        const char* count;
    } cases[] = {
        {"dan", std::vector<int>{0, 1, 2}, "3 songs"},  // titles and an artist
        {"dancing q", std::vector<int>{0}, "1 song"},
        {"ABB", std::vector<int>{0}, "1 song"},
        {"queen", std::vector<int>{}, "No songs found"},  // a prefix, not a word inside
        {"", std::nullopt, ""},
        {"by title or artist.", std::nullopt, ""},  // the placeholder
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Search(c.typed);
        EXPECT_EQ(Shown(), c.shown);
        EXPECT_EQ(view.Text(ControlId::SearchHits), c.count);
    }
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(server.CountRequests("HEAD", "/MgList.dat"), 0u);

    // The filter follows the list: the Delete key on a shown song asks by its number and title.
    Search("dan");
    view.answers = {MessageAnswer::No, MessageAnswer::Yes};
    dlg.OnDeleteKey(ControlId::DeviceList, 1);
    EXPECT_EQ(view.MessageLog(), Log{"Note|Delete 900002 Dance Monkey?"});
    EXPECT_EQ(dlg.deviceSongs().size(), 3u);
    dlg.OnDeleteKey(ControlId::DeviceList, 1);
    EXPECT_EQ(Numbers(DeviceCatalogue()), (std::vector<std::int32_t>{900001, 900003}));
    EXPECT_EQ(Shown(), (std::vector<int>{0, 1}));
    EXPECT_EQ(view.Text(ControlId::SearchHits), "2 songs");
}

TEST_F(WindowLists, TheDeviceLineShowsTheSongCountAndFreeSpaceAfterEveryWrite) {
    PutDeviceList(kStickSongs);
    EXPECT_EQ(view.Text(ControlId::DeviceSummary), "");
    ChooseDevice();
    const std::string line = view.Text(ControlId::DeviceSummary);
    EXPECT_TRUE(line.starts_with("3 songs on the USB drive, ") && line.ends_with(" free")) << line;
    Queue("900010", "Mine", MakeClip("a.mp4"));
    dlg.OnAddToDevice();
    EXPECT_TRUE(view.Text(ControlId::DeviceSummary).starts_with("4 songs on the USB drive, "));
}

TEST_F(WindowLists, EscapeClosesOnlyAnEmptyWindow) {
    ChooseDevice();
    const struct {
        const char* name;
        std::function<void()> fill;
        bool closes;
    } cases[] = {
        {"a title typed", [&] { view.Type(ControlId::Title, "Half"); }, false},
        {"a media path", [&] { view.Type(ControlId::MediaPath, "/x.mp4"); }, false},
        {"a queued song, the form empty",
         [&] {
             Queue("900010", "Mine", MakeClip("a.mp4"));
             dlg.OnClearFields();
         },
         false},
        {"nothing",
         [&] {
             view.answers = {MessageAnswer::Yes};
             dlg.OnDeleteKey(ControlId::WorkList, 0);
             ClearLog();
         },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.fill();
        dlg.OnCancel();
        EXPECT_EQ(view.closed, c.closes);
        EXPECT_TRUE(view.messages.empty());
    }
}

TEST_F(WindowLists, AStickSongsFolderIsRefusedAsTheDeviceAndAFolderWithoutOneIsAskedAbout) {
    PutDeviceList(kStickSongs);
    view.folders = {songs().string()};
    dlg.OnSelectDevice();
    EXPECT_EQ(view.MessageLog(), Log{"Trallix Song Loader|" + songs().string() +
                                     " is a device's songs folder; give the device itself: " + stick.string()});
    EXPECT_TRUE(dlg.songFolder().empty());
    EXPECT_FALSE(std::filesystem::exists(songs() / "songs"));

    const auto folder = dir / "home" / "karaoke";
    std::filesystem::create_directories(folder);
    for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        ClearLog();
        view.folders = {folder.string()};
        view.answers = {answer};
        dlg.OnSelectDevice();
        ASSERT_EQ(view.messages.size(), 1u);
        EXPECT_EQ(view.messages[0].text,
                  folder.string() + " has no songs folder. Create one there and use this folder as the USB drive?");
        EXPECT_EQ(std::filesystem::exists(folder / "songs"), answer == MessageAnswer::Yes);
        EXPECT_EQ(dlg.songFolder().empty(), answer == MessageAnswer::No);
    }
}

TEST_F(WindowLists, QueueToAddAsksAboutASongOnTheDeviceAsADropDoes) {
    PutDeviceList(kStickSongs);
    ChooseDevice();
    for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        ClearLog();
        FillForm("900010", "dancing QUEEN", MakeClip("a.mp4"), 1, "ABBA");
        view.answers = {answer};
        dlg.OnQueueToAdd();
        EXPECT_EQ(view.MessageLog(), Log{"Note|These files repeat songs already on the USB drive or in the list:\n"
                                         "dancing QUEEN: already on the USB drive as 900001\n\nQueue them anyway?"});
        EXPECT_EQ(dlg.workSongs().size(), answer == MessageAnswer::Yes ? 1u : 0u);
    }
}

TEST_F(WindowLists, CloudSongsOnTheStickAreMarkedNotTickedAndRepeatsAreAskedAbout) {
    PublishSongs(2, {{100003, 0, "Hello", "Dan Lee"}});
    PutDeviceList({{100002, 0, "Song 2", "Band", "", ""}, {900003, 0, "Hello", "Dan Lee", "", ""}});
    SyncCloud();
    const std::vector<FakeRow>& rows = view.rows[ControlId::WorkList];
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(rows[1].onDevice);
    EXPECT_FALSE(rows[1].checked) << "a tick means chosen";
    EXPECT_FALSE(rows[0].onDevice);

    dlg.OnSelectAll();
    ClearLog();
    view.answers = {MessageAnswer::No};  // 100003 repeats 900003 by title and artist
    dlg.OnAddToDevice();
    EXPECT_TRUE(
        Asked("These cloud songs repeat songs already on the USB drive:\n100003 Hello: already on the USB "
              "drive as 900003\n\nAdd them anyway?"));
    std::vector<std::int32_t> numbers = Numbers(DeviceCatalogue());
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, (std::vector<std::int32_t>{100001, 100002, 900003}));
    EXPECT_TRUE(view.rows[ControlId::WorkList][0].onDevice);
    EXPECT_FALSE(view.rows[ControlId::WorkList][0].checked);
}

TEST_F(WindowLists, ALongDownloadIsAskedAboutWithCountSizeAndFreeSpace) {
    PublishSongs(11);
    ChooseDevice();
    SyncCloud();
    dlg.OnSelectAll();
    ClearLog();
    view.answers = {MessageAnswer::No};
    dlg.OnAddToDevice();
    ASSERT_EQ(view.messages.size(), 1u);
    const std::string& text = view.messages[0].text;
    EXPECT_TRUE(text.starts_with("Download 11 cloud songs (")) << text;
    EXPECT_NE(text.find(SizeText(11 * VideoOf(100001).size())), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with(" free.")) << text;
    EXPECT_TRUE(view.transfers.empty());
    EXPECT_TRUE(dlg.deviceSongs().empty());

    // Ten songs of a few kilobytes go without a question.
    for (int row = 10; row < 11; ++row) view.Tick(ControlId::WorkList, row, false);
    ClearLog();
    dlg.OnAddToDevice();
    EXPECT_EQ(view.MessageLog(), Log{"Note|Added successfully"});
    EXPECT_EQ(dlg.deviceSongs().size(), 10u);
}

TEST_F(WindowLists, TheDownloadWindowFollowsTheBatchAndACancelEndsWithoutSuccess) {
    PublishSongs(3);
    ChooseDevice();
    SyncCloud();
    for (int row : {0, 1, 2}) view.Tick(ControlId::WorkList, row);
    int transfers = 0;
    view.onTransfer = [&](DownloadProgress& progress) {
        if (++transfers == 2) progress.RequestCancel();
    };
    ClearLog();
    dlg.OnAddToDevice();
    const std::uint64_t song = VideoOf(100001).size();
    ASSERT_EQ(view.transferBatches.size(), 2u);
    EXPECT_EQ(view.transferBatches[0].song, 1u);
    EXPECT_EQ(view.transferBatches[1].song, 2u);
    EXPECT_EQ(view.transferBatches[1].songCount, 3u);
    EXPECT_EQ(view.transferBatches[1].bytesBefore, song);
    EXPECT_EQ(view.transferBatches[1].totalBytes, 3 * song);
    ASSERT_EQ(view.messages.size(), 1u) << "no \"Added successfully\" after the songs not added";
    EXPECT_TRUE(view.messages[0].text.starts_with("These songs could not be downloaded")) << view.messages[0].text;
    EXPECT_EQ(Numbers(DeviceCatalogue()), std::vector<std::int32_t>{100001});
}

TEST_F(WindowLists, SeveralQueuedSongsTakeALanguageAndArtistAtOnce) {
    ChooseDevice();
    for (const char* number : {"900001", "900002", "900003"}) {
        Queue(number, std::string("Song ") + number, MakeClip(std::string(number) + ".mp4"));
    }
    dlg.OnClearFields();
    for (int row : {0, 2}) view.rows[ControlId::WorkList][row].selected = true;
    dlg.OnWorkListSelectionChange();
    EXPECT_TRUE(view.IsEnabled(ControlId::Revise));
    view.Pick(ControlId::EntryLanguage, 2);
    view.Type(ControlId::Artist, "New Band");
    ClearLog();
    dlg.OnRevise();
    EXPECT_EQ(view.MessageLog(), Log{"Note|2 queued songs were changed."});
    EXPECT_EQ(view.Rows(ControlId::WorkList), (Log{"900001|ES|Song 900001|New Band||", "900002|EG|Song 900002|||",
                                                   "900003|ES|Song 900003|New Band||"}));
}

TEST_F(WindowLists, TheProgressBarStartsEmpty) {
    EXPECT_EQ(view.progressLower, 1);
    EXPECT_EQ(view.progressPos, view.progressLower);
}

}  // namespace
}  // namespace songloader::test
