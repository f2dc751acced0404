// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/download_outcome.h"

namespace songloader {

std::string DescribeOutcome(const DownloadOutcome& outcome) {
    auto withDetail = [&](std::string text) {
        return outcome.detail.empty() ? text : text + ": " + outcome.detail;
    };
    switch (outcome.status) {
        case DownloadStatus::Done:
            return "done";
        case DownloadStatus::NetworkFailure:
            return withDetail("network failure");
        case DownloadStatus::Rejected:
            return withDetail("rejected");
        case DownloadStatus::ErrorStatus:
            return "error status " + std::to_string(outcome.httpStatus);
        case DownloadStatus::WriteFailure:
            return withDetail("write failure");
        case DownloadStatus::Cancelled:
            return "cancelled";
    }
    return "unknown outcome";
}

}  // namespace songloader
