// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <optional>

#include "core/cloud/curl_library.h"

namespace songloader::test {

// libcurl's global set-up for a test program, once before the first test:
//   static auto* const curl = ::testing::AddGlobalTestEnvironment(new songloader::test::CurlEnvironment);
class CurlEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        library_.emplace();
        ASSERT_TRUE(library_->ok());
    }
    void TearDown() override { library_.reset(); }

private:
    std::optional<CurlLibrary> library_;
};

}  // namespace songloader::test
