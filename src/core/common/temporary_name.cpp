// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/temporary_name.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <system_error>

#include "core/common/folder_entries.h"

namespace songloader {

std::filesystem::path TemporaryNameFor(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    std::filesystem::path name = target;
    name += std::string(kTemporaryMark) + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    return name;
}

std::filesystem::path PairTemporaryNameFor(const std::filesystem::path& target) {
    std::filesystem::path name = target;
    name += std::string(kTemporaryMark) + "pair";
    return name;
}

namespace {

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool IsTemporaryName(std::string_view fileName) {
    const auto mark = fileName.rfind(kTemporaryMark);
    if (mark == std::string_view::npos || mark == 0) return false;
    const std::string_view rest = fileName.substr(mark + kTemporaryMark.size());
    // <pid>-<counter>
    if (const auto dash = rest.find('-');
        dash != std::string_view::npos && AllDigits(rest.substr(0, dash)) && AllDigits(rest.substr(dash + 1))) {
        return true;
    }
    // A pair's fixed names, their database's side files, and a pair's marker.
    for (std::string_view fixed : {"pair", "pair-journal", "pair-wal", "pair-shm", "commit"}) {
        if (rest == fixed) return true;
    }
    return false;
}

std::vector<std::filesystem::path> FindTemporaries(const std::vector<std::filesystem::path>& folders) {
    std::vector<std::filesystem::path> found;
    // Names are looked at before any path is made: a device holds tens of thousands of files.
    for (const auto& folder : folders) {
        ForEachFolderEntry(folder, LinkedFolder::CountsAsFile, [&](std::string_view name, bool realFolder) {
            if (IsTemporaryName(name)) {
                found.push_back(folder / name);
            } else if (realFolder) {
                const std::filesystem::path sub = folder / name;
                ForEachFolderEntry(sub, LinkedFolder::CountsAsFile, [&](std::string_view inner, bool) {
                    if (IsTemporaryName(inner)) found.push_back(sub / inner);
                });
            }
        });
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<std::filesystem::path> RemoveTemporaries(const std::vector<std::filesystem::path>& temporaries) {
    std::vector<std::filesystem::path> left;
    for (const auto& path : temporaries) {
        std::error_code error;
        // remove_all does not follow a symbolic link: a link is removed, not what it points to.
        std::filesystem::remove_all(path, error);
        if (error) left.push_back(path);
    }
    return left;
}

}  // namespace songloader
