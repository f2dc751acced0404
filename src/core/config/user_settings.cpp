// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/config/user_settings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "core/common/file_bytes.h"

#include "core/text/code_page.h"

namespace songloader {

namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::optional<std::string> NonEmpty(const std::optional<std::string>& value) {
    if (value && !value->empty()) return value;
    return std::nullopt;
}

std::optional<std::string> LocaleVariable(const SettingsSources& sources) {
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        if (auto value = NonEmpty(sources.variable(name))) return value;
    }
    return std::nullopt;
}

}  // namespace

SettingsSources SettingsSources::FromEnvironment() {
    SettingsSources sources;
    sources.variable = [](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        if (!value) return std::nullopt;
        return std::string(value);
    };
    return sources;
}

std::optional<std::filesystem::path> SettingsFilePath(const SettingsSources& sources) {
    std::filesystem::path base;
    if (auto config = NonEmpty(sources.variable("XDG_CONFIG_HOME"))) {
        base = *config;
    } else if (auto home = NonEmpty(sources.variable("HOME"))) {
        base = std::filesystem::path(*home) / ".config";
    } else {
        return std::nullopt;
    }
    return base / "songloader" / "songloader.conf";
}

SettingsFile ReadSettingsFile(const std::filesystem::path& path) {
    SettingsFile file;
    file.path = path;
    // A FIFO or a device (a link to /dev/zero) is never read: it would hang or never end.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) file.error = std::strerror(errno);
        return file;
    }
    struct stat info {};
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const bool fits = static_cast<std::uint64_t>(info.st_size) <= kSettingsFileMaxBytes;
    const auto bytes = regular && fits ? ReadOpenFileBytes(fd, kSettingsFileMaxBytes)
                                       : Result<std::vector<std::uint8_t>>(FailQuietly());
    ::close(fd);
    if (!regular) {
        file.error = "not a regular file";
        return file;
    }
    if (!bytes) {
        file.error = fits ? bytes.message() : "larger than " + std::to_string(kSettingsFileMaxBytes / 1024) + " KiB";
        return file;
    }
    const std::string text(bytes->begin(), bytes->end());
    std::size_t lineNumber = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        ++lineNumber;
        const std::size_t length = end - start;
        std::string line = text.substr(start, std::min(length, kSettingsLineMaxBytes + 1));
        start = end + 1;
        if (length > kSettingsLineMaxBytes) {
            // Left out, and said once: no setting is that long.
            if (file.error.empty()) {
                file.error = "line " + std::to_string(lineNumber) + " is longer than " +
                             std::to_string(kSettingsLineMaxBytes) + " bytes";
            }
            continue;
        }
        line = Trimmed(line);
        if (line.empty() || line[0] == '#') continue;
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        file.values[Trimmed(line.substr(0, equals))] = Trimmed(line.substr(equals + 1));
    }
    return file;
}

UserSettings ResolveUserSettings(const SettingsSources& sources) {
    UserSettings settings;
    if (auto path = SettingsFilePath(sources)) settings.file = ReadSettingsFile(*path);
    auto fromFile = [&](const char* key) -> std::optional<Setting> {
        auto it = settings.file.values.find(key);
        if (it == settings.file.values.end() || it->second.empty()) return std::nullopt;
        return Setting{it->second, SettingSource::SettingsFile, settings.file.path.string()};
    };

    if (auto flag = NonEmpty(sources.cloudUrlFlag)) {
        settings.cloudUrl = {*flag, SettingSource::CommandLine, "--cloud-url"};
    } else if (auto variable = NonEmpty(sources.variable(kCloudUrlVariable))) {
        settings.cloudUrl = {*variable, SettingSource::Environment, kCloudUrlVariable};
    } else if (auto file = fromFile(kCloudUrlKey)) {
        settings.cloudUrl = *file;
    } else {
        settings.cloudUrl = {kDefaultCloudBaseUrl, SettingSource::BuiltIn, "built in"};
    }

    if (auto flag = NonEmpty(sources.encodingFlag)) {
        settings.encoding = {*flag, SettingSource::CommandLine, "--encoding"};
    } else if (auto file = fromFile(kEncodingKey)) {
        settings.encoding = *file;
    } else {
        const auto locale = LocaleVariable(sources);
        settings.encoding = {TextSettingsForLocale(locale.value_or("C")).codePage, SettingSource::Locale,
                             locale.value_or("C")};
    }
    return settings;
}

const char* SettingSourceName(SettingSource source) {
    switch (source) {
        case SettingSource::CommandLine: return "command line";
        case SettingSource::Environment: return "environment";
        case SettingSource::SettingsFile: return "settings file";
        case SettingSource::Locale: return "locale";
        case SettingSource::BuiltIn: return "built in";
    }
    return "";
}

}  // namespace songloader
