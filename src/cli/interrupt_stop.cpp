// SPDX-License-Identifier: GPL-3.0-or-later
#include "interrupt_stop.h"

#include <atomic>

namespace songloader::cli {

namespace {

std::atomic<bool> interrupted{false};

void StopAfterCurrent(int) { interrupted.store(true); }

}  // namespace

InterruptStopsBatch::InterruptStopsBatch() {
    interrupted.store(false);
    struct sigaction action {};
    action.sa_handler = StopAfterCurrent;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &action, &previous_[i]);
}

InterruptStopsBatch::~InterruptStopsBatch() {
    for (std::size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &previous_[i], nullptr);
}

bool InterruptStopsBatch::Stopped() { return interrupted.load(); }

}  // namespace songloader::cli
