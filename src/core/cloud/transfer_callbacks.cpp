#include "core/cloud/transfer_callbacks.h"

#include <algorithm>
#include <limits>

namespace songloader {

std::size_t WriteChunk(char* data, std::size_t size, std::size_t count, void* context) {
    auto* transfer = static_cast<TransferContext*>(context);
    const std::size_t bytes = size * count;
    if (DownloadProgress* progress = transfer->progress) {
        progress->chunkReady.store(1);
        progress->lastChunkBytes.store(static_cast<std::int32_t>(
            std::min<std::size_t>(count, std::numeric_limits<std::int32_t>::max())));
        progress->receivedBytes.store(progress->receivedBytes.load() + static_cast<std::int64_t>(bytes));
    }
    transfer->bytes += static_cast<std::int64_t>(bytes);
    transfer->lastActivity = std::chrono::steady_clock::now();
    if (!transfer->file->Write(data, bytes)) {
        transfer->writeFailed = true;
        return 0;
    }
    return count;
}

std::size_t DiscardHeaders(char*, std::size_t size, std::size_t count, void* context) {
    if (context) static_cast<TransferContext*>(context)->lastActivity = std::chrono::steady_clock::now();
    return size * count;
}

int ContinueTransfer(void* context, curl_off_t, curl_off_t downloadNow, curl_off_t, curl_off_t) {
    auto* transfer = static_cast<TransferContext*>(context);
    if (transfer->cancellable && transfer->progress && transfer->progress->cancelRequested.load()) {
        transfer->cancelled = true;
        return 1;
    }
    const auto now = std::chrono::steady_clock::now();
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
