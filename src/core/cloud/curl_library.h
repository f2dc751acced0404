// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace songloader {

// libcurl's process-wide set-up, done once at program start (before any thread makes a request)
// and undone at exit. Create exactly one, in main or a test environment.
class CurlLibrary {
public:
    CurlLibrary();
    ~CurlLibrary();
    CurlLibrary(const CurlLibrary&) = delete;
    CurlLibrary& operator=(const CurlLibrary&) = delete;
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
};

}  // namespace songloader
