// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/download_protocol.h"

namespace songloader {

namespace {

// Clears downloadActive and the cancel request on every way out, exceptions included.
class ActiveFlag {
public:
    explicit ActiveFlag(DownloadProgress& progress) : progress_(progress) { progress_.downloadActive.store(1); }
    // A cancel request belongs to the download it was made for: the next one starts clean.
    ~ActiveFlag() {
        progress_.downloadActive.store(0);
        progress_.cancelRequested.store(false);
    }
    ActiveFlag(const ActiveFlag&) = delete;
    ActiveFlag& operator=(const ActiveFlag&) = delete;

private:
    DownloadProgress& progress_;
};

}  // namespace

DownloadResult RunDownloadProtocol(DownloadProgress& progress, std::int32_t progressSteps, std::string name,
                                   const Transfer& transfer, const TransferRunner& runner) {
    progress.progressSteps.store(progressSteps);
    progress.SetDownloadName(std::move(name));
    progress.chunkReady.store(0);
    progress.lastChunkBytes.store(0);
    progress.receivedBytes.store(0);
    progress.cancelRequested.store(false);
    ActiveFlag active(progress);
    return runner ? runner(transfer) : transfer();
}

void RunWait(const WaitRunner& runner, const std::function<void()>& wait) {
    if (runner) {
        runner(wait);
    } else {
        wait();
    }
}

}  // namespace songloader
