// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/media/media_length.h"

#include <algorithm>
#include <cstdint>
#include <map>

namespace songloader {

namespace {

// The end is looked for in the last 256 KiB, then further back when those hold no timestamp.
constexpr std::int64_t kTailBytes = 256 << 10;
constexpr std::int64_t kLongestTailBytes = 4 << 20;
constexpr int kHeadPackets = 64;
constexpr int kTailPackets = 4096;
// Timestamps that jump (files joined together) give no length worth telling.
constexpr double kLongestSeconds = 24 * 3600;

bool Counts(const AVStream& stream) {
    const AVMediaType type = stream.codecpar->codec_type;
    return (type == AVMEDIA_TYPE_VIDEO && !(stream.disposition & AV_DISPOSITION_ATTACHED_PIC)) ||
           type == AVMEDIA_TYPE_AUDIO;
}

double StreamLengths(const AVFormatContext& context) {
    double longest = 0;
    for (unsigned i = 0; i < context.nb_streams; ++i) {
        const AVStream& stream = *context.streams[i];
        if (!Counts(stream) || stream.duration <= 0 || stream.duration == AV_NOPTS_VALUE) continue;
        const double seconds = static_cast<double>(stream.duration) * av_q2d(stream.time_base);
        if (seconds < kLongestSeconds) longest = std::max(longest, seconds);
    }
    return longest;
}

// Reads packets from the byte `from` on, at most `count` of them, handing each one that carries a
// timestamp to `take`; false when the reader could not go there.
template <typename Take>
bool ReadFrom(const LibavLibrary& av, AVFormatContext& context, std::int64_t from, int count, Take take) {
    if (av.seekFrame(&context, -1, from, AVSEEK_FLAG_BYTE) < 0) return false;
    AVPacket* packet = av.packetAlloc();
    if (!packet) return false;
    for (int i = 0; i < count && av.readFrame(&context, packet) >= 0; ++i) {
        const std::int64_t at = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        const auto index = static_cast<unsigned>(packet->stream_index);
        if (at != AV_NOPTS_VALUE && index < context.nb_streams && Counts(*context.streams[index])) {
            take(index, at, std::max<std::int64_t>(packet->duration, 0));
        }
        av.packetUnref(packet);
    }
    av.packetFree(&packet);
    return true;
}

double TimestampSpan(const LibavLibrary& av, AVFormatContext& context) {
    const std::int64_t size = av.ioSize(context.pb);
    if (size <= 0) return 0;
    std::map<unsigned, std::int64_t> first;
    std::map<unsigned, std::int64_t> last;
    const bool head = ReadFrom(av, context, 0, kHeadPackets, [&](unsigned index, std::int64_t at, std::int64_t) {
        const auto [it, added] = first.emplace(index, at);
        if (!added) it->second = std::min(it->second, at);
    });
    bool tail = true;
    for (std::int64_t back = kTailBytes; head && tail && last.empty() && back <= kLongestTailBytes; back *= 4) {
        tail = ReadFrom(av, context, std::max<std::int64_t>(0, size - back), kTailPackets,
                        [&](unsigned index, std::int64_t at, std::int64_t duration) {
                            const auto [it, added] = last.emplace(index, at + duration);
                            if (!added) it->second = std::max(it->second, at + duration);
                        });
        if (back >= size) break;
    }
    if (!head || !tail) return 0;
    double longest = 0;
    for (const auto& [index, start] : first) {
        const auto end = last.find(index);
        if (end == last.end()) continue;
        const AVStream& stream = *context.streams[index];
        std::int64_t span = end->second - start;
        // The clock of MPEG streams wraps (33 bits): an end before the start went round once.
        if (span < 0 && stream.pts_wrap_bits > 0 && stream.pts_wrap_bits < 63)
            span += std::int64_t{1} << stream.pts_wrap_bits;
        const double seconds = static_cast<double>(span) * av_q2d(stream.time_base);
        if (seconds > 0 && seconds < kLongestSeconds) longest = std::max(longest, seconds);
    }
    return longest;
}

}  // namespace

double ReadMediaSeconds(const LibavLibrary& av, AVFormatContext& context) {
    if (const double seconds = StreamLengths(context); seconds > 0) return seconds;
    return ResyncsAnywhere(context) ? TimestampSpan(av, context) : 0;
}

}  // namespace songloader
