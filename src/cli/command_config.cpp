// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>

#include "device_access.h"
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
                          "~/.config/songloader/songloader.conf), lines of \"key = value\" with the keys\n"
                          "cloud-url and encoding; lines starting with # are comments.\n"),
        [flags](const Operands&, Console& console) {
            const UserSettings settings = SettingsInEffect(flags->first, flags->second);
            Show(kCloudUrlKey, settings.cloudUrl, console);
            Show(kEncodingKey, settings.encoding, console);
            console.out << "settings-file\t" << (settings.file.path.empty() ? "-" : settings.file.path.string())
                        << '\n';
            if (!settings.file.error.empty()) {
                console.Fail() << "cannot read " << settings.file.path.string() << ": " << settings.file.error << "\n";
            }
            if (!LocaleCodePage(settings.encoding.value)) {
                console.Fail() << "unknown encoding " << settings.encoding.value << "\n";
                return kExitFailure;
            }
            return kExitOk;
        });
    AddCloudUrlOption(command, flags->second);
    AddEncodingOption(command, flags->first);
}

}  // namespace songloader::cli
