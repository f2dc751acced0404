// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/convert/conversion_recipe.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace songloader {

namespace {

// Fast enough for a batch on a small machine, with a quality a karaoke screen shows well.
constexpr const char* kPreset = "veryfast";
constexpr const char* kQuality = "21";

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

std::string LoudnormFilter(const Loudness* measured) {
    std::string filter =
        "loudnorm=I=" + Number(kTargetLoudness) + ":TP=" + Number(kTargetTruePeak) + ":LRA=" + Number(kTargetRange);
    if (measured) {
        filter += ":measured_I=" + Number(measured->integrated) + ":measured_TP=" + Number(measured->truePeak) +
                  ":measured_LRA=" + Number(measured->range) + ":measured_thresh=" + Number(measured->threshold) +
                  ":offset=" + Number(measured->offset) + ":linear=true";
    } else {
        filter += ":print_format=json";
    }
    return filter;
}

const MediaStream* FirstVideo(const MediaFacts& facts) {
    for (const MediaStream& stream : facts.streams) {
        if (stream.video) return &stream;
    }
    return nullptr;
}

// The output height of a video of `stream` scaled into the profile's size, aspect kept.
int OutputHeight(const MediaStream& stream, const PlayerProfile& profile) {
    if (stream.width <= 0 || stream.height <= 0) return profile.maxHeight;
    const double scale = std::min({1.0, static_cast<double>(profile.maxWidth) / stream.width,
                                   static_cast<double>(profile.maxHeight) / stream.height});
    return static_cast<int>(stream.height * scale);
}

void AddTags(const MediaFacts& facts, std::vector<std::string>& args) {
    // The probe also finds tags a container keeps on its streams (WebM, Ogg): they go on the file.
    for (auto [key, value] : {std::pair{"title", &facts.title}, std::pair{"artist", &facts.artist},
                              std::pair{"composer", &facts.composer}, std::pair{"lyricist", &facts.lyricist}}) {
        if (!value->empty()) args.insert(args.end(), {"-metadata", std::string(key) + "=" + *value});
    }
}

const char* EncoderFor(const std::string& codec) {
    if (codec == "mp3") return "libmp3lame";
    if (codec == "mp2") return "mp2";
    if (codec == "aac-lc") return "aac";
    if (codec == "ac3") return "ac3";
    return nullptr;
}

const char* MuxerFor(MediaContainer container, const MediaFacts& facts) {
    switch (container) {
        case MediaContainer::Matroska: return "matroska";
        case MediaContainer::MpegTs: return "mpegts";
        case MediaContainer::MpegPs: {
            const MediaStream* video = FirstVideo(facts);
            return video && video->codec == "mpeg2video" ? "vob" : "mpeg";
        }
        case MediaContainer::Avi: return "avi";
        case MediaContainer::Mp4: return "mp4";
        case MediaContainer::Flv: return "flv";
        case MediaContainer::Mp3: return "mp3";
    }
    return "mp4";
}

std::vector<std::string> Start(const std::filesystem::path& source, const char* logLevel) {
    return {"-nostdin", "-hide_banner", "-nostats", "-loglevel", logLevel, "-y", "-i", "file:" + source.string()};
}

}  // namespace

std::int64_t VideoBitsPerSecondFor(int height) {
    if (height > 720) return 8'000'000;
    if (height > 480) return 5'000'000;
    return 2'500'000;
}

std::vector<std::string> ConversionArguments(const std::filesystem::path& source, const MediaFacts& facts,
                                             const PlayerProfile& profile, const std::filesystem::path& target,
                                             const std::optional<Loudness>& loudness) {
    std::vector<std::string> args = Start(source, "error");
    const MediaStream* video = FirstVideo(facts);
    if (video) args.insert(args.end(), {"-map", "0:" + std::to_string(video->index)});
    for (const MediaStream& stream : facts.streams) {
        if (!stream.video) args.insert(args.end(), {"-map", "0:" + std::to_string(stream.index)});
    }
    args.insert(args.end(), {"-map_metadata", "0"});
    AddTags(facts, args);
    if (video) {
        const std::string rate = std::to_string(VideoBitsPerSecondFor(OutputHeight(*video, profile)));
        const std::string bufferSize = std::to_string(2 * VideoBitsPerSecondFor(OutputHeight(*video, profile)));
        const std::string width = std::to_string(profile.maxWidth), height = std::to_string(profile.maxHeight);
        args.insert(args.end(), {"-c:v", "libx264", "-profile:v", "high", "-preset", kPreset, "-crf", kQuality,
                                 "-maxrate", rate, "-bufsize", bufferSize, "-pix_fmt", "yuv420p", "-vf",
                                 "scale=w='min(" + width + ",iw)':h='min(" + height +
                                     ",ih)':force_original_aspect_ratio=decrease:force_divisible_by=2"});
    }
    if (facts.hasAudio) {
        args.insert(args.end(),
                    {"-c:a", "aac", "-b:a", std::to_string(kAudioBitsPerSecond), "-ar", "48000", "-ac", "2"});
        if (loudness) args.insert(args.end(), {"-af", LoudnormFilter(&*loudness)});
    }
    args.insert(args.end(), {"-progress", "pipe:1", "-f", "mp4", "file:" + target.string()});
    return args;
}

std::vector<std::string> MeasureArguments(const std::filesystem::path& source) {
    std::vector<std::string> args = Start(source, "info");
    args.insert(args.end(),
                {"-map", "0:a:0", "-af", LoudnormFilter(nullptr), "-progress", "pipe:1", "-f", "null", "-"});
    return args;
}

Result<Loudness> ReadLoudnessReport(const std::string& errorText) {
    const auto open = errorText.rfind('{');
    const auto close = errorText.rfind('}');
    if (open == std::string::npos || close == std::string::npos || close < open) {
        return Fail("the converter gave no loudness measurement");
    }
    const std::string report = errorText.substr(open, close - open + 1);
    const auto value = [&](const char* key) -> std::optional<double> {
        const std::string quoted = std::string("\"") + key + "\"";
        auto at = report.find(quoted);
        if (at == std::string::npos) return std::nullopt;
        at = report.find('"', report.find(':', at) + 1);
        if (at == std::string::npos) return std::nullopt;
        const std::string text = report.substr(at + 1, report.find('"', at + 1) - at - 1);
        char* end = nullptr;
        const double number = std::strtod(text.c_str(), &end);
        if (end == text.c_str() || !std::isfinite(number)) return std::nullopt;
        return number;
    };
    const auto integrated = value("input_i"), peak = value("input_tp"), range = value("input_lra"),
               threshold = value("input_thresh"), offset = value("target_offset");
    // Silence measures as minus infinity: there is no loudness to set.
    if (!integrated || !peak || !range || !threshold || !offset)
        return Fail("the song's loudness cannot be measured (silent or too short)");
    return Loudness{*integrated, *peak, *range, *threshold, *offset};
}

bool LoudnessOnTarget(const Loudness& measured) {
    return std::fabs(measured.integrated - kTargetLoudness) <= kLoudnessTolerance;
}

Result<std::vector<std::string>> LoudnessArguments(const std::filesystem::path& source, const MediaFacts& facts,
                                                   const std::filesystem::path& target, const Loudness& loudness) {
    if (!facts.container) return Fail("not a container the player plays");
    std::vector<std::string> args = Start(source, "error");
    args.insert(args.end(), {"-map", "0:v?", "-map", "0:a", "-map_metadata", "0", "-c", "copy"});
    int audio = 0;
    for (const MediaStream& stream : facts.streams) {
        if (stream.video) continue;
        const char* encoder = EncoderFor(stream.codec);
        if (!encoder) return Fail("cannot make " + stream.codec + " audio again");
        const std::string n = std::to_string(audio++);
        args.insert(args.end(), {"-c:a:" + n, encoder, "-b:a:" + n, std::to_string(kAudioBitsPerSecond), "-ar:a:" + n,
                                 std::to_string(stream.sampleRate > 0 ? stream.sampleRate : 48000)});
    }
    args.insert(args.end(), {"-af", LoudnormFilter(&loudness), "-progress", "pipe:1", "-f",
                             MuxerFor(*facts.container, facts), "file:" + target.string()});
    return args;
}

std::uint64_t EstimatedConvertedBytes(const MediaFacts& facts, const PlayerProfile& profile,
                                      std::uint64_t sourceBytes) {
    if (facts.seconds <= 0) return sourceBytes;
    std::int64_t bits = facts.hasAudio ? kAudioBitsPerSecond * static_cast<std::int64_t>(std::count_if(
                                                                   facts.streams.begin(), facts.streams.end(),
                                                                   [](const MediaStream& s) { return !s.video; }))
                                       : 0;
    if (const MediaStream* video = FirstVideo(facts)) bits += VideoBitsPerSecondFor(OutputHeight(*video, profile));
    // The container's own share is a few per cent at most.
    return static_cast<std::uint64_t>(static_cast<double>(bits) / 8.0 * facts.seconds * 1.03) + 64 * 1024;
}

}  // namespace songloader
