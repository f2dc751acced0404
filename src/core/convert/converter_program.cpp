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

SettingSource ConverterSource(const std::map<std::string, std::string>& settings,
                              const std::function<std::optional<std::string>(const char*)>& variable) {
    if (const auto chosen = variable ? variable(kConverterVariable) : std::nullopt; chosen && !chosen->empty()) {
        return SettingSource::Environment;
    }
    if (const auto it = settings.find(kConverterKey); it != settings.end() && !it->second.empty()) {
        return SettingSource::SettingsFile;
    }
    return SettingSource::BuiltIn;
}

Result<std::filesystem::path> FindConverter(const std::map<std::string, std::string>& settings,
                                            const std::function<std::optional<std::string>(const char*)>& variable) {
    const SettingSource source = ConverterSource(settings, variable);
    if (source != SettingSource::BuiltIn) {
        const bool fromVariable = source == SettingSource::Environment;
        const std::string chosen = fromVariable ? *variable(kConverterVariable) : settings.at(kConverterKey);
        if (Runnable(chosen)) return std::filesystem::path(chosen);
        const std::string origin = fromVariable ? kConverterVariable : std::string("the setting ") + kConverterKey;
        return Fail("The converter " + chosen + " (from " + origin + ") is not a program that can be run.");
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
