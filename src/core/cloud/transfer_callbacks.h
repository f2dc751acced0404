// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <curl/curl.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/cloud/download_progress.h"
#include "core/cloud/download_target.h"
#include "core/common/result.h"

namespace songloader {

// What the libcurl callbacks of one transfer share.
struct TransferContext {
    CURL* curl = nullptr;                  // for the response status while the body arrives
    DownloadTarget* file = nullptr;        // where WriteChunk puts the body
    DownloadProgress* progress = nullptr;  // fed by WriteChunk; its cancel request is honoured
    bool cancellable = false;              // probes ignore cancel requests meant for downloads

    // Probes: give up after stallLimit without a new byte. Downloads: give up when fewer than
    // minimumRate bytes per second arrived during a window of stallLimit.
    std::chrono::steady_clock::duration stallLimit{};
    std::int64_t minimumRate = 0;
    std::chrono::steady_clock::time_point lastActivity{};
    curl_off_t lastReceived = 0;
    std::chrono::steady_clock::time_point windowStart{};
    curl_off_t windowStartBytes = 0;

    // Downloads: the size the caller's HEAD announced (-1: none) and the Content-Length of the
    // final response (-1: none; redirects reset it).
    std::int64_t expectedSize = -1;
    std::int64_t contentLength = -1;
    std::int64_t maximumSize = -1;  // the most the file may have (-1: no cap of its own)
    bool htmlPage = false;          // the final response says it is an HTML page

    // Every request: the answer's headers must be complete within headerLimit of `started`.
    std::chrono::steady_clock::duration headerLimit{};
    std::chrono::steady_clock::time_point started{};
    bool headersComplete = false;
    bool headersLate = false;

    bool stalled = false;
    bool cancelled = false;
    bool writeFailed = false;
    bool errorStatus = false;  // the body of a non-2xx answer is not written anywhere
    std::string rejected;      // why the body is not the announced file; empty while it may be
    std::int64_t bytes = 0;
};

// The size the body must have: the Content-Length, which must agree with the HEAD's length when
// there was one; without a Content-Length the HEAD's. Fails, saying why the body is rejected, when
// there is no announced size, it is above the file's maximum, the two disagree, or the answer is
// an HTML page (what a captive portal or an error page sends; no file the cloud serves is one).
Result<std::int64_t> AcceptedSize(const TransferContext& transfer);

// CURLOPT_WRITEFUNCTION of downloads: marks a chunk ready, counts it, writes it to the file.
// Refuses a chunk that would take the file beyond its announced size, or that belongs to an answer
// outside 2xx. Returns the number of items written; a short count makes libcurl end with a write error.
std::size_t WriteChunk(char* data, std::size_t size, std::size_t count, void* context);

// CURLOPT_HEADERFUNCTION of downloads: keeps the final response's Content-Length and whether it is HTML.
std::size_t CollectHeader(char* data, std::size_t size, std::size_t count, void* context);

// CURLOPT_HEADERFUNCTION of probes (and their body sink, so nothing reaches standard output):
// keeps nothing but whether the headers are complete.
std::size_t DiscardHeaders(char* data, std::size_t size, std::size_t count, void* context);

// CURLOPT_XFERINFOFUNCTION of every request: 0 to continue; non-zero stops the transfer when a
// cancel was requested, or it is slower than its limits allow (see TransferContext).
int ContinueTransfer(void* context, curl_off_t downloadTotal, curl_off_t downloadNow, curl_off_t uploadTotal,
                     curl_off_t uploadNow);

}  // namespace songloader
