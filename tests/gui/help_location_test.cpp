// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "gui/help_location.h"
#include "support/temp_dir.h"

namespace songloader::gui {
namespace {

TEST(HelpLocation, BuildTreeFirstThenInstalledTreeElseNothing) {
    struct Case {
        const char* name;
        std::vector<std::string> files;  // below the temporary root; the program sits in bin/
        std::string expected;
    };
    const Case cases[] = {
        {"beside the program", {"bin/help/index.html"}, "bin/help/index.html"},
        {"installed", {"share/songloader/help/index.html"}, "share/songloader/help/index.html"},
        {"both: beside wins", {"bin/help/index.html", "share/songloader/help/index.html"}, "bin/help/index.html"},
        {"none", {}, ""},
        {"a folder is no page", {"bin/help/index.html/x"}, ""},
    };
    for (const Case& c : cases) {
        test::TempDir root;
        std::filesystem::create_directories(root / "bin");
        for (const std::string& file : c.files) {
            std::filesystem::create_directories((root / file).parent_path());
            test::WriteBytes(root / file, std::string("<html></html>"));
        }
        const std::filesystem::path found = HelpIndexFileFor(root / "bin");
        EXPECT_EQ(found, c.expected.empty() ? std::filesystem::path() : root / c.expected) << c.name;
    }
}

}  // namespace
}  // namespace songloader::gui
