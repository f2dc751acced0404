// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/convert/conversion_settings.h"

#include "core/convert/converter_program.h"
#include "core/media/player_profile.h"

namespace songloader {

namespace {

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

}  // namespace

ConversionSettings ConversionSettingsInEffect(const SettingsFile& file,
                                              const std::function<std::optional<std::string>(const char*)>& variable) {
    ConversionSettings result;
    const Result<PlayerProfile> profile = PlayerProfileFrom(file.values, file.path);
    if (!profile) result.problems.push_back(profile.message());
    const PlayerProfile shown = profile ? *profile : BuiltInPlayerProfile();
    // A value the file gives is shown as read while the profile cannot be taken, so that the bad one is seen.
    const auto add = [&](const char* key, const std::string& inEffect) {
        const auto it = file.values.find(key);
        if (it == file.values.end()) {
            result.settings.push_back({key, {inEffect, SettingSource::BuiltIn, "built in"}});
        } else {
            result.settings.push_back(
                {key, {profile ? inEffect : it->second, SettingSource::SettingsFile, file.path.string()}});
        }
    };
    add(kPlayerVideoKey, Joined(shown.videoCodecs));
    add(kPlayerAudioKey, Joined(shown.audioCodecs));
    add(kPlayerSizeKey, std::to_string(shown.maxWidth) + "x" + std::to_string(shown.maxHeight));

    Setting converter;
    converter.source = ConverterSource(file.values, variable);
    const Result<std::filesystem::path> program = FindConverter(file.values, variable);
    switch (converter.source) {
        case SettingSource::Environment:
            converter.origin = kConverterVariable;
            converter.value = *variable(kConverterVariable);
            break;
        case SettingSource::SettingsFile:
            converter.origin = file.path.string();
            converter.value = file.values.at(kConverterKey);
            break;
        default:
            converter.origin = "built in";
            converter.value = "-";
            break;
    }
    if (program) {
        converter.value = program->string();
    } else if (converter.source != SettingSource::BuiltIn) {
        result.problems.push_back(program.message());
    }
    result.settings.push_back({kConverterKey, converter});
    return result;
}

}  // namespace songloader
