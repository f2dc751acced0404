#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace songloader {

// The cloud's base URL for a run: the command-line flag, else the environment variable
// SONGLOADER_CLOUD_URL, else the key "cloud-url" of the user's file songloader.conf in
// `configHome` ("key = value" lines, '#' comments), else the built-in address. Empty values count
// as not given.
std::string ResolveCloudBaseUrl(const std::optional<std::string>& flag, const char* environmentValue,
                                const std::filesystem::path& configHome);

// $XDG_CONFIG_HOME/songloader, or ~/.config/songloader; empty when neither is known.
std::filesystem::path UserConfigFolder();

}  // namespace songloader
