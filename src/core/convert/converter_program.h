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

namespace songloader {

// Chooses the converter instead of `ffmpeg` on PATH: the environment variable first, then the
// settings file's key.
inline constexpr const char* kConverterVariable = "SONGLOADER_FFMPEG";
inline constexpr const char* kConverterKey = "converter";

inline constexpr const char* kConverterMissingMessage =
    SL_TRANSLATE_NOOP("Core",
                      "Converting songs needs the ffmpeg program, which was not found; install the package ffmpeg "
                      "(sudo apt install ffmpeg).");

// The converter program: `variable(kConverterVariable)`, else the settings' `converter`, else
// `ffmpeg` found on PATH. Fails with kConverterMissingMessage (or naming the chosen path that is not
// a program).
Result<std::filesystem::path> FindConverter(const std::map<std::string, std::string>& settings,
                                            const std::function<std::optional<std::string>(const char*)>& variable);

}  // namespace songloader

namespace songloader {

// A folder of its own on the computer for the converted files of one batch (in $TMPDIR, else
// /tmp), removed with what it holds when this goes.
class WorkFolder {
public:
    static Result<WorkFolder> Make();
    WorkFolder(WorkFolder&& other) noexcept : path_(std::move(other.path_)) { other.path_.clear(); }
    WorkFolder& operator=(WorkFolder&&) = delete;
    WorkFolder(const WorkFolder&) = delete;
    ~WorkFolder();
    const std::filesystem::path& path() const { return path_; }

private:
    explicit WorkFolder(std::filesystem::path path) : path_(std::move(path)) {}
    std::filesystem::path path_;
};

}  // namespace songloader
