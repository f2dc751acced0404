// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/write_out.h"

#include <fcntl.h>

namespace songloader {

void WriteOut::Advance(int fd, off_t written, off_t window) {
    if (written - started_ <= 0 || written - started_ < window) return;
    ::sync_file_range(fd, started_, written - started_, SYNC_FILE_RANGE_WRITE);
    if (started_ > previousWindow_) {
        ::sync_file_range(fd, previousWindow_, started_ - previousWindow_,
                          SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
    }
    previousWindow_ = started_;
    started_ = written;
}

}  // namespace songloader
