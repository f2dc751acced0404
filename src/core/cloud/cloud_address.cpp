#include "core/cloud/cloud_address.h"

#include <cstdlib>
#include <fstream>

#include "core/cloud/cloud_client.h"

namespace songloader {

namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::optional<std::string> ConfigValue(const std::filesystem::path& file, const std::string& key) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        line = Trimmed(line);
        if (line.empty() || line[0] == '#') continue;
        const auto equals = line.find('=');
        if (equals == std::string::npos || Trimmed(line.substr(0, equals)) != key) continue;
        return Trimmed(line.substr(equals + 1));
    }
    return std::nullopt;
}

}  // namespace

std::string ResolveCloudBaseUrl(const std::optional<std::string>& flag, const char* environmentValue,
                                const std::filesystem::path& configHome) {
    if (flag && !flag->empty()) return *flag;
    if (environmentValue && *environmentValue) return environmentValue;
    if (!configHome.empty()) {
        const auto value = ConfigValue(configHome / "songloader.conf", "cloud-url");
        if (value && !value->empty()) return *value;
    }
    return kDefaultCloudBaseUrl;
}

std::filesystem::path UserConfigFolder() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return std::filesystem::path(xdg) / "songloader";
    if (const char* home = std::getenv("HOME"); home && *home) {
        return std::filesystem::path(home) / ".config" / "songloader";
    }
    return {};
}

}  // namespace songloader
