// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

namespace songloader {

// Puts the bytes of a file being written on their way to the disk in windows: the newest window
// is started, the one before it waited for. The disk works while more bytes come, at most about
// two windows wait in memory, and the closing fsync finds little left to do.
class WriteOut {
public:
    // `written` is the file's length so far; a new window starts once `window` bytes are waiting
    // (0: at every call).
    void Advance(int fd, off_t written, off_t window = 0);

private:
    off_t started_ = 0;         // the bytes before this have had their write-out started
    off_t previousWindow_ = 0;  // start of the window whose write-out is waited for next
};

}  // namespace songloader
