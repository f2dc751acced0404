// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/config/user_settings.h"

namespace songloader {

struct KeyedSetting {
    std::string key;
    Setting setting;
};

// The conversion's settings in effect, each with where it came from, for people to see: the player
// profile's keys (player_profile.h) and the converter (converter_program.h), in that order. A
// converter left to PATH where there is none is "-". `problems` names each value that cannot be
// used, with where it came from.
struct ConversionSettings {
    std::vector<KeyedSetting> settings;
    std::vector<std::string> problems;
};
ConversionSettings ConversionSettingsInEffect(const SettingsFile& file,
                                              const std::function<std::optional<std::string>(const char*)>& variable);

}  // namespace songloader
