// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>

#include "device_access.h"
#include "core/convert/conversion_settings.h"
#include "core/text/code_page.h"
#include "core/common/translatable.h"

namespace songloader::cli {

namespace {

void Show(const char* key, const Setting& setting, Console& console) {
    console.out << key << '\t' << setting.value << '\t' << SettingSourceName(setting.source);
    if (setting.source != SettingSource::BuiltIn) console.out << " (" << setting.origin << ")";
    console.out << '\n';
}

}  // namespace

void AddConfigCommand(CommandSet& commands) {
    auto flags = std::make_shared<std::pair<std::string, std::string>>();  // encoding, cloud URL
    CLI::App& command = commands.Add(
        "config", SL_TRANSLATE_NOOP("Cli", "show the settings in effect and where each came from"), "",
        SL_TRANSLATE_NOOP("Cli",
                          "Prints each setting, one a line, tab-separated: its key, its value, and where it\n"
                          "came from (command line, environment, settings file, locale or built in).\n"
                          "The settings file is $XDG_CONFIG_HOME/songloader/songloader.conf (default\n"
                          "~/.config/songloader/songloader.conf), lines of \"key = value\"; lines starting\n"
                          "with # are comments. Its keys:\n"
                          "  cloud-url            the cloud server's address\n"
                          "  encoding             the code page of the names on the device (e.g. CP1252)\n"
                          "  player-video-codecs  the video codecs the player plays, as ffmpeg names them\n"
                          "  player-audio-codecs  the audio codecs the player plays, likewise (AAC-LC: aac-lc)\n"
                          "  player-max-size      the largest picture the player shows, like 1920x1080\n"
                          "  converter            the ffmpeg program that converts what the player cannot\n"
                          "                       play (SONGLOADER_FFMPEG goes first; built in: ffmpeg\n"
                          "                       on PATH, - when there is none)\n"
                          "A song whose codecs or picture are not the player's is converted (--convert).\n"),
        [flags](const Operands&, Console& console) {
            const UserSettings settings = SettingsInEffect(flags->first, flags->second);
            Show(kCloudUrlKey, settings.cloudUrl, console);
            Show(kEncodingKey, settings.encoding, console);
            const ConversionSettings conversion =
                ConversionSettingsInEffect(settings.file, SettingsSources::FromEnvironment().variable);
            for (const KeyedSetting& keyed : conversion.settings) Show(keyed.key.c_str(), keyed.setting, console);
            console.out << "settings-file\t" << (settings.file.path.empty() ? "-" : settings.file.path.string())
                        << '\n';
            if (!settings.file.error.empty()) {
                console.Fail() << "cannot read " << settings.file.path.string() << ": " << settings.file.error << "\n";
            }
            for (const std::string& problem : conversion.problems) console.Fail() << problem << "\n";
            if (!LocaleCodePage(settings.encoding.value)) {
                console.Fail() << "unknown encoding " << settings.encoding.value << "\n";
                return kExitFailure;
            }
            return conversion.problems.empty() ? kExitOk : kExitFailure;
        });
    AddCloudUrlOption(command, flags->second);
    AddEncodingOption(command, flags->first);
}

}  // namespace songloader::cli
