// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/download_progress.h"

#include <algorithm>
#include <limits>

namespace songloader {

void DownloadProgress::SetDownloadName(std::string name) {
    std::lock_guard lock(nameMutex_);
    downloadName_ = std::move(name);
}

std::string DownloadProgress::DownloadName() const {
    std::lock_guard lock(nameMutex_);
    return downloadName_;
}

std::int32_t DownloadProgress::StepPosition() const {
    const std::int64_t steps = receivedBytes.load() / BYTES_PER_STEP;
    const std::int64_t upper = std::max<std::int32_t>(0, progressSteps.load());
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(steps, 0, upper));
}

DownloadProgress& SharedDownloadProgress() {
    static DownloadProgress progress;
    return progress;
}

std::int32_t ProgressStepsFor(std::int64_t size) {
    const std::int64_t steps = size / BYTES_PER_STEP;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(steps, 0, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace songloader
