// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace songloader {

enum class DownloadStatus {
    Done,            // complete transfer with a 2xx status; the target holds the new file
    NetworkFailure,  // refused, unreachable, timed out, too slow, cut short, too many redirects
    Rejected,        // the answer is not the file: no or a disagreeing size, more bytes, or failed checks
    ErrorStatus,     // the server answered with a status outside 2xx (see httpStatus)
    WriteFailure,    // the local file could not be created, written, flushed or renamed
    Cancelled,       // the transfer was stopped on request
};

// What became of one download. Whatever the status, the target is either the complete new file
// (Done) or exactly what it was before.
struct DownloadOutcome {
    DownloadStatus status = DownloadStatus::NetworkFailure;
    long httpStatus = 0;        // last response status seen, 0 when none
    std::int64_t bytes = 0;     // body bytes taken into the file (never more than announced)
    std::string detail;         // why it failed, for people; empty when Done

    bool ok() const { return status == DownloadStatus::Done; }
};

// A short English description, e.g. "error status 404" or "network failure: Connection refused".
std::string DescribeOutcome(const DownloadOutcome& outcome);

}  // namespace songloader
