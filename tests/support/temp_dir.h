// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace songloader::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

void WriteBytes(const std::filesystem::path& file, const std::string& bytes);
void WriteBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes);
std::string ReadBytes(const std::filesystem::path& file);

// While alive, writes past `bytes` in any file fail (EFBIG) for this process: a real write failure
// part-way, the way a full device fails.
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::uint64_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    std::uint64_t oldSoft_;
    void (*oldHandler_)(int);
};

// Names of the files below `folder`, relative, sorted (for "nothing else was left behind" checks).
std::vector<std::string> ListFiles(const std::filesystem::path& folder);

}  // namespace songloader::test
