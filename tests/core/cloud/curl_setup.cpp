// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/curl_environment.h"

namespace {
[[maybe_unused]] ::testing::Environment* const curl =
    ::testing::AddGlobalTestEnvironment(new songloader::test::CurlEnvironment);
}  // namespace
