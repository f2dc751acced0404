// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/media/media_probe.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>

#include "core/media/libav_library.h"
#include "core/media/media_length.h"
#include "core/media/mp4_header.h"
#include "core/media/picture_size.h"

namespace songloader {

namespace {

// Streams that only show up in packets are looked for this far into the file, no further.
constexpr std::int64_t kPacketSearchBytes = 1 << 20;
constexpr int kPacketSearchCount = 256;

constexpr const char* kMp4Demuxer = "mov,mp4,m4a,3gp,3g2,mj2";

struct ContainerInfo {
    MediaContainer container;
    const char* name;
    const char* article;
    std::array<const char*, 4> extensions;
};

constexpr std::array<ContainerInfo, 7> kContainers{{
    {MediaContainer::Matroska, "Matroska (MKV)", "a", {".mkv"}},
    {MediaContainer::MpegTs, "MPEG transport stream (TS)", "an", {".ts"}},
    {MediaContainer::MpegPs, "MPEG program stream (MPG)", "an", {".mpg", ".mpeg", ".vob", ".dat"}},
    {MediaContainer::Avi, "AVI", "an", {".avi"}},
    {MediaContainer::Mp4, "MP4", "an", {".mp4"}},
    {MediaContainer::Flv, "Flash video (FLV)", "a", {".flv"}},
    {MediaContainer::Mp3, "MP3", "an", {".mp3"}},
}};

const ContainerInfo& InfoOf(MediaContainer container) {
    for (const ContainerInfo& info : kContainers) {
        if (info.container == container) return info;
    }
    return kContainers[0];
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// Demuxers that open something other than one media file: lists of other files, pictures,
// text and raw data. None of them is a song.
bool IsNeverMedia(std::string_view demuxer) {
    static constexpr std::array<std::string_view, 12> kNames{"hls",   "concat", "dash", "image2", "ffmetadata", "tty",
                                                             "lavfi", "data",   "bin",  "srt",    "webvtt",     "ass"};
    if (std::find(kNames.begin(), kNames.end(), demuxer) != kNames.end()) return true;
    constexpr std::string_view kPipe = "_pipe";
    return demuxer.size() > kPipe.size() && demuxer.substr(demuxer.size() - kPipe.size()) == kPipe;
}

// "a" or "an" before a container's name as libav spells it.
const char* ArticleFor(std::string_view name) {
    if (name.empty()) return "a";
    const char first = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    if (std::strchr("AEIOU", first)) return "an";
    // Initialisms are read letter by letter: an FLV, an MXF, an SMJPEG.
    const bool initialism = name.size() > 1 && std::isupper(static_cast<unsigned char>(name[0])) &&
                            std::isupper(static_cast<unsigned char>(name[1]));
    return initialism && std::strchr("FHLMNRSX", first) ? "an" : "a";
}

// Reads an EBML variable-length number; nullopt at the end of the data or on a malformed one.
std::optional<std::uint64_t> ReadVint(const std::string& data, std::size_t& at, bool keepMarker) {
    if (at >= data.size()) return std::nullopt;
    const auto first = static_cast<unsigned char>(data[at]);
    int length = 1;
    while (length <= 8 && !(first & (0x80 >> (length - 1)))) ++length;
    if (length > 8 || at + static_cast<std::size_t>(length) > data.size()) return std::nullopt;
    std::uint64_t value = keepMarker ? first : (first & (0xFFu >> length));
    for (int i = 1; i < length; ++i)
        value = (value << 8) | static_cast<unsigned char>(data[at + static_cast<std::size_t>(i)]);
    at += static_cast<std::size_t>(length);
    return value;
}

// The DocType of the EBML header at the start of the file ("matroska", "webm"); empty when
// there is none.
std::string EbmlDocType(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string head(4096, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    std::size_t at = 0;
    const auto id = ReadVint(head, at, true);
    const auto size = ReadVint(head, at, false);
    if (!id || *id != 0x1A45DFA3 || !size) return {};
    const std::size_t end = std::min<std::uint64_t>(head.size(), at + *size);
    while (at < end) {
        const auto childId = ReadVint(head, at, true);
        const auto childSize = ReadVint(head, at, false);
        if (!childId || !childSize || at + *childSize > end) return {};
        if (*childId == 0x4282) {
            std::string docType = head.substr(at, static_cast<std::size_t>(*childSize));
            docType.erase(std::find(docType.begin(), docType.end(), '\0'), docType.end());
            return Lower(docType);
        }
        at += static_cast<std::size_t>(*childSize);
    }
    return {};
}

// A tag's text with control characters made spaces and outer spaces removed.
std::string CleanTag(std::string text) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    }
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string TagText(const LibavLibrary& av, const AVDictionary* metadata, const char* key) {
    const AVDictionaryEntry* entry = av.dictGet(metadata, key, nullptr, 0);
    return entry && entry->value ? CleanTag(entry->value) : std::string();
}

// The first of `keys` found in the file's tags, then in its streams' tags.
std::string FindTag(const LibavLibrary& av, const AVFormatContext* context, std::initializer_list<const char*> keys) {
    for (const char* key : keys) {
        if (auto text = TagText(av, context->metadata, key); !text.empty()) return text;
    }
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        for (const char* key : keys) {
            if (auto text = TagText(av, context->streams[i]->metadata, key); !text.empty()) return text;
        }
    }
    return {};
}

void NoteStreams(const AVFormatContext* context, MediaFacts& facts) {
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVStream* stream = context->streams[i];
        const AVMediaType type = stream->codecpar->codec_type;
        // A cover picture is not a video.
        if (type == AVMEDIA_TYPE_VIDEO && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC)) facts.hasVideo = true;
        if (type == AVMEDIA_TYPE_AUDIO) facts.hasAudio = true;
    }
}

// AAC's low-complexity profile is what players decode; the headers of some containers leave the
// profile unsaid, and such a stream is taken for the common one.
std::string CodecName(const LibavLibrary& av, const AVCodecParameters& codec) {
    const std::string name = av.codecName(codec.codec_id);
    if (codec.codec_id != AV_CODEC_ID_AAC) return name;
    if (codec.profile == FF_PROFILE_AAC_LOW || codec.profile == FF_PROFILE_UNKNOWN) return "aac-lc";
    if (codec.profile == FF_PROFILE_AAC_HE || codec.profile == FF_PROFILE_AAC_HE_V2) return "aac-he";
    return "aac-other";
}

// Every video stream that is not a cover picture, and every audio stream; a failure names the
// first one no decoder reads.
Result<std::vector<MediaStream>> ReadStreams(const LibavLibrary& av, const AVFormatContext* context) {
    std::vector<MediaStream> streams;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVStream* stream = context->streams[i];
        const AVCodecParameters& codec = *stream->codecpar;
        const bool video =
            codec.codec_type == AVMEDIA_TYPE_VIDEO && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC);
        if (!video && codec.codec_type != AVMEDIA_TYPE_AUDIO) continue;
        MediaStream facts;
        facts.index = static_cast<int>(i);
        facts.video = video;
        facts.codec = CodecName(av, codec);
        facts.width = video ? codec.width : 0;
        facts.height = video ? codec.height : 0;
        facts.sampleRate = video ? 0 : codec.sample_rate;
        if (codec.codec_id == AV_CODEC_ID_NONE || !av.findDecoder(codec.codec_id)) {
            return Fail(std::string(video ? "video" : "audio") + " (" + facts.codec + ")");
        }
        streams.push_back(std::move(facts));
    }
    return streams;
}

struct InputCloser {
    const LibavLibrary* av;
    void operator()(AVFormatContext* context) const {
        // The input was opened on our own I/O context, which libav leaves to us.
        AVIOContext* io = context->pb;
        av->closeInput(&context);
        av->ioClose(&io);
    }
};
struct IoCloser {
    const LibavLibrary* av;
    void operator()(AVIOContext* io) const { av->ioClose(&io); }
};

// The demuxer that the first bytes of a file name beyond doubt: each of these signatures makes its
// demuxer's probe give the highest score, so asking every demuxer (the costliest part of opening a
// small file) would choose the same one. Empty when the bytes leave the choice to the probe.
const char* DemuxerBySignature(const unsigned char* head, int size) {
    const auto at = [&](int offset, std::string_view bytes) {
        return size >= offset + static_cast<int>(bytes.size()) &&
               std::memcmp(head + offset, bytes.data(), bytes.size()) == 0;
    };
    if (at(4, "ftyp")) return "mov";
    if (at(0, "\x1A\x45\xDF\xA3")) return "matroska";
    if (at(0, "RIFF") && at(8, "AVI ")) return "avi";
    return "";
}

std::optional<MediaContainer> PlayerContainer(std::string_view demuxer) {
    if (demuxer == "matroska,webm") return MediaContainer::Matroska;
    if (demuxer == "mpegts") return MediaContainer::MpegTs;
    if (demuxer == "mpeg") return MediaContainer::MpegPs;
    if (demuxer == "avi") return MediaContainer::Avi;
    if (demuxer == kMp4Demuxer) return MediaContainer::Mp4;
    if (demuxer == "flv") return MediaContainer::Flv;
    if (demuxer == "mp3") return MediaContainer::Mp3;
    return std::nullopt;
}

// The player's container, when the file is one and its name says so; else what it is.
void NameContainer(MediaFacts& facts, const std::filesystem::path& file, const std::string& demuxer,
                   const std::string& longName) {
    const auto container = PlayerContainer(demuxer);
    if (container == MediaContainer::Matroska && EbmlDocType(file) == "webm") {
        facts.containerText = "a WebM file";
    } else if (!container) {
        facts.containerText = std::string(ArticleFor(longName)) + " " + longName + " file";
    } else {
        const std::string extension = file.extension().string();
        if (ExtensionFits(*container, extension)) {
            facts.container = *container;
        } else {
            const ContainerInfo& info = InfoOf(*container);
            const std::string named = extension.empty() ? "without an extension" : "named " + extension;
            facts.containerText = std::string(info.article) + " " + info.name + " file " + named;
        }
    }
}

}  // namespace

const char* ContainerName(MediaContainer container) { return InfoOf(container).name; }

bool ExtensionFits(MediaContainer container, std::string_view extension) {
    const std::string lower = Lower(extension);
    for (const char* allowed : InfoOf(container).extensions) {
        if (allowed && lower == allowed) return true;
    }
    return false;
}

Result<MediaFacts> ProbeMedia(const std::filesystem::path& file, const std::string& shownName) {
    // The reader takes only a regular file; anything else goes to the library's checks.
    if (std::optional<MediaFacts> facts = ReadMp4Header(file)) {
        for (std::string* tag : {&facts->title, &facts->artist, &facts->composer}) *tag = CleanTag(std::move(*tag));
        NameContainer(*facts, file, kMp4Demuxer, kMp4Demuxer);
        return *std::move(facts);
    }
    return ProbeMediaWithLibrary(file, shownName);
}

Result<MediaFacts> ProbeMediaWithLibrary(const std::filesystem::path& file, const std::string& shownName) {
    const Failure notMedia = Fail(shownName + kNotMediaMessage);
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        if (error || !std::filesystem::exists(file, error)) return Fail(shownName + " cannot be read: no such file");
        return notMedia;
    }
    const auto library = Libav();
    if (!library) return Fail(shownName + " cannot be checked: " + library.message());
    const LibavLibrary& av = **library;
    // Only plain files: a media file never makes libav open a network address or another file.
    AVDictionary* ioOptions = nullptr;
    av.dictSet(&ioOptions, "protocol_whitelist", "file", 0);
    AVIOContext* rawIo = nullptr;
    const std::string url = "file:" + file.string();
    const int opened = av.ioOpen(&rawIo, url.c_str(), AVIO_FLAG_READ, nullptr, &ioOptions);
    av.dictFree(&ioOptions);
    if (opened < 0) {
        std::array<char, AV_ERROR_MAX_STRING_SIZE> text{};
        av.strerror(opened, text.data(), text.size());
        return Fail(shownName + " cannot be read: " + text.data());
    }
    std::unique_ptr<AVIOContext, IoCloser> io(rawIo, IoCloser{&av});

    const AVInputFormat* format = nullptr;
    // The demuxer is chosen from the bytes alone: the name has no say in what the file holds.
    std::array<unsigned char, 12> head{};
    const int headSize = av.ioRead(io.get(), head.data(), static_cast<int>(head.size()));
    if (av.ioSeek(io.get(), 0, SEEK_SET) != 0) return notMedia;
    if (const char* known = DemuxerBySignature(head.data(), headSize); *known) format = av.findInputFormat(known);
    if (!format && (av.probeInputBuffer(io.get(), &format, "", nullptr, 0, 0) < 0 || !format)) return notMedia;
    const std::string demuxer = format->name ? format->name : "";
    if (IsNeverMedia(demuxer)) return notMedia;

    AVFormatContext* rawContext = av.allocContext();
    if (!rawContext) return Fail(shownName + " cannot be read: out of memory");
    AVIOContext* ownIo = io.release();
    rawContext->pb = ownIo;
    AVDictionary* formatOptions = nullptr;
    av.dictSet(&formatOptions, "protocol_whitelist", "file", 0);
    const int started = av.openInput(&rawContext, url.c_str(), format, &formatOptions);
    av.dictFree(&formatOptions);
    if (started < 0) {
        // A failed open frees the context but leaves our I/O context to us.
        av.ioClose(&ownIo);
        return notMedia;
    }
    std::unique_ptr<AVFormatContext, InputCloser> context(rawContext, InputCloser{&av});

    MediaFacts facts;
    NoteStreams(context.get(), facts);
    if (!facts.hasVideo && !facts.hasAudio) {
        // Program streams, transport streams and FLV announce their streams in packets.
        AVPacket* packet = av.packetAlloc();
        for (int i = 0; packet && i < kPacketSearchCount && !facts.hasVideo && !facts.hasAudio; ++i) {
            if (av.readFrame(context.get(), packet) < 0) break;
            av.packetUnref(packet);
            NoteStreams(context.get(), facts);
            if (av.ioSeek(context->pb, 0, SEEK_CUR) > kPacketSearchBytes) break;
        }
        av.packetFree(&packet);
    }
    if (!facts.hasVideo && !facts.hasAudio) return notMedia;

    const Result<std::vector<MediaStream>> streams = ReadStreams(av, context.get());
    if (!streams) {
        std::string text = shownName + kNotDecodableMessage;
        text.replace(text.find("%s"), 2, streams.message());
        return Fail(text);
    }
    facts.streams = *streams;
    ReadPictureSizes(av, *context, facts.streams);
    if (context->duration > 0) facts.seconds = static_cast<double>(context->duration) / AV_TIME_BASE;
    else facts.seconds = ReadMediaSeconds(av, *context);
    facts.bitsPerSecond = std::max<std::int64_t>(context->bit_rate, 0);

    NameContainer(facts, file, demuxer, format->long_name ? format->long_name : demuxer);
    facts.title = FindTag(av, context.get(), {"title"});
    facts.artist = FindTag(av, context.get(), {"artist", "author"});
    facts.composer = FindTag(av, context.get(), {"composer"});
    facts.lyricist = FindTag(av, context.get(), {"lyricist", "TEXT"});
    return facts;
}

}  // namespace songloader
