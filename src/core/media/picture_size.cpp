// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/media/picture_size.h"

#include <cstdint>
#include <memory>

namespace songloader {

namespace {

// A first picture is rarely above a megabyte; past this much a size is not looked for.
constexpr std::int64_t kSizeSearchBytes = 4 << 20;
constexpr int kSizeSearchPackets = 512;

// The codec's parser over one stream: it reads the headers in front of a picture, not the picture.
struct SizeReader {
    const LibavLibrary* av = nullptr;
    MediaStream* stream = nullptr;
    AVCodecContext* codec = nullptr;
    AVCodecParserContext* parser = nullptr;
    bool found = false;

    SizeReader() = default;
    SizeReader(const SizeReader&) = delete;
    SizeReader& operator=(const SizeReader&) = delete;
    ~SizeReader() {
        if (parser) av->parserClose(parser);
        if (codec) av->freeCodecContext(&codec);
    }

    // Parses one whole picture (or a decoder configuration); true once the size is known.
    // `data` must be followed by the library's padding, as packets and configurations are.
    bool Parse(const std::uint8_t* data, int size) {
        if (found || size <= 0) return found;
        std::uint8_t* out = nullptr;
        int outSize = 0;
        av->parserParse(parser, codec, &out, &outSize, data, size, AV_NOPTS_VALUE, AV_NOPTS_VALUE, 0);
        // The MPEG-1/2 and H.264 parsers tell the size themselves, the MPEG-4 one through the codec.
        const int width = parser->width > 0 ? parser->width : codec->width;
        const int height = parser->height > 0 ? parser->height : codec->height;
        if (width <= 0 || height <= 0) return false;
        stream->width = width;
        stream->height = height;
        found = true;
        return true;
    }
};

}  // namespace

void ReadPictureSizes(const LibavLibrary& av, AVFormatContext& context, std::vector<MediaStream>& streams) {
    std::vector<std::unique_ptr<SizeReader>> readers;
    for (MediaStream& stream : streams) {
        if (!stream.video || (stream.width > 0 && stream.height > 0)) continue;
        const AVCodecParameters& parameters = *context.streams[stream.index]->codecpar;
        auto reader = std::make_unique<SizeReader>();
        reader->av = &av;
        reader->stream = &stream;
        reader->parser = av.parserInit(parameters.codec_id);
        reader->codec = av.allocCodecContext(nullptr);
        if (!reader->parser || !reader->codec || av.parametersToContext(reader->codec, &parameters) < 0) continue;
        // The demuxer hands over whole pictures: each is parsed as it comes, even a file's only one.
        reader->parser->flags |= PARSER_FLAG_COMPLETE_FRAMES;
        // MPEG-4 Visual in MP4 keeps its object layer header in the decoder configuration.
        if (reader->Parse(parameters.extradata, parameters.extradata_size)) continue;
        readers.push_back(std::move(reader));
    }
    if (readers.empty()) return;

    // Transport and program streams announce their streams in packets, so the probe may have read
    // past the first picture.
    if (ResyncsAnywhere(context) && av.seekFrame(&context, -1, 0, AVSEEK_FLAG_BYTE) < 0) return;
    AVPacket* packet = av.packetAlloc();
    if (!packet) return;
    std::size_t pending = readers.size();
    std::int64_t bytes = 0;
    for (int i = 0; pending > 0 && i < kSizeSearchPackets && bytes < kSizeSearchBytes; ++i) {
        if (av.readFrame(&context, packet) < 0) break;
        bytes += packet->size;
        for (const auto& reader : readers) {
            if (reader->found || reader->stream->index != packet->stream_index) continue;
            if (reader->Parse(packet->data, packet->size)) --pending;
        }
        av.packetUnref(packet);
    }
    av.packetFree(&packet);
}

}  // namespace songloader
