// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <csignal>
#include <iterator>

namespace songloader::cli {

// While alive, Ctrl-C (or a polite kill, or a closed terminal) lets the file being copied finish
// and ends the batch there (a conversion running is ended at once); what arrived is still
// catalogued.
class InterruptStopsBatch {
public:
    InterruptStopsBatch();
    ~InterruptStopsBatch();
    InterruptStopsBatch(const InterruptStopsBatch&) = delete;
    InterruptStopsBatch& operator=(const InterruptStopsBatch&) = delete;

    // A stop was asked for since this was made.
    static bool Stopped();

private:
    static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
    struct sigaction previous_[std::size(kSignals)]{};
};

}  // namespace songloader::cli
