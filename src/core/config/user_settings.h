// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace songloader {

// Where a setting in effect came from, strongest first.
enum class SettingSource { CommandLine, Environment, SettingsFile, Locale, BuiltIn };

struct Setting {
    std::string value;
    SettingSource source = SettingSource::BuiltIn;
    std::string origin;  // for people: "--cloud-url", "SONGLOADER_CLOUD_URL", the file's path, ...
};

// The cloud server's root chosen at build time (CMake cache variable SONGLOADER_CLOUD_URL); the
// settings fall back to it, the cloud client uses it.
inline constexpr const char* kDefaultCloudBaseUrl = SONGLOADER_CLOUD_URL;
inline constexpr const char* kCloudUrlVariable = "SONGLOADER_CLOUD_URL";
inline constexpr const char* kCloudUrlKey = "cloud-url";
inline constexpr const char* kEncodingKey = "encoding";

// What the settings are resolved from; `variable` reads the environment (std::getenv by default),
// so that a test can hand in its own.
struct SettingsSources {
    std::function<std::optional<std::string>(const char* name)> variable;
    std::optional<std::string> cloudUrlFlag;
    std::optional<std::string> encodingFlag;

    static SettingsSources FromEnvironment();
};

// $XDG_CONFIG_HOME/songloader/songloader.conf, with ~/.config for an unset or empty
// XDG_CONFIG_HOME; nullopt when neither that nor HOME is known.
std::optional<std::filesystem::path> SettingsFilePath(const SettingsSources& sources);

// "key = value" lines; blank lines and lines starting with # are skipped. A missing file is empty.
// The settings file is a few lines typed by hand: anything larger is refused unread, and a
// longer line is left out (and named in `error`).
inline constexpr std::uint64_t kSettingsFileMaxBytes = 64 * 1024;
inline constexpr std::size_t kSettingsLineMaxBytes = 4096;

struct SettingsFile {
    std::filesystem::path path;
    std::map<std::string, std::string> values;
    std::string error;  // why it (or a line of it) could not be read; empty when it could or does not exist
};
SettingsFile ReadSettingsFile(const std::filesystem::path& path);

// The settings in effect, each with its source: the cloud address from the flag, else
// SONGLOADER_CLOUD_URL, else the settings file's cloud-url, else the built-in one; the device code
// page from the flag, else the settings file's encoding, else the one the locale implies.
struct UserSettings {
    Setting cloudUrl;
    Setting encoding;
    SettingsFile file;
};
UserSettings ResolveUserSettings(const SettingsSources& sources);

const char* SettingSourceName(SettingSource source);

}  // namespace songloader
