// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/curl_library.h"

#include <dlfcn.h>

#include <atomic>
#include <string>

namespace songloader {

namespace {

// The interface this program was built against; its major version names the library file.
constexpr const char* kCurlLibrary = "libcurl.so.4";

std::atomic<bool> loaded{false};
CurlFunctions functions{};

template <typename Function>
bool Load(void* handle, Function& function, const char* name) {
    function = reinterpret_cast<Function>(dlsym(handle, name));
    return function != nullptr;
}

Result<const CurlFunctions*> Open() {
    // Loaded for the life of the process: the handle is never closed.
    void* handle = dlopen(kCurlLibrary, RTLD_NOW | RTLD_LOCAL);
    if (!handle) return Fail(std::string("the network library ") + kCurlLibrary + " cannot be loaded: " + dlerror());
    CurlFunctions& f = functions;
    const bool found = Load(handle, f.globalInit, "curl_global_init") &&
                       Load(handle, f.globalCleanup, "curl_global_cleanup") &&
                       Load(handle, f.easyInit, "curl_easy_init") && Load(handle, f.easyCleanup, "curl_easy_cleanup") &&
                       Load(handle, f.easySetopt, "curl_easy_setopt") &&
                       Load(handle, f.easyGetinfo, "curl_easy_getinfo") &&
                       Load(handle, f.easyPerform, "curl_easy_perform") &&
                       Load(handle, f.easyStrerror, "curl_easy_strerror") &&
                       Load(handle, f.slistAppend, "curl_slist_append") &&
                       Load(handle, f.slistFreeAll, "curl_slist_free_all");
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
