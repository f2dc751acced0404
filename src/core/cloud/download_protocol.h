// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/cloud/download_failure.h"
#include "core/cloud/download_progress.h"

namespace songloader {

using Transfer = std::function<DownloadResult()>;

// Runs a transfer while showing its progress. A view shows its progress window, runs `transfer`
// on a worker thread, follows the DownloadProgress state until it returns, and hands back its
// outcome; a cancel in the window calls DownloadProgress::RequestCancel. The default runs the
// transfer inline on the calling thread and shows nothing.
using TransferRunner = std::function<DownloadResult(const Transfer& transfer)>;

// Runs a short wait on the network (a size probe) and returns when it has ended. A view runs it
// on a worker thread so its window keeps painting; the default runs it inline.
using WaitRunner = std::function<void(const std::function<void()>& wait)>;

// Runs `wait` through `runner`, or inline without one.
void RunWait(const WaitRunner& runner, const std::function<void()>& wait);

// The start protocol of every download with a progress window: progressSteps and downloadName set,
// counters and the cancel request cleared, downloadActive raised, the transfer run through `runner`,
// downloadActive and the cancel request cleared again whatever the outcome.
DownloadResult RunDownloadProtocol(DownloadProgress& progress, std::int32_t progressSteps, std::string name,
                                   const Transfer& transfer, const TransferRunner& runner = {});

}  // namespace songloader
