// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
}

#include <string_view>

#include "core/common/result.h"

namespace songloader {

// The media library is opened the first time a file is checked, not when a program starts: it
// pulls in over a hundred libraries, which would cost every command a tenth of a second.
struct LibavLibrary {
    decltype(&av_log_set_level) logSetLevel;
    decltype(&av_dict_get) dictGet;
    decltype(&av_dict_set) dictSet;
    decltype(&av_dict_free) dictFree;
    decltype(&av_strerror) strerror;
    decltype(&avio_open2) ioOpen;
    decltype(&avio_closep) ioClose;
    decltype(&avio_seek) ioSeek;
    decltype(&avio_read) ioRead;
    decltype(&av_find_input_format) findInputFormat;
    decltype(&av_probe_input_buffer2) probeInputBuffer;
    decltype(&avformat_alloc_context) allocContext;
    decltype(&avformat_open_input) openInput;
    decltype(&avformat_close_input) closeInput;
    decltype(&av_read_frame) readFrame;
    decltype(&av_packet_alloc) packetAlloc;
    decltype(&av_packet_unref) packetUnref;
    decltype(&av_packet_free) packetFree;
    decltype(&avcodec_get_name) codecName;
    decltype(&avcodec_find_decoder) findDecoder;
    // Reading a picture's size from the first packets (picture_size.h) and a length from the
    // first and last packets (media_length.h).
    decltype(&av_seek_frame) seekFrame;
    decltype(&avio_size) ioSize;
    decltype(&avcodec_alloc_context3) allocCodecContext;
    decltype(&avcodec_free_context) freeCodecContext;
    decltype(&avcodec_parameters_to_context) parametersToContext;
    decltype(&av_parser_init) parserInit;
    decltype(&av_parser_parse2) parserParse;
    decltype(&av_parser_close) parserClose;
};

// Demuxers that find their way from any byte of a file (transport and program streams), so that a
// reader may go back to the start, or to the end, by byte.
inline bool ResyncsAnywhere(const AVFormatContext& context) {
    const std::string_view name = context.iformat && context.iformat->name ? context.iformat->name : "";
    return name == "mpegts" || name == "mpeg";
}

// The library's functions, loaded once (and silenced); a failure names the missing library.
Result<const LibavLibrary*> Libav();

}  // namespace songloader
