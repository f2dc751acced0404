// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace songloader::test {

// A small tmpfs mounted on a folder for the life of the object: a real volume that a test can
// fill, unmount and replace. Mounting needs privileges; mounted() says whether it worked and
// why_not() why not, for the skip message.
class TmpfsMount {
public:
    TmpfsMount(const std::filesystem::path& folder, std::uint64_t bytes);
    ~TmpfsMount();
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& why_not() const { return whyNot_; }
    // Unmounts now (lazily, as a pulled stick leaves its mount).
    void Unmount();

private:
    std::filesystem::path folder_;
    bool mounted_ = false;
    std::string whyNot_;
};

}  // namespace songloader::test
