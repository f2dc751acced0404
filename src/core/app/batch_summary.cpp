// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/app/batch_summary.h"

#include <algorithm>
#include <cstddef>

#include "core/app/filled_text.h"

namespace songloader {

BatchNotification NotificationOf(const BatchSummary& batch) {
    constexpr std::size_t kNamed = 5;
    std::vector<std::string> lines;
    const std::size_t count = batch.added.size();
    if (count > 0) {
        std::string titles;
        for (std::size_t i = 0; i < std::min(count, kNamed); ++i) titles += (i ? ", " : "") + batch.added[i];
        const std::string number = std::to_string(count);
        lines.push_back(count == 1 ? FilledText(kAddedOneSongLine, {titles})
                        : count > kNamed
                            ? FilledText(kAddedSongsAndMoreLine, {number, titles, std::to_string(count - kNamed)})
                            : FilledText(kAddedSongsLine, {number, titles}));
    }
    if (!batch.failures.empty()) {
        std::string failures;
        for (const std::string& failure : batch.failures) failures += (failures.empty() ? "" : " ") + failure;
        lines.push_back(FilledText(kBatchFailedLine, {failures}));
    }
    if (lines.empty()) lines.push_back(kNothingAddedLine);
    BatchNotification notification;
    notification.summary = batch.failures.empty() ? kSongsAddedSummary
                           : count == 0           ? kNoSongAddedSummary
                                                  : kSomeSongsNotAddedSummary;
    for (std::size_t i = 0; i < lines.size(); ++i) notification.body += (i ? "\n" : "") + lines[i];
    return notification;
}

}  // namespace songloader
