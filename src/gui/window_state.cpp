// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/window_state.h"

#include "core/config/user_settings.h"

namespace songloader::gui {

std::unique_ptr<QSettings> WindowState() {
    const auto settingsFile = SettingsFilePath(SettingsSources::FromEnvironment());
    if (!settingsFile) return nullptr;
    const std::filesystem::path file = settingsFile->parent_path() / "window-state.conf";
    return std::make_unique<QSettings>(QString::fromStdString(file.string()), QSettings::IniFormat);
}

}  // namespace songloader::gui
