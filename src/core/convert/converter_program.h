// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The converter is the ffmpeg program, run as a child process (docs/decisions/convert.md).

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "core/common/result.h"
#include "core/common/translatable.h"
#include "core/config/user_settings.h"
#include "core/convert/work_folder.h"

namespace songloader {

// Chooses the converter instead of `ffmpeg` on PATH: the environment variable first, then the
// settings file's key.
inline constexpr const char* kConverterVariable = "SONGLOADER_FFMPEG";
inline constexpr const char* kConverterKey = "converter";

inline constexpr const char* kConverterMissingMessage =
    SL_TRANSLATE_NOOP("Core",
                      "Converting songs needs the ffmpeg program, which was not found; install the package ffmpeg "
                      "(sudo apt install ffmpeg).");

// Where the converter is taken from: `variable(kConverterVariable)` (Environment), else the
// settings' `converter` (SettingsFile), else `ffmpeg` on PATH (BuiltIn); empty values do not count.
SettingSource ConverterSource(const std::map<std::string, std::string>& settings,
                              const std::function<std::optional<std::string>(const char*)>& variable);

// The converter program: `variable(kConverterVariable)`, else the settings' `converter`, else
// `ffmpeg` found on PATH. Fails with kConverterMissingMessage (or naming the chosen path that is not
// a program).
Result<std::filesystem::path> FindConverter(const std::map<std::string, std::string>& settings,
                                            const std::function<std::optional<std::string>(const char*)>& variable);

}  // namespace songloader
