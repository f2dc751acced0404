// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/download_failure.h"

namespace songloader {

namespace {

std::string Describe(DownloadStatus status, const std::string& detail, long httpStatus) {
    auto withDetail = [&](std::string text) { return detail.empty() ? text : text + ": " + detail; };
    switch (status) {
        case DownloadStatus::NetworkFailure: return withDetail("network failure");
        case DownloadStatus::Rejected: return withDetail("rejected");
        case DownloadStatus::ErrorStatus: return "error status " + std::to_string(httpStatus);
        case DownloadStatus::WriteFailure: return withDetail("write failure");
        case DownloadStatus::Cancelled: return "cancelled";
    }
    return "unknown failure";
}

}  // namespace

DownloadFailure FailDownload(DownloadStatus status, std::string detail, long httpStatus, std::int64_t bytes) {
    DownloadFailure failure;
    failure.message = Describe(status, detail, httpStatus);
    failure.status = status;
    failure.httpStatus = httpStatus;
    failure.bytes = bytes;
    failure.detail = std::move(detail);
    return failure;
}

}  // namespace songloader
