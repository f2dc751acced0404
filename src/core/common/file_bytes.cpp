// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace songloader {

namespace {

Failure SystemFailure() { return Fail(std::strerror(errno)); }
Failure TooLarge(std::uint64_t maxBytes) { return Fail("larger than " + std::to_string(maxBytes) + " bytes"); }

}  // namespace

Result<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path, std::uint64_t maxBytes) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return SystemFailure();
    auto bytes = ReadOpenFileBytes(fd, maxBytes);
    ::close(fd);
    return bytes;
}

Result<std::vector<std::uint8_t>> ReadOpenFileBytes(int fd, std::uint64_t maxBytes) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) return SystemFailure();
    if (!S_ISREG(info.st_mode)) return Fail("not a regular file");
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes) return TooLarge(maxBytes);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    std::uint8_t buffer[65536];
    while (true) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return SystemFailure();
        if (n == 0) break;
        if (bytes.size() + static_cast<std::size_t>(n) > maxBytes)
            return TooLarge(maxBytes);  // it grew while being read
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}

}  // namespace songloader
