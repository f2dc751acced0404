// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_text.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/common/user_languages.h"
#include "qt_part.h"

namespace songloader::cli {

namespace {

// songloader_<language>.qm: in "translations" beside the program (the build tree), else in the
// installation's share/songloader/translations.
std::filesystem::path TranslationFile(const std::string& language) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
    const std::string name = "songloader_" + language + ".qm";
    for (const std::filesystem::path& candidate :
         {folder / "translations" / name, folder / ".." / "share" / "songloader" / "translations" / name}) {
        if (std::filesystem::exists(candidate, error)) return candidate;
    }
    return {};
}

const QtPart* TranslatingPart() {
    const std::string language = PickLanguage(UserLanguages([](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    }));
    if (language.empty()) return nullptr;
    const std::filesystem::path file = TranslationFile(language);
    if (file.empty()) return nullptr;
    const Result<const QtPart*> part = LoadQtPart();
    if (!part || !(*part)->loadTranslation(file)) return nullptr;
    return *part;
}

}  // namespace

std::string CliText(const std::string& english) {
    static const QtPart* const part = TranslatingPart();
    if (!part || english.empty()) return english;
    return part->translate("Cli", english);
}

}  // namespace songloader::cli
