// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <dlfcn.h>

#include <string>

#include "core/common/result.h"

namespace songloader {

// A library opened when it is first needed, for the life of the process (never closed); `what`
// names it for people ("the network library").
inline Result<void*> OpenRuntimeLibrary(const char* fileName, const std::string& what) {
    void* handle = dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
    if (!handle) return Fail(what + " " + fileName + " cannot be loaded: " + dlerror());
    return handle;
}

// Sets `function` to the library's function `name`; false when the library lacks it.
template <typename Function>
bool LoadFunction(void* library, Function& function, const char* name) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

}  // namespace songloader
