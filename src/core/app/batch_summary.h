// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace songloader {

// What the last batch ("Add to USB Drive", the MIDI pack) did, in the texts the window shows
// (UTF-8): the titles of the songs it put in the device's list, of those it did not, and the
// messages of what failed, in the order they were said.
struct BatchSummary {
    std::vector<std::string> added;
    std::vector<std::string> notAdded;
    std::vector<std::string> failures;
};

// A batch told in a notification, for a user who has turned to another window meanwhile.
struct BatchNotification {
    std::string summary;
    std::string body;
};

// "Songs added to the USB drive" / "Added 2 songs: A, B." and the failures, the first five songs
// named.
BatchNotification NotificationOf(const BatchSummary& batch);

}  // namespace songloader
