// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/cloud_client.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "core/cloud/transfer_callbacks.h"
#include "core/cloud/curl_library.h"

namespace songloader {

namespace {

constexpr long kMaxRedirects = 5;
// Receive buffer per transfer: fewer, larger writes on a fast link.
constexpr long kReceiveBufferBytes = 256 * 1024;

// Options every request gets on top of the ones of its kind: bounded waiting (the progress
// callback watches for stalls), no signals (a transfer may run on a worker thread), and plain
// HTTP(S) only, redirects included.
void SetCommonOptions(CURL* curl, TransferContext& context, const CloudTimeouts& timeouts) {
    Curl().easySetopt(curl, CURLOPT_XFERINFODATA, &context);
    Curl().easySetopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeouts.connect.count()));
    Curl().easySetopt(curl, CURLOPT_NOSIGNAL, 1L);
    Curl().easySetopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    Curl().easySetopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    context.stallLimit = timeouts.stall;
    context.headerLimit = timeouts.headers;
    context.lastActivity = std::chrono::steady_clock::now();
    context.started = context.lastActivity;
}

class EasyHandle {
public:
    EasyHandle() : curl_(LoadCurl() ? Curl().easyInit() : nullptr) {}
    ~EasyHandle() {
        if (curl_) Curl().easyCleanup(curl_);
    }
    EasyHandle(const EasyHandle&) = delete;
    EasyHandle& operator=(const EasyHandle&) = delete;
    CURL* get() const { return curl_; }

private:
    CURL* curl_;
};

// Extra request headers, freed with the transfer.
class HeaderList {
public:
    explicit HeaderList(const char* header) : list_(Curl().slistAppend(nullptr, header)) {}
    ~HeaderList() { Curl().slistFreeAll(list_); }
    HeaderList(const HeaderList&) = delete;
    HeaderList& operator=(const HeaderList&) = delete;
    curl_slist* get() const { return list_; }

private:
    curl_slist* list_;
};

bool IsSuccessStatus(long status) { return status >= 200 && status < 300; }

std::string HeadersLateText(const CloudTimeouts& timeouts) {
    return "the answer's headers were not complete within " + std::to_string(timeouts.headers.count()) + " ms";
}

}  // namespace

CloudClient::CloudClient(std::string baseUrl, DownloadProgress& progress)
    : baseUrl_(std::move(baseUrl)), progress_(progress) {
    if (baseUrl_.empty() || baseUrl_.back() != '/') baseUrl_ += '/';
}

std::int64_t CloudClient::ProbeLength(const std::string& url, std::string* why) const {
    EasyHandle handle;
    CURL* curl = handle.get();
    if (!curl) {
        if (why) *why = "cannot start a transfer";
        return -1;
    }
    TransferContext context;
    Curl().easySetopt(curl, CURLOPT_URL, url.c_str());
    Curl().easySetopt(curl, CURLOPT_HEADER, 1L);
    Curl().easySetopt(curl, CURLOPT_NOBODY, 1L);
    Curl().easySetopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);
    Curl().easySetopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    Curl().easySetopt(curl, CURLOPT_HEADERFUNCTION, DiscardHeaders);
    Curl().easySetopt(curl, CURLOPT_HEADERDATA, &context);
    // With CURLOPT_HEADER the headers also reach the body sink; keep them off standard output.
    Curl().easySetopt(curl, CURLOPT_WRITEFUNCTION, DiscardHeaders);
    Curl().easySetopt(curl, CURLOPT_WRITEDATA, &context);
    Curl().easySetopt(curl, CURLOPT_XFERINFOFUNCTION, ContinueTransfer);
    Curl().easySetopt(curl, CURLOPT_NOPROGRESS, 0L);
    SetCommonOptions(curl, context, timeouts_);
    if (const CURLcode code = Curl().easyPerform(curl); code != CURLE_OK) {
        if (why) *why = context.headersLate ? HeadersLateText(timeouts_) : Curl().easyStrerror(code);
        return -1;
    }
    curl_off_t length = -1;
    if (Curl().easyGetinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK || length < 0) {
        if (why) *why = "no length announced";
        return -1;
    }
    return static_cast<std::int64_t>(length);
}

std::optional<std::string> CloudClient::ProbeFailure() const {
    const std::string url = baseUrl_ + kCloudListRemoteName;
    std::string why;
    if (ProbeLength(url, &why) >= 0) return std::nullopt;
    return url + ": " + why;
}

std::int32_t CloudClient::ProbeNetwork() const {
    return ProbeLength(baseUrl_ + kCloudListRemoteName) >= 0 ? 1 : -1;
}

std::int64_t CloudClient::RemoteFileSize(std::string_view remoteName) const {
    return ProbeLength(baseUrl_ + std::string(remoteName));
}

std::int64_t CloudClient::RemoteSongSize(std::string_view numberText) const {
    return ProbeLength(baseUrl_ + std::string(numberText) + kSongRemoteSuffix);
}

DownloadOutcome CloudClient::DownloadFile(std::string_view remoteName, const std::filesystem::path& localPath,
                                          std::int64_t announcedSize) const {
    DownloadTarget file(localPath);
    return DownloadAndPlace(baseUrl_ + std::string(remoteName), file, announcedSize);
}

DownloadOutcome CloudClient::DownloadFile(std::string_view remoteName, const DeviceFolder& folder,
                                          const std::string& localName, std::int64_t announcedSize) const {
    DownloadTarget file(folder, localName);
    return DownloadAndPlace(baseUrl_ + std::string(remoteName), file, announcedSize);
}

DownloadOutcome CloudClient::DownloadSong(std::string_view numberText, const DeviceFolder& folder,
                                          std::int64_t announcedSize) const {
    DownloadTarget file(folder, std::string(numberText) + kSongRemoteSuffix);
    return DownloadAndPlace(baseUrl_ + std::string(numberText) + kSongRemoteSuffix + kSongDownloadQuery, file,
                            announcedSize);
}

DownloadOutcome CloudClient::DownloadSong(std::string_view numberText,
                                          const std::filesystem::path& localPathWithoutExtension,
                                          std::int64_t announcedSize) const {
    std::filesystem::path target = localPathWithoutExtension;
    target += kSongRemoteSuffix;
    DownloadTarget file(target);
    return DownloadAndPlace(baseUrl_ + std::string(numberText) + kSongRemoteSuffix + kSongDownloadQuery, file,
                            announcedSize);
}

DownloadOutcome CloudClient::DownloadUnplaced(std::string_view remoteName, DownloadTarget& file,
                                              std::int64_t maximumSize) const {
    return Download(baseUrl_ + std::string(remoteName), file, -1, maximumSize);
}

DownloadOutcome CloudClient::DownloadAndPlace(const std::string& url, DownloadTarget& file,
                                              std::int64_t announcedSize) const {
    DownloadOutcome outcome = Download(url, file, announcedSize);
    if (outcome.ok() && !file.Commit()) {
        outcome.status = DownloadStatus::WriteFailure;
        outcome.detail = file.error();
    }
    return outcome;  // an uncommitted file removes its temporary name
}

DownloadOutcome CloudClient::Download(const std::string& url, DownloadTarget& file, std::int64_t announcedSize,
                                      std::int64_t maximumSize) const {
    DownloadOutcome outcome;
    if (!file.ok()) {
        outcome.status = DownloadStatus::WriteFailure;
        outcome.detail = file.error();
        return outcome;
    }
    EasyHandle handle;
    CURL* curl = handle.get();
    if (!curl) {
        outcome.detail = "cannot start a transfer";
        return outcome;
    }
    TransferContext context;
    context.curl = curl;
    context.file = &file;
    context.progress = &progress_;
    context.cancellable = true;
    context.expectedSize = announcedSize;
    context.maximumSize = maximumSize;
    progress_.receivedBytes.store(0);

    // libcurl would stop reading at the Content-Length and call a longer body complete; reading to
    // the end of the connection lets WriteChunk see the excess. "close" makes the server end it.
    HeaderList headers("Connection: close");
    Curl().easySetopt(curl, CURLOPT_URL, url.c_str());
    Curl().easySetopt(curl, CURLOPT_WRITEDATA, &context);
    Curl().easySetopt(curl, CURLOPT_WRITEFUNCTION, WriteChunk);
    Curl().easySetopt(curl, CURLOPT_XFERINFOFUNCTION, ContinueTransfer);
    Curl().easySetopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);
    Curl().easySetopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    Curl().easySetopt(curl, CURLOPT_NOPROGRESS, 0L);
    Curl().easySetopt(curl, CURLOPT_BUFFERSIZE, kReceiveBufferBytes);
    Curl().easySetopt(curl, CURLOPT_HEADERFUNCTION, CollectHeader);
    Curl().easySetopt(curl, CURLOPT_HEADERDATA, &context);
    Curl().easySetopt(curl, CURLOPT_IGNORE_CONTENT_LENGTH, 1L);
    Curl().easySetopt(curl, CURLOPT_HTTPHEADER, headers.get());
    SetCommonOptions(curl, context, timeouts_);
    context.minimumRate = std::max<std::int64_t>(timeouts_.minimumRate, 1);
    context.windowStart = context.lastActivity;

    const CURLcode result = Curl().easyPerform(curl);
    Curl().easyGetinfo(curl, CURLINFO_RESPONSE_CODE, &outcome.httpStatus);
    outcome.bytes = context.bytes;

    auto fail = [&](DownloadStatus status, std::string detail) {
        outcome.status = status;
        outcome.detail = std::move(detail);
        return outcome;
    };
    if (result == CURLE_ABORTED_BY_CALLBACK && context.cancelled) return fail(DownloadStatus::Cancelled, "");
    if (result == CURLE_ABORTED_BY_CALLBACK && context.headersLate) {
        return fail(DownloadStatus::NetworkFailure, HeadersLateText(timeouts_));
    }
    if (result == CURLE_ABORTED_BY_CALLBACK && context.stalled) {
        return fail(DownloadStatus::NetworkFailure, "less than " + std::to_string(context.minimumRate) +
                                                        " bytes/s for " + std::to_string(timeouts_.stall.count()) +
                                                        " ms");
    }
    if (context.errorStatus || (result == CURLE_OK && !IsSuccessStatus(outcome.httpStatus))) {
        return fail(DownloadStatus::ErrorStatus, "");
    }
    if (!context.rejected.empty()) return fail(DownloadStatus::Rejected, context.rejected);
    if (result == CURLE_WRITE_ERROR && context.writeFailed) return fail(DownloadStatus::WriteFailure, file.error());
    if (result != CURLE_OK) return fail(DownloadStatus::NetworkFailure, Curl().easyStrerror(result));
    const std::int64_t announced = AcceptedSize(context);
    if (announced < 0) return fail(DownloadStatus::Rejected, context.rejected);
    if (context.bytes != announced) {
        return fail(DownloadStatus::NetworkFailure, "received " + std::to_string(context.bytes) + " of " +
                                                        std::to_string(announced) + " bytes");
    }
    if (!file.Finish()) return fail(DownloadStatus::WriteFailure, file.error());
    outcome.status = DownloadStatus::Done;
    return outcome;
}

std::int64_t LocalFileSize(const std::filesystem::path& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    struct stat info {};
    std::int64_t size = 0;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) size = static_cast<std::int64_t>(info.st_size);
    ::close(fd);
    return size;
}

}  // namespace songloader
