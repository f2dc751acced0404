// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Wall and processor time of one piece of work, for the benchmark programs: the first call in
// this fresh process beside the median of the warm calls after it.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

namespace songloader::bench {

struct Spent {
    double wallMs = 0;
    double cpuMs = 0;
};

inline double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

template <typename F>
Spent Measure(F&& work) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = CpuMs();
    work();
    return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count(),
            CpuMs() - cpuStart};
}

// Runs `work` 1 + warm times and prints: what, first call, warm median (min..max), wall and CPU.
template <typename F>
void Report(const char* what, int warm, F&& work) {
    const Spent first = Measure(work);
    std::vector<Spent> runs;
    for (int i = 0; i < warm; ++i) runs.push_back(Measure(work));
    std::sort(runs.begin(), runs.end(), [](const Spent& a, const Spent& b) { return a.wallMs < b.wallMs; });
    if (runs.empty()) runs.push_back(first);
    const Spent& median = runs[runs.size() / 2];
    std::printf("%s: first %.1f ms (cpu %.1f); warm median %.1f ms (cpu %.1f), min %.1f, max %.1f, n=%zu\n", what,
                first.wallMs, first.cpuMs, median.wallMs, median.cpuMs, runs.front().wallMs, runs.back().wallMs,
                runs.size());
}

}  // namespace songloader::bench
