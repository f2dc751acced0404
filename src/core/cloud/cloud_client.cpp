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

Result<std::optional<std::int64_t>> CloudClient::ProbeLength(const std::string& url) const {
    EasyHandle handle;
    CURL* curl = handle.get();
    if (!curl) return Fail("cannot start a transfer");
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
        return Fail(context.headersLate ? HeadersLateText(timeouts_) : Curl().easyStrerror(code));
    }
    curl_off_t length = -1;
    if (Curl().easyGetinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK || length < 0) {
        return std::optional<std::int64_t>();
    }
    return std::optional<std::int64_t>(static_cast<std::int64_t>(length));
}

Result<> CloudClient::ProbeNetwork() const {
    const std::string url = baseUrl_ + kCloudListRemoteName;
    const Result<std::optional<std::int64_t>> length = ProbeLength(url);
    if (!length) return Fail(url + ": " + length.message());
    if (!*length) return Fail(url + ": no length announced");
    return {};
}

Result<std::optional<std::int64_t>> CloudClient::RemoteFileSize(std::string_view remoteName) const {
    return ProbeLength(baseUrl_ + std::string(remoteName));
}

Result<std::optional<std::int64_t>> CloudClient::RemoteSongSize(std::string_view numberText) const {
    return ProbeLength(baseUrl_ + std::string(numberText) + kSongRemoteSuffix);
}

DownloadResult CloudClient::DownloadFile(std::string_view remoteName, const std::filesystem::path& localPath,
                                         std::int64_t announcedSize) const {
    DownloadTarget file(localPath);
    return DownloadAndPlace(baseUrl_ + std::string(remoteName), file, announcedSize);
}

DownloadResult CloudClient::DownloadFile(std::string_view remoteName, const DeviceFolder& folder,
                                         const std::string& localName, std::int64_t announcedSize) const {
    DownloadTarget file(folder, localName);
    return DownloadAndPlace(baseUrl_ + std::string(remoteName), file, announcedSize);
}

DownloadResult CloudClient::DownloadSong(std::string_view numberText, const DeviceFolder& folder,
                                         std::int64_t announcedSize) const {
    DownloadTarget file(folder, std::string(numberText) + kSongRemoteSuffix);
    return DownloadAndPlace(baseUrl_ + std::string(numberText) + kSongRemoteSuffix + kSongDownloadQuery, file,
                            announcedSize);
}

DownloadResult CloudClient::DownloadSong(std::string_view numberText,
                                         const std::filesystem::path& localPathWithoutExtension,
                                         std::int64_t announcedSize) const {
    std::filesystem::path target = localPathWithoutExtension;
    target += kSongRemoteSuffix;
    DownloadTarget file(target);
    return DownloadAndPlace(baseUrl_ + std::string(numberText) + kSongRemoteSuffix + kSongDownloadQuery, file,
                            announcedSize);
}

DownloadResult CloudClient::DownloadUnplaced(std::string_view remoteName, DownloadTarget& file,
                                             std::int64_t maximumSize) const {
    return Download(baseUrl_ + std::string(remoteName), file, -1, maximumSize);
}

DownloadResult CloudClient::DownloadAndPlace(const std::string& url, DownloadTarget& file,
                                             std::int64_t announcedSize) const {
    DownloadResult outcome = Download(url, file, announcedSize);
    if (!outcome) return outcome;  // an uncommitted file removes its temporary name
    if (Result<> committed = file.Commit(); !committed) {
        return FailDownload(DownloadStatus::WriteFailure, committed.message(), outcome->httpStatus, outcome->bytes);
    }
    return outcome;
}

DownloadResult CloudClient::Download(const std::string& url, DownloadTarget& file, std::int64_t announcedSize,
                                     std::int64_t maximumSize) const {
    if (Result<> ready = file.status(); !ready) return FailDownload(DownloadStatus::WriteFailure, ready.message());
    EasyHandle handle;
    CURL* curl = handle.get();
    if (!curl) return FailDownload(DownloadStatus::NetworkFailure, "cannot start a transfer");
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
    long httpStatus = 0;
    Curl().easyGetinfo(curl, CURLINFO_RESPONSE_CODE, &httpStatus);

    auto fail = [&](DownloadStatus status, std::string detail) {
        return FailDownload(status, std::move(detail), httpStatus, context.bytes);
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
    if (context.errorStatus || (result == CURLE_OK && !IsSuccessStatus(httpStatus))) {
        return fail(DownloadStatus::ErrorStatus, "");
    }
    if (!context.rejected.empty()) return fail(DownloadStatus::Rejected, context.rejected);
    if (result == CURLE_WRITE_ERROR && context.writeFailed) {
        return fail(DownloadStatus::WriteFailure, file.status().message());
    }
    if (result != CURLE_OK) return fail(DownloadStatus::NetworkFailure, Curl().easyStrerror(result));
    const Result<std::int64_t> announced = AcceptedSize(context);
    if (!announced) return fail(DownloadStatus::Rejected, announced.message());
    if (context.bytes != *announced) {
        return fail(DownloadStatus::NetworkFailure,
                    "received " + std::to_string(context.bytes) + " of " + std::to_string(*announced) + " bytes");
    }
    if (Result<> finished = file.Finish(); !finished) return fail(DownloadStatus::WriteFailure, finished.message());
    return Downloaded{httpStatus, context.bytes};
}

std::int64_t AnnouncedSizeOrNone(const Result<std::optional<std::int64_t>>& probe) {
    return probe && *probe ? **probe : -1;
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
