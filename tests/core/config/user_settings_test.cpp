// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/config/user_settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>

#include "support/temp_dir.h"

namespace songloader {
namespace {

TEST(SettingsFile, OnlyASmallRegularFileIsRead) {
    test::TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo.conf").c_str(), 0644), 0);
    std::filesystem::create_symlink("/dev/zero", dir / "zero.conf");
    test::WriteBytes(dir / "large.conf", std::string(kSettingsFileMaxBytes + 1, '#'));
    test::WriteBytes(dir / "long-line.conf",
                     "encoding = CP1252\nx = " + std::string(kSettingsLineMaxBytes, 'a') + "\ncloud-url = http://c/\n");
    const struct {
        const char* file;
        const char* error;
        std::size_t values;
    } cases[] = {
        {"fifo.conf", "not a regular file", 0},
        {"zero.conf", "not a regular file", 0},
        {"large.conf", "larger than 64 KiB", 0},
        {"long-line.conf", "line 2 is longer than 4096 bytes", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const auto start = std::chrono::steady_clock::now();
        const SettingsFile file = ReadSettingsFile(dir / c.file);
        EXPECT_EQ(file.error, c.error);
        EXPECT_EQ(file.values.size(), c.values);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    }
}

}  // namespace
}  // namespace songloader
