// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "command_line.h"

namespace songloader::cli {

// One line on standard error that redraws itself while a long step runs: bytes with percent and
// rate, or a count. Draws nothing unless the console shows progress; at most ten redraws a second.
class ProgressLine {
public:
    ProgressLine(Console& console, std::string label);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // `total` 0 = unknown.
    void Bytes(std::uint64_t done, std::uint64_t total, bool force = false);
    void Count(std::uint64_t done, std::uint64_t total, const char* unit, bool force = false);
    // Any state as text after the label.
    void Status(const std::string& text, bool force = false);
    // Ends the line (once), leaving the last state visible.
    void Finish();

private:
    bool Due(bool force);

    Console& console_;
    std::string label_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDraw_;
    bool drawn_ = false;
};

}  // namespace songloader::cli
