// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress.h"

#include <cstdio>
#include <ostream>

namespace songloader::cli {

namespace {

std::string Size(std::uint64_t bytes) {
    const char* units[] = {"B", "KiB", "MiB", "GiB", "TiB"};
    double value = static_cast<double>(bytes);
    std::size_t unit = 0;
    while (value >= 1024 && unit + 1 < std::size(units)) {
        value /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, unit == 0 ? "%.0f %s" : "%.1f %s", value, units[unit]);
    return text;
}

}  // namespace

ProgressLine::ProgressLine(Console& console, std::string label)
    : console_(console), label_(std::move(label)), start_(std::chrono::steady_clock::now()) {}

ProgressLine::~ProgressLine() { Finish(); }

bool ProgressLine::Due(bool force) {
    if (!console_.progress) return false;
    const auto now = std::chrono::steady_clock::now();
    if (!force && drawn_ && now - lastDraw_ < std::chrono::milliseconds(100)) return false;
    lastDraw_ = now;
    drawn_ = true;
    return true;
}

void ProgressLine::Bytes(std::uint64_t done, std::uint64_t total, bool force) {
    if (!Due(force)) return;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    console_.err << "\r\033[K" << label_ << "  " << Size(done);
    if (total > 0) console_.err << " of " << Size(total) << "  " << (done >= total ? 100 : done * 100 / total) << "%";
    if (seconds > 0)
        console_.err << "  " << Size(static_cast<std::uint64_t>(static_cast<double>(done) / seconds)) << "/s";
    console_.err << std::flush;
}

void ProgressLine::Count(std::uint64_t done, std::uint64_t total, const char* unit, bool force) {
    if (!Due(force)) return;
    console_.err << "\r\033[K" << label_ << "  " << done << " of " << total << " " << unit << std::flush;
}

void ProgressLine::Status(const std::string& text, bool force) {
    if (!Due(force)) return;
    console_.err << "\r\033[K" << label_ << "  " << text << std::flush;
}

void ProgressLine::Finish() {
    if (!drawn_) return;
    console_.err << "\n" << std::flush;
    drawn_ = false;
}

}  // namespace songloader::cli
