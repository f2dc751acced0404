#pragma once

#include <curl/curl.h>

#include <chrono>
#include <cstddef>
#include <cstdint>

#include "core/cloud/download_progress.h"
#include "core/cloud/download_target.h"

namespace songloader {

// What the libcurl callbacks of one transfer share.
struct TransferContext {
    DownloadTarget* file = nullptr;           // where WriteChunk puts the body
    DownloadProgress* progress = nullptr;     // fed by WriteChunk; its cancel request is honoured
    bool cancellable = false;                 // probes ignore cancel requests meant for downloads
    std::chrono::steady_clock::duration stallLimit{};
    std::chrono::steady_clock::time_point lastActivity{};
    curl_off_t lastReceived = 0;

    bool stalled = false;
    bool cancelled = false;
    bool writeFailed = false;
    std::int64_t bytes = 0;
};

// CURLOPT_WRITEFUNCTION of downloads: marks a chunk ready, counts it, writes it to the file.
// Returns the number of items written; a short count makes libcurl end with a write error.
std::size_t WriteChunk(char* data, std::size_t size, std::size_t count, void* context);

// CURLOPT_HEADERFUNCTION of probes (and their body sink, so nothing reaches standard output):
// keeps nothing.
std::size_t DiscardHeaders(char* data, std::size_t size, std::size_t count, void* context);

// CURLOPT_XFERINFOFUNCTION of every request: 0 to continue; non-zero stops the transfer when a
// cancel was requested or no data came for the stall limit.
int ContinueTransfer(void* context, curl_off_t downloadTotal, curl_off_t downloadNow, curl_off_t uploadTotal,
                     curl_off_t uploadNow);

}  // namespace songloader
