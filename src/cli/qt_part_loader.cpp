// SPDX-License-Identifier: GPL-3.0-or-later
#include <dlfcn.h>

#include <system_error>

#include "qt_part.h"

namespace songloader::cli {

namespace {

// The module is installed at SONGLOADER_QT_PART_RELATIVE from the program's folder; in the build
// tree it lies beside the program.
std::filesystem::path FindQtPart() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path folder = program.parent_path();
    const std::filesystem::path installed = folder / SONGLOADER_QT_PART_RELATIVE;
    if (std::filesystem::exists(installed, error)) return installed;
    return folder / std::filesystem::path(SONGLOADER_QT_PART_RELATIVE).filename();
}

}  // namespace

Result<const QtPart*> LoadQtPart() {
    const std::filesystem::path file = FindQtPart();
    void* module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) return Fail("cannot load " + file.string() + ": " + dlerror());
    using Entry = const QtPart* (*)();
    const auto entry = reinterpret_cast<Entry>(dlsym(module, "songloader_cli_qt_part"));
    if (!entry) return Fail(file.string() + " is not the song loader's Qt part");
    // Opening it again (print, then eject) hands back the module already loaded.
    return entry();
}

}  // namespace songloader::cli
