// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/media/probe_files.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <thread>

namespace songloader {

namespace {

// Probing threads at most, however many cores there are: the files are read too.
constexpr std::size_t kMostProbeThreads = 8;

}  // namespace

std::vector<Result<MediaFacts>> ProbeFiles(const std::vector<std::filesystem::path>& files) {
    std::vector<std::optional<Result<MediaFacts>>> probed(files.size());
    std::atomic<std::size_t> next{0};
    const auto probe = [&] {
        for (std::size_t i = next++; i < files.size(); i = next++) probed[i] = ProbeMedia(files[i], files[i].string());
    };
    const std::size_t workers =
        std::min<std::size_t>({std::max(1u, std::thread::hardware_concurrency()), kMostProbeThreads, files.size()});
    std::vector<std::thread> helpers;
    for (std::size_t i = 1; i < workers; ++i) helpers.emplace_back(probe);
    probe();
    for (std::thread& helper : helpers) helper.join();
    std::vector<Result<MediaFacts>> facts;
    facts.reserve(files.size());
    for (auto& result : probed) facts.push_back(std::move(*result));
    return facts;
}

}  // namespace songloader
