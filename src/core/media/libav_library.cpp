// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/media/libav_library.h"

#include <dlfcn.h>

#include <string>

namespace songloader {

namespace {

#define SONGLOADER_TEXT(x) #x
#define SONGLOADER_SONAME(name, major) "lib" name ".so." SONGLOADER_TEXT(major)
// The versions this program was built against: their structures are the ones it reads.
constexpr const char* kFormatLibrary = SONGLOADER_SONAME("avformat", LIBAVFORMAT_VERSION_MAJOR);

template <typename Function>
bool Load(void* handle, Function& function, const char* name) {
    function = reinterpret_cast<Function>(dlsym(handle, name));
    return function != nullptr;
}

Result<const LibavLibrary*> Open() {
    // The library stays loaded for the life of the process, so its handle is never closed.
    void* handle = dlopen(kFormatLibrary, RTLD_NOW | RTLD_LOCAL);
    if (!handle) return Fail(std::string("the media library ") + kFormatLibrary + " cannot be loaded: " + dlerror());
    static LibavLibrary library{};
    LibavLibrary& l = library;
    // Symbols of libavcodec and libavutil are found through libavformat, which needs them.
    const bool loaded = Load(handle, l.logSetLevel, "av_log_set_level") && Load(handle, l.dictGet, "av_dict_get") &&
                        Load(handle, l.dictSet, "av_dict_set") && Load(handle, l.dictFree, "av_dict_free") &&
                        Load(handle, l.strerror, "av_strerror") && Load(handle, l.ioOpen, "avio_open2") &&
                        Load(handle, l.ioClose, "avio_closep") && Load(handle, l.ioSeek, "avio_seek") &&
                        Load(handle, l.probeInputBuffer, "av_probe_input_buffer2") &&
                        Load(handle, l.allocContext, "avformat_alloc_context") &&
                        Load(handle, l.openInput, "avformat_open_input") &&
                        Load(handle, l.closeInput, "avformat_close_input") &&
                        Load(handle, l.readFrame, "av_read_frame") && Load(handle, l.packetAlloc, "av_packet_alloc") &&
                        Load(handle, l.packetUnref, "av_packet_unref") && Load(handle, l.packetFree, "av_packet_free");
    if (!loaded) return Fail(std::string("the media library ") + kFormatLibrary + " lacks a function: " + dlerror());
    // The library's own log lines would land on the terminal of the CLI and the window's.
    l.logSetLevel(AV_LOG_QUIET);
    return &library;
}

}  // namespace

Result<const LibavLibrary*> Libav() {
    static const Result<const LibavLibrary*> library = Open();
    return library;
}

}  // namespace songloader
