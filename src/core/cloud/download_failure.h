// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "core/common/result.h"

namespace songloader {

// Why a download did not complete. Callers tell a stop on request (Cancelled) from a fault.
enum class DownloadStatus {
    NetworkFailure,  // refused, unreachable, timed out, too slow, cut short, too many redirects
    Rejected,        // the answer is not the file: no or a disagreeing size, more bytes, or failed checks
    ErrorStatus,     // the server answered with a status outside 2xx (see httpStatus)
    WriteFailure,    // the local file could not be created, written, flushed or renamed
    Cancelled,       // the transfer was stopped on request
};

// A complete transfer with a 2xx status; the target holds the new file.
struct Downloaded {
    long httpStatus = 0;     // last response status seen
    std::int64_t bytes = 0;  // body bytes taken into the file
};

// A download that failed. Its message is a short lower-case description for people, e.g.
// "error status 404" or "network failure: Connection refused".
struct DownloadFailure : Failure {
    DownloadStatus status = DownloadStatus::NetworkFailure;
    long httpStatus = 0;     // last response status seen, 0 when none
    std::int64_t bytes = 0;  // body bytes taken into the file (never more than announced)
    std::string detail;      // why, without the kind; empty when the kind says it all
};

// Whatever became of one download, the target is either the complete new file or exactly what it
// was before.
using DownloadResult = Result<Downloaded, DownloadFailure>;

// A failure of the kind `status`, its message made from the kind and `detail`.
DownloadFailure FailDownload(DownloadStatus status, std::string detail = {}, long httpStatus = 0,
                             std::int64_t bytes = 0);

}  // namespace songloader
