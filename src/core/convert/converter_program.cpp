// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/convert/converter_program.h"

#include <unistd.h>


namespace songloader {

namespace {

bool Runnable(const std::filesystem::path& file) {
    std::error_code error;
    return std::filesystem::is_regular_file(file, error) && ::access(file.c_str(), X_OK) == 0;
}

}  // namespace

Result<std::filesystem::path> FindConverter(const std::map<std::string, std::string>& settings,
                                            const std::function<std::optional<std::string>(const char*)>& variable) {
    std::optional<std::string> chosen = variable ? variable(kConverterVariable) : std::nullopt;
    std::string origin = kConverterVariable;
    if (!chosen || chosen->empty()) {
        chosen.reset();
        if (const auto it = settings.find(kConverterKey); it != settings.end() && !it->second.empty()) {
            chosen = it->second;
            origin = std::string("the setting ") + kConverterKey;
        }
    }
    if (chosen) {
        if (Runnable(*chosen)) return std::filesystem::path(*chosen);
        return Fail("The converter " + *chosen + " (from " + origin + ") is not a program that can be run.");
    }
    const auto path = variable ? variable("PATH") : std::nullopt;
    const std::string folders = path ? *path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t at = 0;
    while (at <= folders.size()) {
        const auto colon = std::min(folders.find(':', at), folders.size());
        const std::string folder = folders.substr(at, colon - at);
        // An empty entry is the current folder: never a place to take a program from unasked.
        if (!folder.empty()) {
            const std::filesystem::path candidate = std::filesystem::path(folder) / "ffmpeg";
            if (Runnable(candidate)) return candidate;
        }
        at = colon + 1;
    }
    return Fail(kConverterMissingMessage);
}

}  // namespace songloader
