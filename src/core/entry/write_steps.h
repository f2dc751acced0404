// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>

namespace songloader {

// Runs before every file-system step of a device write (add, delete, revise, and the recovery of
// what an interrupted one left), so that a test can end the process there as a kill would.
// Production passes none.
using WriteStepHook = std::function<void()>;

inline void StepTaken(const WriteStepHook& hook) {
    if (hook) hook();
}

// Makes a flush of a device write fail for a test, the way a failing disk does: the error number
// the flush of `file` fails with, or 0 to flush it; `file` is empty for the flush of the whole
// file system. Production passes none.
using FlushFault = std::function<int(const std::filesystem::path& file)>;

inline int FaultOf(const FlushFault& fault, const std::filesystem::path& file) { return fault ? fault(file) : 0; }

}  // namespace songloader
