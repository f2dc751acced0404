// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/app/batch_summary.h"

#include <algorithm>
#include <cstddef>

namespace songloader {

BatchNotification NotificationOf(const BatchSummary& batch) {
    constexpr std::size_t kNamed = 5;
    std::vector<std::string> lines;
    const std::size_t count = batch.added.size();
    if (count > 0) {
        std::string line = "Added " + std::to_string(count) + " song" + (count == 1 ? "" : "s") + ": ";
        for (std::size_t i = 0; i < std::min(count, kNamed); ++i) line += (i ? ", " : "") + batch.added[i];
        if (count > kNamed) line += " and " + std::to_string(count - kNamed) + " more";
        lines.push_back(line + '.');
    }
    if (!batch.failures.empty()) {
        std::string line = "Failed:";
        for (const std::string& failure : batch.failures) line += " " + failure;
        lines.push_back(line);
    }
    if (lines.empty()) lines.push_back("Nothing was added.");
    BatchNotification notification;
    notification.summary = batch.failures.empty() ? "Songs added to the USB drive"
                           : count == 0           ? "No song was added to the USB drive"
                                                  : "Some songs were not added";
    for (std::size_t i = 0; i < lines.size(); ++i) notification.body += (i ? "\n" : "") + lines[i];
    return notification;
}

}  // namespace songloader
