#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace songloader {

// A file written under a temporary name in its target's folder and renamed over the target only
// once it is complete and flushed to the disk. Until then the target keeps its old content;
// a file that is never committed is removed.
class PartialFile {
public:
    PartialFile() = default;
    ~PartialFile();
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    // Creates the temporary file; false (and `error`) when the folder does not take it.
    bool Create(const std::filesystem::path& target, std::string* error = nullptr);

    // Buffered stream of the temporary file; null before Create and after Commit/Discard.
    std::FILE* stream() const { return file_; }
    const std::filesystem::path& temporaryPath() const { return temporary_; }

    // Flush, fsync, close, rename over the target, fsync the folder. On failure the temporary file
    // is removed and the target is untouched.
    bool Commit(std::string* error = nullptr);

    // Closes and removes the temporary file.
    void Discard();

private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::FILE* file_ = nullptr;
    std::unique_ptr<char[]> buffer_;
};

}  // namespace songloader
