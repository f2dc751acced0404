// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/common/translatable.h"

namespace songloader {

inline constexpr const char* kConversionStoppedMessage =
    SL_TRANSLATE_NOOP("Core", "not converted: the batch was stopped");

// Runs the converter `program` with `args` (its output progress as -progress pipe:1) and waits for
// it, calling `onSeconds` with each position it reports. When `stop` turns true the converter is
// killed at once. The converter runs in its own process group (a Ctrl-C on the terminal reaches
// only this program, which ends it) and is killed too should this program die. Its standard error
// on success; a failure says why: stopped (kConversionStoppedMessage), crashed (the signal), or
// failed (its last error line).
Result<std::string> RunConverter(const std::filesystem::path& program, const std::vector<std::string>& args,
                                 const std::function<void(double seconds)>& onSeconds, const std::atomic<bool>& stop);

}  // namespace songloader
