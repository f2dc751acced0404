// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/media/libav_library.h"

#include <string>

#include "core/common/runtime_library.h"

namespace songloader {

namespace {

#define SONGLOADER_TEXT(x) #x
#define SONGLOADER_SONAME(name, major) "lib" name ".so." SONGLOADER_TEXT(major)
// The versions this program was built against: their structures are the ones it reads.
constexpr const char* kFormatLibrary = SONGLOADER_SONAME("avformat", LIBAVFORMAT_VERSION_MAJOR);

Result<const LibavLibrary*> Open() {
    const Result<void*> opened = OpenRuntimeLibrary(kFormatLibrary, "the media library");
    if (!opened) return opened.failure();
    void* const handle = *opened;
    const auto Load = [handle](auto& function, const char* name) { return LoadFunction(handle, function, name); };
    static LibavLibrary library{};
    LibavLibrary& l = library;
    // Symbols of libavcodec and libavutil are found through libavformat, which needs them.
    const bool loaded =
        Load(l.logSetLevel, "av_log_set_level") && Load(l.dictGet, "av_dict_get") && Load(l.dictSet, "av_dict_set") &&
        Load(l.dictFree, "av_dict_free") && Load(l.strerror, "av_strerror") && Load(l.ioOpen, "avio_open2") &&
        Load(l.ioClose, "avio_closep") && Load(l.ioSeek, "avio_seek") && Load(l.ioRead, "avio_read") &&
        Load(l.findInputFormat, "av_find_input_format") &&
        Load(l.probeInputBuffer, "av_probe_input_buffer2") && Load(l.allocContext, "avformat_alloc_context") &&
        Load(l.openInput, "avformat_open_input") && Load(l.closeInput, "avformat_close_input") &&
        Load(l.readFrame, "av_read_frame") && Load(l.packetAlloc, "av_packet_alloc") &&
        Load(l.packetUnref, "av_packet_unref") && Load(l.packetFree, "av_packet_free") &&
        Load(l.codecName, "avcodec_get_name") && Load(l.findDecoder, "avcodec_find_decoder");
    const bool parsers = Load(l.seekFrame, "av_seek_frame") && Load(l.ioSize, "avio_size") && Load(l.allocCodecContext, "avcodec_alloc_context3") &&
                         Load(l.freeCodecContext, "avcodec_free_context") &&
                         Load(l.parametersToContext, "avcodec_parameters_to_context") &&
                         Load(l.parserInit, "av_parser_init") && Load(l.parserParse, "av_parser_parse2") &&
                         Load(l.parserClose, "av_parser_close");
    if (!loaded || !parsers)
        return Fail(std::string("the media library ") + kFormatLibrary + " lacks a function: " + dlerror());
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
