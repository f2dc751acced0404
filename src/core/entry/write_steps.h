// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace songloader {

// Runs before every file-system step of a device write (add, delete, revise, and the recovery of
// what an interrupted one left), so that a test can end the process there as a kill would.
// Production passes none.
using WriteStepHook = std::function<void()>;

inline void StepTaken(const WriteStepHook& hook) {
    if (hook) hook();
}

}  // namespace songloader
