// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/curl_library.h"

#include <curl/curl.h>

namespace songloader {

CurlLibrary::CurlLibrary() : ok_(curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK) {}

CurlLibrary::~CurlLibrary() {
    if (ok_) curl_global_cleanup();
}

}  // namespace songloader
