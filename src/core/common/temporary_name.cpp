// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/temporary_name.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <system_error>

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
    if (const auto dash = rest.find('-'); dash != std::string_view::npos && AllDigits(rest.substr(0, dash)) &&
                                          AllDigits(rest.substr(dash + 1))) {
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
    auto scan = [&found](const std::filesystem::path& folder, bool descend) {
        std::error_code error;
        for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            std::error_code kind;
            if (IsTemporaryName(it->path().filename().native())) {
                found.push_back(it->path());
            } else if (descend && it->is_directory(kind) && !it->is_symlink(kind)) {
                std::error_code inner;
                for (std::filesystem::directory_iterator sub(it->path(), inner), last; !inner && sub != last;
                     sub.increment(inner)) {
                    if (IsTemporaryName(sub->path().filename().native())) found.push_back(sub->path());
                }
            }
        }
    };
    for (const auto& folder : folders) scan(folder, true);
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
