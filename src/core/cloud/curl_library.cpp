// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/curl_library.h"

#include <atomic>
#include <string>

#include "core/common/runtime_library.h"

namespace songloader {

namespace {

// The interface this program was built against; its major version names the library file.
constexpr const char* kCurlLibrary = "libcurl.so.4";

std::atomic<bool> loaded{false};
CurlFunctions functions{};

Result<const CurlFunctions*> Open() {
    const Result<void*> opened = OpenRuntimeLibrary(kCurlLibrary, "the network library");
    if (!opened) return opened.failure();
    void* const handle = *opened;
    CurlFunctions& f = functions;
    const auto Load = [handle](auto& function, const char* name) { return LoadFunction(handle, function, name); };
    const bool found = Load(f.globalInit, "curl_global_init") && Load(f.globalCleanup, "curl_global_cleanup") &&
                       Load(f.easyInit, "curl_easy_init") && Load(f.easyCleanup, "curl_easy_cleanup") &&
                       Load(f.easySetopt, "curl_easy_setopt") && Load(f.easyGetinfo, "curl_easy_getinfo") &&
                       Load(f.easyPerform, "curl_easy_perform") && Load(f.easyStrerror, "curl_easy_strerror") &&
                       Load(f.slistAppend, "curl_slist_append") && Load(f.slistFreeAll, "curl_slist_free_all");
    if (!found) return Fail(std::string("the network library ") + kCurlLibrary + " lacks a function: " + dlerror());
    if (f.globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) return Fail("the network library cannot be set up");
    loaded = true;
    return &functions;
}

}  // namespace

Result<const CurlFunctions*> LoadCurl() {
    // Static initialisation runs once even when threads race for it.
    static const Result<const CurlFunctions*> library = Open();
    return library;
}

const CurlFunctions& Curl() { return functions; }

CurlLibrary::~CurlLibrary() {
    if (loaded) functions.globalCleanup();
}

}  // namespace songloader
