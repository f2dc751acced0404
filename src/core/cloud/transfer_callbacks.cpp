// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/transfer_callbacks.h"
#include "core/cloud/curl_library.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>
#include <string_view>

namespace songloader {

namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    return std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

// The value of a Content-Length line, -1 when it is not a plain decimal number.
std::int64_t ParseLength(std::string_view value) {
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
    while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back()))) value.remove_suffix(1);
    std::int64_t length = -1;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), length);
    if (error != std::errc() || end != value.data() + value.size() || length < 0) return -1;
    return length;
}

}  // namespace

Result<std::int64_t> AcceptedSize(const TransferContext& transfer) {
    if (transfer.htmlPage) return Fail("an HTML page instead of the file");
    if (transfer.contentLength >= 0 && transfer.expectedSize >= 0 && transfer.contentLength != transfer.expectedSize) {
        return Fail("HEAD announced " + std::to_string(transfer.expectedSize) + " bytes, GET " +
                    std::to_string(transfer.contentLength));
    }
    const std::int64_t size = transfer.contentLength >= 0 ? transfer.contentLength : transfer.expectedSize;
    if (size < 0) return Fail("no length announced");
    if (transfer.maximumSize >= 0 && size > transfer.maximumSize) {
        return Fail("announced " + std::to_string(size) + " bytes, more than the " +
                    std::to_string(transfer.maximumSize) + " the file may have");
    }
    return size;
}

std::size_t WriteChunk(char* data, std::size_t size, std::size_t count, void* context) {
    auto* transfer = static_cast<TransferContext*>(context);
    const std::size_t bytes = size * count;
    long status = 0;
    Curl().easyGetinfo(transfer->curl, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status >= 300) {
        transfer->errorStatus = true;
        return 0;
    }
    const Result<std::int64_t> announced = AcceptedSize(*transfer);
    if (!announced) {
        transfer->rejected = announced.message();
        return 0;
    }
    if (transfer->bytes + static_cast<std::int64_t>(bytes) > *announced) {
        transfer->rejected = "more than the announced " + std::to_string(*announced) + " bytes";
        return 0;
    }
    if (DownloadProgress* progress = transfer->progress) {
        progress->chunkReady.store(1);
        progress->lastChunkBytes.store(
            static_cast<std::int32_t>(std::min<std::size_t>(count, std::numeric_limits<std::int32_t>::max())));
        progress->receivedBytes.store(progress->receivedBytes.load() + static_cast<std::int64_t>(bytes));
    }
    transfer->bytes += static_cast<std::int64_t>(bytes);
    if (!transfer->file->Write(data, bytes)) {
        transfer->writeFailed = true;
        return 0;
    }
    return count;
}

void NoteHeaderLine(TransferContext& transfer, std::string_view line) {
    if (line == "\r\n" || line == "\n") transfer.headersComplete = true;
    else if (StartsWithIgnoringCase(line, "HTTP/")) transfer.headersComplete = false;
}

std::size_t CollectHeader(char* data, std::size_t size, std::size_t count, void* context) {
    auto* transfer = static_cast<TransferContext*>(context);
    const std::string_view line(data, size * count);
    NoteHeaderLine(*transfer, line);
    constexpr std::string_view kLengthField = "content-length:";
    constexpr std::string_view kTypeField = "content-type:";
    if (StartsWithIgnoringCase(line, "HTTP/")) {
        // A new response: what a redirect said does not count.
        transfer->contentLength = -1;
        transfer->htmlPage = false;
    } else if (StartsWithIgnoringCase(line, kLengthField)) {
        transfer->contentLength = ParseLength(line.substr(kLengthField.size()));
    } else if (StartsWithIgnoringCase(line, kTypeField)) {
        std::string_view type = line.substr(kTypeField.size());
        while (!type.empty() && type.front() == ' ') type.remove_prefix(1);
        transfer->htmlPage = StartsWithIgnoringCase(type, "text/html");
    }
    return size * count;
}

std::size_t DiscardHeaders(char* data, std::size_t size, std::size_t count, void* context) {
    if (auto* transfer = static_cast<TransferContext*>(context)) {
        transfer->lastActivity = std::chrono::steady_clock::now();
        NoteHeaderLine(*transfer, std::string_view(data, size * count));
    }
    return size * count;
}

int ContinueTransfer(void* context, curl_off_t, curl_off_t downloadNow, curl_off_t, curl_off_t) {
    auto* transfer = static_cast<TransferContext*>(context);
    if (transfer->cancellable && transfer->progress && transfer->progress->cancelRequested.load()) {
        transfer->cancelled = true;
        return 1;
    }
    const auto now = std::chrono::steady_clock::now();
    // Header lines trickling in keep a transfer busy but never bring it nearer its end.
    if (!transfer->headersComplete && transfer->headerLimit > std::chrono::steady_clock::duration::zero() &&
        now - transfer->started >= transfer->headerLimit) {
        transfer->headersLate = true;
        return 1;
    }
    if (transfer->minimumRate > 0) {
        // A drip of a byte now and then never stalls, so downloads are held to an average rate.
        if (now - transfer->windowStart < transfer->stallLimit) return 0;
        const auto windowMs = std::chrono::duration_cast<std::chrono::milliseconds>(transfer->stallLimit).count();
        if (transfer->bytes - transfer->windowStartBytes < transfer->minimumRate * windowMs / 1000) {
            transfer->stalled = true;
            return 1;
        }
        transfer->windowStart = now;
        transfer->windowStartBytes = transfer->bytes;
        return 0;
    }
    if (downloadNow != transfer->lastReceived) {
        transfer->lastReceived = downloadNow;
        transfer->lastActivity = now;
    } else if (now - transfer->lastActivity >= transfer->stallLimit) {
        transfer->stalled = true;
        return 1;
    }
    return 0;
}

}  // namespace songloader
