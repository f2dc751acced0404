// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/help_location.h"

#include <QCoreApplication>
#include <system_error>

namespace songloader::gui {

std::filesystem::path HelpIndexFileFor(const std::filesystem::path& programDir) {
    for (const std::filesystem::path& candidate :
         {programDir / "help" / "index.html", programDir / ".." / "share" / "songloader" / "help" / "index.html"}) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) return candidate.lexically_normal();
    }
    return {};
}

std::filesystem::path HelpIndexFile() { return HelpIndexFileFor(QCoreApplication::applicationDirPath().toStdString()); }

}  // namespace songloader::gui
