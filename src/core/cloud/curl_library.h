// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <curl/curl.h>

#include "core/common/result.h"

namespace songloader {

// libcurl is opened the first time a request is made, not when a program starts: with the
// libraries it pulls in it would cost every command, networked or not, tens of milliseconds.
struct CurlFunctions {
    decltype(&curl_global_init) globalInit;
    decltype(&curl_global_cleanup) globalCleanup;
    decltype(&curl_easy_init) easyInit;
    decltype(&curl_easy_cleanup) easyCleanup;
    decltype(&curl_easy_setopt) easySetopt;
    decltype(&curl_easy_getinfo) easyGetinfo;
    decltype(&curl_easy_perform) easyPerform;
    decltype(&curl_easy_strerror) easyStrerror;
    decltype(&curl_slist_append) slistAppend;
    decltype(&curl_slist_free_all) slistFreeAll;
};

// Loads libcurl and runs its process-wide set-up, once; later calls give the first answer.
Result<const CurlFunctions*> LoadCurl();
// The functions once LoadCurl has succeeded (a transfer handle exists).
const CurlFunctions& Curl();

// The process-wide set-up's owner: made once in main or a test environment, it undoes the set-up
// at exit when a request loaded the library.
class CurlLibrary {
public:
    CurlLibrary() = default;
    ~CurlLibrary();
    CurlLibrary(const CurlLibrary&) = delete;
    CurlLibrary& operator=(const CurlLibrary&) = delete;
    // Whether the library can be loaded (it is, when it was not yet).
    bool ok() const { return LoadCurl().ok(); }
};

}  // namespace songloader
