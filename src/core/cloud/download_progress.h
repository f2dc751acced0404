// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace songloader {

// One step of the download progress window stands for this many bytes.
inline constexpr std::int32_t BYTES_PER_STEP = 1460;

// State shared by a running download (the writer) and whoever shows its progress (the reader).
// The flags and counters are single atomic words: one side stores, the other loads.
struct DownloadProgress {
    std::atomic<std::int32_t> progressSteps{0};   // range of the window: expected bytes / BYTES_PER_STEP
    std::atomic<std::int32_t> downloadActive{0};  // 1 while a download with a progress window runs
    std::atomic<std::int32_t> chunkReady{0};      // 1 = a chunk arrived that the reader has not consumed
    std::atomic<std::int32_t> lastChunkBytes{0};  // size of the most recent chunk
    std::atomic<std::int64_t> receivedBytes{0};   // every byte of the current download so far
    std::atomic<bool> cancelRequested{false};     // makes the running transfer stop

    // What the window shows after "Now Download:". Guarded: a new download may set it while
    // the previous window still reads it.
    void SetDownloadName(std::string name);
    std::string DownloadName() const;

    // The bar position for the bytes received so far, kept within 0..progressSteps.
    std::int32_t StepPosition() const;

    // Asks the running transfer to stop; safe from any thread.
    void RequestCancel() { cancelRequested.store(true); }

private:
    mutable std::mutex nameMutex_;
    std::string downloadName_;
};

// The process-wide instance every download of the program feeds.
DownloadProgress& SharedDownloadProgress();

// progressSteps for an announced size: size / BYTES_PER_STEP (truncated toward zero, so an unknown
// size of -1 gives 0), capped to what a 32-bit range can hold.
std::int32_t ProgressStepsFor(std::int64_t size);

}  // namespace songloader
