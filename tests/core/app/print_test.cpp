// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>

#include "dialog_fixture.h"

namespace songloader::test {
namespace {

using Printing = DialogTest;

std::vector<ListEntry> Songs(int count) {
    std::vector<ListEntry> entries;
    for (int i = 1; i <= count; ++i) {
        entries.push_back({static_cast<std::uint32_t>(900000 + i), 0, "Song " + std::to_string(i),
                           "Singer " + std::to_string(i), "", ""});
    }
    return entries;
}

bool Has(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// Number, continue flag and preview page count of every page, e.g. "3 0 0".
std::vector<std::string> Flags(const std::vector<RenderedPage>& pages) {
    std::vector<std::string> out;
    for (const RenderedPage& page : pages) {
        out.push_back(std::to_string(page.number) + " " + std::to_string(page.continuePrinting) + " " +
                      std::to_string(page.previewPages));
    }
    return out;
}

TEST_F(Printing, PagesOfFortySongsEndAtTheLastOne) {
    struct Case {
        int songs;
        std::vector<std::string> flags;
        std::size_t songsOnLastPage;
    };
    const Case cases[] = {
        {85, {"1 1 1", "2 1 1", "3 0 0"}, 5},
        // Exactly full pages: the loop stops at the highest page, the flag stays set.
        {80, {"1 1 1", "2 1 1"}, 40},
        {1, {"1 0 0"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.songs);
        view.printJobs.clear();
        view.previews.clear();
        PutDeviceList(Songs(c.songs));
        ChooseDevice();

        dlg.OnPrint();
        dlg.OnPrintPreview();
        ASSERT_EQ(view.printJobs.size(), 1u);
        ASSERT_EQ(view.previews.size(), 1u);
        EXPECT_EQ(Flags(view.printJobs[0]), c.flags);
        EXPECT_EQ(Flags(view.previews[0]), c.flags);

        const RenderedPage& last = view.printJobs[0].back();
        const int first = (last.number - 1) * 40 + 1;
        EXPECT_TRUE(Has(last.texts, "Page " + std::to_string(last.number)));
        EXPECT_TRUE(Has(last.texts, " Song " + std::to_string(first)));
        EXPECT_TRUE(Has(last.texts, " Singer " + std::to_string(first + static_cast<int>(c.songsOnLastPage) - 1)));
        EXPECT_EQ(std::count_if(last.texts.begin(), last.texts.end(),
                                [](const std::string& t) { return t.rfind(" Song ", 0) == 0; }),
                  static_cast<long>(c.songsOnLastPage));
        EXPECT_TRUE(view.messages.empty());
    }
}

TEST_F(Printing, TheStandardPrintCommandAndThePreviewsPrintButtonStartAJob) {
    PutDeviceList({{900001, 0, "Caf\xE9", "Ren\xE9", "", ""}});
    ChooseDevice();
    view.previewEnd = PreviewEnd::PrintChosen;
    dlg.OnPrintPreview();
    ASSERT_EQ(view.printJobs.size(), 1u);
    ASSERT_EQ(view.printJobs[0].size(), 1u);
    // Device texts reach the page converted for display.
    EXPECT_TRUE(Has(view.printJobs[0][0].texts, " Caf\u00E9"));
    EXPECT_TRUE(Has(view.printJobs[0][0].texts, " Ren\u00E9"));
}

TEST_F(Printing, ACancelledPrintDialogPrintsAndSaysNothing) {
    PutDeviceList(Songs(3));
    ChooseDevice();
    view.cancelPrintDialog = true;
    dlg.OnPrint();
    ASSERT_EQ(view.printJobs.size(), 1u);
    EXPECT_TRUE(view.printJobs[0].empty());
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(Printing, AnEmptyDeviceListNeverReachesThePrintDialog) {
    // A device without songs: the output buttons go off at once, not at the next timer tick.
    PutDeviceList({});
    ChooseDevice();
    EXPECT_FALSE(view.IsEnabled(ControlId::Print));
    EXPECT_FALSE(view.IsEnabled(ControlId::PrintPreview));

    // Deleting the last song of a device does the same.
    PutDeviceList(Songs(1));
    PutDeviceMedia("900001", ".mp4");
    ChooseDevice();
    EXPECT_TRUE(view.IsEnabled(ControlId::PrintPreview));
    dlg.OnListRightClick(ControlId::DeviceList, 0);
    view.answers = {MessageAnswer::Yes};
    dlg.OnDeleteSong();
    ASSERT_TRUE(dlg.deviceSongs().empty());
    EXPECT_FALSE(view.IsEnabled(ControlId::Print));
    EXPECT_FALSE(view.IsEnabled(ControlId::PrintPreview));

    // A command that still arrives shows nothing and prints nothing.
    ClearLog();
    dlg.OnPrint();
    dlg.OnPrintPreview();
    EXPECT_TRUE(view.calls.empty());
    EXPECT_TRUE(view.printJobs.empty());
    EXPECT_TRUE(view.previews.empty());
}

}  // namespace
}  // namespace songloader::test
