// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/media/mp4_header.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

namespace songloader {

namespace {

// A moov box larger than this (a long film with millions of samples) is left to the library.
constexpr std::uint64_t kMostMovieBytes = 16u << 20;
// Bytes read at once from the start of a file: the boxes of a small song file, or the first box
// headers of a big one (whose movie box is then read on its own). Copying more out of the page
// cache costs every file of an import more than the one extra read costs the few that need it.
constexpr std::uint64_t kFirstRead = 4 * 1024;
// Top-level boxes looked at before giving up on finding the movie box.
constexpr int kMostTopLevelBoxes = 64;

struct FileHandle {
    int fd = -1;
    ~FileHandle() {
        if (fd >= 0) ::close(fd);
    }
};

std::uint32_t Be32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}
std::uint64_t Be64(const unsigned char* p) { return static_cast<std::uint64_t>(Be32(p)) << 32 | Be32(p + 4); }
std::uint16_t Be16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] << 8 | p[1]); }

// Bytes of a box's body, bounds-checked: a read past the end makes the whole reading fail.
class Bytes {
public:
    Bytes() = default;
    Bytes(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
    bool Has(std::size_t at, std::size_t count) const { return at <= size_ && count <= size_ - at; }
    const unsigned char* At(std::size_t at) const { return data_ + at; }
    std::size_t size() const { return size_; }
    Bytes From(std::size_t at) const { return Has(at, 0) ? Bytes(data_ + at, size_ - at) : Bytes(data_, 0); }

private:
    const unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
};

struct Box {
    std::string_view type;
    Bytes body;
};

// Walks the boxes one after another inside `bytes`; false from Next() at the end, and `broken`
// when a box does not fit.
class Boxes {
public:
    explicit Boxes(Bytes bytes) : bytes_(bytes) {}
    bool Next(Box& box) {
        if (at_ == bytes_.size()) return false;
        if (!bytes_.Has(at_, 8)) return Break();
        std::uint64_t size = Be32(bytes_.At(at_));
        std::size_t header = 8;
        if (size == 1) {
            if (!bytes_.Has(at_, 16)) return Break();
            size = Be64(bytes_.At(at_ + 8));
            header = 16;
        }
        // A size of 0 ("to the end of the file") belongs to the file's last box, never inside one.
        if (size < header || !bytes_.Has(at_, size)) return Break();
        box.type = std::string_view(reinterpret_cast<const char*>(bytes_.At(at_ + 4)), 4);
        box.body = Bytes(bytes_.At(at_ + header), size - header);
        at_ += size;
        return true;
    }
    bool broken() const { return broken_; }

private:
    bool Break() {
        broken_ = true;
        return false;
    }
    Bytes bytes_;
    std::size_t at_ = 0;
    bool broken_ = false;
};

// An MPEG-4 descriptor's length: one to four bytes of seven bits each.
bool DescriptorLength(Bytes bytes, std::size_t& at, std::size_t& length) {
    length = 0;
    for (int i = 0; i < 4; ++i) {
        if (!bytes.Has(at, 1)) return false;
        const unsigned char byte = *bytes.At(at++);
        length = length << 7 | (byte & 0x7F);
        if (!(byte & 0x80)) return true;
    }
    return true;
}

struct Decoder {
    int objectType = 0;  // the decoder configuration's objectTypeIndication
    Bytes specific;      // its DecoderSpecificInfo
};

// The decoder configuration of an esds box: ES_Descriptor > DecoderConfigDescriptor >
// DecoderSpecificInfo.
std::optional<Decoder> ReadEsds(Bytes esds) {
    std::size_t at = 4;  // version and flags
    std::size_t length = 0;
    if (!esds.Has(at, 1) || *esds.At(at++) != 0x03 || !DescriptorLength(esds, at, length) || !esds.Has(at, 3)) {
        return std::nullopt;
    }
    const unsigned char flags = *esds.At(at + 2);
    at += 3;
    if (flags & 0x80) at += 2;  // depends on another stream
    if (flags & 0x40) {         // a URL
        if (!esds.Has(at, 1)) return std::nullopt;
        at += 1 + *esds.At(at);
    }
    if (flags & 0x20) at += 2;  // an OCR stream
    if (!esds.Has(at, 1) || *esds.At(at++) != 0x04 || !DescriptorLength(esds, at, length) || !esds.Has(at, 13)) {
        return std::nullopt;
    }
    Decoder decoder;
    decoder.objectType = *esds.At(at);
    at += 13;
    if (esds.Has(at, 1) && *esds.At(at) == 0x05) {
        ++at;
        if (!DescriptorLength(esds, at, length) || !esds.Has(at, length)) return std::nullopt;
        decoder.specific = Bytes(esds.At(at), length);
    }
    return decoder;
}

// Bits of a decoder configuration, most significant first; reads past the end give zeros.
class BitReader {
public:
    explicit BitReader(Bytes bytes) : bytes_(bytes) {}
    std::uint32_t Get(int count) {
        std::uint32_t value = Show(count);
        at_ += static_cast<std::size_t>(count);
        return value;
    }
    std::uint32_t Show(int count) const {
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            const std::size_t bit = at_ + static_cast<std::size_t>(i);
            const bool set = bit / 8 < bytes_.size() && (*bytes_.At(bit / 8) >> (7 - bit % 8) & 1);
            value = value << 1 | (set ? 1u : 0u);
        }
        return value;
    }
    std::ptrdiff_t Left() const {
        return static_cast<std::ptrdiff_t>(bytes_.size() * 8) - static_cast<std::ptrdiff_t>(at_);
    }

private:
    Bytes bytes_;
    std::size_t at_ = 0;
};

std::uint32_t AudioObjectType(BitReader& bits) {
    const std::uint32_t type = bits.Get(5);
    return type == 31 ? 32 + bits.Get(6) : type;
}

int AudioSampleRate(BitReader& bits) {
    static constexpr std::array<int, 16> kRates{96000, 88200, 64000, 48000, 44100, 32000, 24000, 22050,
                                                16000, 12000, 11025, 8000,  7350,  0,     0,     0};
    const std::uint32_t index = bits.Get(4);
    return index == 15 ? static_cast<int>(bits.Get(24)) : kRates[index];
}

// An AAC AudioSpecificConfig of the low-complexity profile: the sample rate the library gives its
// stream, which is the rate of a spectral band replication announced after the configuration
// (backward-compatible HE-AAC) when there is one; nullopt for any other profile.
std::optional<int> AacLowComplexityRate(Bytes config) {
    constexpr std::uint32_t kLowComplexity = 2;
    constexpr std::uint32_t kBandReplication = 5;
    constexpr std::uint32_t kSyncExtension = 0x2B7;
    BitReader bits(config);
    if (config.size() < 2 || AudioObjectType(bits) != kLowComplexity) return std::nullopt;
    const int rate = AudioSampleRate(bits);
    const std::uint32_t channels = bits.Get(4);
    if (rate <= 0 || channels > 7) return std::nullopt;
    int extensionRate = 0;
    // The library looks for the extension bit by bit after the channel configuration.
    while (bits.Left() > 15) {
        if (bits.Show(11) != kSyncExtension) {
            bits.Get(1);
            continue;
        }
        bits.Get(11);
        if (AudioObjectType(bits) == kBandReplication && bits.Get(1) == 1) extensionRate = AudioSampleRate(bits);
        break;
    }
    return extensionRate != 0 ? extensionRate : rate;
}

// The picture size in an MPEG-4 Visual video object layer header (start code 00 00 01 2x) of a
// rectangular picture; none when there is no such header or it says something else.
std::optional<std::pair<int, int>> ObjectLayerSize(Bytes config) {
    for (std::size_t at = 0; config.Has(at, 4); ++at) {
        const unsigned char* code = config.At(at);
        if (code[0] != 0 || code[1] != 0 || code[2] != 1 || (code[3] & 0xF0) != 0x20) continue;
        BitReader bits(config.From(at + 4));
        bits.Get(1);  // random access
        bits.Get(8);  // object type
        std::uint32_t version = 1;
        if (bits.Get(1)) {
            version = bits.Get(4);
            bits.Get(3);  // priority
        }
        if (bits.Get(4) == 15) bits.Get(16);  // an extended pixel aspect ratio
        if (bits.Get(1)) {
            bits.Get(3);                    // chroma format, low delay
            if (bits.Get(1)) bits.Get(79);  // buffer parameters
        }
        const std::uint32_t shape = bits.Get(2);
        if (shape == 3 && version != 1) bits.Get(4);
        if (shape != 0 || !bits.Get(1)) return std::nullopt;  // rectangular, then a marker
        const std::uint32_t resolution = bits.Get(16);
        if (resolution == 0 || !bits.Get(1)) return std::nullopt;
        if (bits.Get(1)) {
            int width = 1;
            while ((1u << width) < resolution) ++width;
            bits.Get(width);  // the fixed time increment
        }
        if (!bits.Get(1)) return std::nullopt;
        const auto width = static_cast<int>(bits.Get(13));
        if (!bits.Get(1)) return std::nullopt;
        const auto height = static_cast<int>(bits.Get(13));
        if (!bits.Get(1) || bits.Left() < 0 || width == 0 || height == 0) return std::nullopt;
        return std::pair(width, height);
    }
    return std::nullopt;
}

// The child box of `type` inside `bytes`, the first one; none when there is none or when any box
// there does not fit (the library refuses such a file).
std::optional<Bytes> Child(Bytes bytes, std::string_view type) {
    Boxes boxes(bytes);
    Box box;
    std::optional<Bytes> found;
    while (boxes.Next(box)) {
        if (box.type == type && !found) found = box.body;
    }
    return boxes.broken() ? std::nullopt : found;
}

// A table box: version and flags, an entry count, then that many entries of `entrySize` bytes
// after `extra` bytes, filling the box exactly. The entry count; none when it does not fit.
std::optional<std::uint32_t> TableEntries(const std::optional<Bytes>& table, std::size_t entrySize,
                                          std::size_t extra = 0) {
    if (!table || !table->Has(0, 8 + extra)) return std::nullopt;
    const std::uint32_t count = Be32(table->At(4 + extra));
    if (table->size() != 8 + extra + std::uint64_t{count} * entrySize) return std::nullopt;
    return count;
}

// The sample tables the library needs to index a track, checked as far as it refuses a file for
// them: present, each entry count filling its box, the chunk runs in order and naming the one
// sample description.
bool SampleTablesHold(Bytes table) {
    const auto chunks = TableEntries(Child(table, "stco"), 4);
    const auto runs = TableEntries(Child(table, "stsc"), 12);
    const auto times = TableEntries(Child(table, "stts"), 8);
    const auto sizes = Child(table, "stsz");
    if (!chunks || !runs || !times || !sizes || !sizes->Has(0, 12)) return false;
    const bool oneSize = Be32(sizes->At(4)) != 0;
    const auto samples = TableEntries(sizes, oneSize ? 0 : 4, 4);
    if (!samples) return false;
    // The library keeps sample sizes as signed numbers and refuses a negative one.
    for (std::uint32_t i = 0; i < (oneSize ? 1 : *samples); ++i) {
        if (*sizes->At(oneSize ? 4 : 12 + std::size_t{i} * 4) & 0x80) return false;
    }
    if (const auto sync = Child(table, "stss"); sync && !TableEntries(sync, 4)) return false;
    if (const auto offsets = Child(table, "ctts"); offsets && !TableEntries(offsets, 8)) return false;
    const Bytes stsc = *Child(table, "stsc");
    std::uint32_t previous = 0;
    for (std::uint32_t i = 0; i < *runs; ++i) {
        const unsigned char* run = stsc.At(8 + std::size_t{i} * 12);
        const std::uint32_t first = Be32(run);
        if (first <= previous || first > *chunks || Be32(run + 4) < 1 || Be32(run + 8) != 1) return false;
        previous = first;
    }
    return true;
}

// A track's data references: at least one, each a box of at least 12 bytes.
bool ReferencesHold(Bytes info) {
    const auto references = Child(info, "dinf");
    const auto table = references ? Child(*references, "dref") : std::nullopt;
    if (!table || !table->Has(0, 8)) return false;
    const std::uint32_t count = Be32(table->At(4));
    Boxes entries(table->From(8));
    Box entry;
    std::uint32_t seen = 0;
    while (entries.Next(entry)) {
        if (entry.body.size() < 4) return false;
        ++seen;
    }
    return !entries.broken() && count >= 1 && seen == count;
}

// One sample description of a video track: its codec as the media library names it, and size.
bool ReadVideoEntry(const Box& entry, MediaStream& stream) {
    constexpr std::size_t kFixed = 78;  // the visual sample entry before its boxes
    if (!entry.body.Has(0, kFixed)) return false;
    stream.width = Be16(entry.body.At(24));
    stream.height = Be16(entry.body.At(26));
    const Bytes boxes = entry.body.From(kFixed);
    if (entry.type == "avc1" || entry.type == "avc3") {
        stream.codec = "h264";
        return Child(boxes, "avcC").has_value();
    }
    if (entry.type != "mp4v") return false;
    const auto esds = Child(boxes, "esds");
    const auto decoder = esds ? ReadEsds(*esds) : std::nullopt;
    if (!decoder || decoder->objectType != 0x20) return false;
    // The sample entry's size of such a track is often wrong: the object layer header says it.
    const auto size = ObjectLayerSize(decoder->specific);
    if (!size) return false;
    stream.codec = "mpeg4";
    stream.width = size->first;
    stream.height = size->second;
    return true;
}

// One sample description of an audio track: its codec and sample rate.
bool ReadAudioEntry(const Box& entry, MediaStream& stream) {
    constexpr std::size_t kFixed = 28;  // the version 0 sound sample entry before its boxes
    if (entry.type != "mp4a" || !entry.body.Has(0, kFixed) || Be16(entry.body.At(8)) != 0) return false;
    const auto esds = Child(entry.body.From(kFixed), "esds");
    const auto decoder = esds ? ReadEsds(*esds) : std::nullopt;
    if (!decoder || decoder->objectType != 0x40) return false;
    const auto rate = AacLowComplexityRate(decoder->specific);
    if (!rate) return false;
    stream.codec = "aac-lc";
    stream.sampleRate = *rate;
    return true;
}

// A video or audio track's stream; false when the track holds what this reader leaves to the
// library.
bool ReadTrack(Bytes trak, MediaStream& stream) {
    Boxes children(trak);
    Box box;
    std::optional<Bytes> media;
    while (children.Next(box)) {
        // Per-track tags, and tracks that refer to others (chapters, cover pictures).
        if (box.type == "udta" || box.type == "tref" || box.type == "meta") return false;
        if (box.type == "mdia") media = box.body;
    }
    if (children.broken() || !media) return false;
    const auto handler = Child(*media, "hdlr");
    if (!handler || !handler->Has(8, 4)) return false;
    const std::string_view kind(reinterpret_cast<const char*>(handler->At(8)), 4);
    // The library tells other tracks by their sample descriptions too: those are left to it.
    if (kind != "vide" && kind != "soun") return false;
    // The library takes only versions 0 and 1 of the media header, and a positive time scale.
    const auto mediaHeader = Child(*media, "mdhd");
    if (!mediaHeader || !mediaHeader->Has(0, 24) || *mediaHeader->At(0) > 1) return false;
    if (static_cast<std::int32_t>(Be32(mediaHeader->At(*mediaHeader->At(0) == 1 ? 20 : 12))) <= 0) return false;
    const auto info = Child(*media, "minf");
    const auto table = info ? Child(*info, "stbl") : std::nullopt;
    if (!table || !ReferencesHold(*info) || !SampleTablesHold(*table)) return false;
    const auto descriptions = Child(*table, "stsd");
    if (!descriptions || !descriptions->Has(0, 8) || Be32(descriptions->At(4)) != 1) return false;
    Boxes entries(descriptions->From(8));
    Box entry;
    if (!entries.Next(entry)) return false;
    stream.video = kind == "vide";
    return stream.video ? ReadVideoEntry(entry, stream) : ReadAudioEntry(entry, stream);
}

struct Tags {
    std::string title;
    std::string artist;
    std::string composer;
};

// moov/udta: only an iTunes-style tag list (meta with an mdir handler, then ilst) of UTF-8
// texts; the keys read are the title, artist and composer ones, the last of each kept.
bool ReadTags(Bytes udta, Tags& tags) {
    Boxes children(udta);
    Box box;
    while (children.Next(box)) {
        if (box.type != "meta") return false;
        const Bytes meta = box.body.From(4);  // version and flags
        const auto handler = Child(meta, "hdlr");
        if (!handler || !handler->Has(8, 4) || std::memcmp(handler->At(8), "mdir", 4) != 0) return false;
        Boxes parts(meta);
        Box part;
        while (parts.Next(part)) {
            if (part.type == "hdlr" || part.type == "free") continue;
            if (part.type != "ilst") return false;
            Boxes items(part.body);
            Box item;
            while (items.Next(item)) {
                // The library makes a stream of a cover picture, and keys of free-form items.
                if (item.type == "covr" || item.type == "----") return false;
                std::string* target = nullptr;
                if (item.type == "\xA9nam") target = &tags.title;
                else if (item.type ==
                             "\xA9"
                             "ART" ||
                         item.type ==
                             "\xA9"
                             "aut")
                    target = &tags.artist;
                else if (item.type ==
                             "\xA9"
                             "com" ||
                         item.type ==
                             "\xA9"
                             "wrt")
                    target = &tags.composer;
                if (!target) continue;
                const auto data = Child(item.body, "data");
                if (!data || !data->Has(0, 8) || Be32(data->At(0)) != 1) return false;
                const Bytes text = data->From(8);
                // The library keeps a text up to its first NUL.
                const char* begin = reinterpret_cast<const char*>(text.At(0));
                target->assign(begin, ::strnlen(begin, text.size()));
            }
            if (items.broken()) return false;
        }
        if (parts.broken()) return false;
    }
    return !children.broken();
}

// The movie box of the file, read whole; empty when there is none, or it is too big.
std::string ReadMovieBox(int fd, std::uint64_t fileSize) {
    // The start of the file is read at once: a small file's boxes, the movie box included, are
    // there, and a big one's box headers are then read one by one.
    std::string start(static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, kFirstRead)), '\0');
    if (::pread(fd, start.data(), start.size(), 0) != static_cast<ssize_t>(start.size())) return {};
    const auto readAt = [&](std::uint64_t at, std::size_t count) -> std::string {
        if (at + count <= start.size()) return start.substr(static_cast<std::size_t>(at), count);
        std::string bytes(count, '\0');
        const ssize_t read = ::pread(fd, bytes.data(), count, static_cast<off_t>(at));
        return read == static_cast<ssize_t>(count) ? bytes : std::string();
    };
    std::uint64_t at = 0;
    for (int i = 0; i < kMostTopLevelBoxes && at + 8 <= fileSize; ++i) {
        const std::string header = readAt(at, static_cast<std::size_t>(std::min<std::uint64_t>(16, fileSize - at)));
        if (header.size() < 8) return {};
        const auto* bytes = reinterpret_cast<const unsigned char*>(header.data());
        std::uint64_t size = Be32(bytes);
        std::uint64_t headerSize = 8;
        if (size == 1) {
            if (header.size() < 16) return {};
            size = Be64(bytes + 8);
            headerSize = 16;
        } else if (size == 0) {
            size = fileSize - at;
        }
        if (size < headerSize || size > fileSize - at) return {};
        const std::string_view type(header.data() + 4, 4);
        if (i == 0 && type != "ftyp") return {};
        if (type == "moov") {
            if (size > kMostMovieBytes) return {};
            return readAt(at + headerSize, static_cast<std::size_t>(size - headerSize));
        }
        at += size;
    }
    return {};
}

}  // namespace

std::optional<MediaFacts> ReadMp4Header(const std::filesystem::path& file) {
    // Not waiting on a FIFO's writer: only a regular file is read.
    FileHandle handle{::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
    struct stat status {};
    if (handle.fd < 0 || ::fstat(handle.fd, &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    const std::string movie = ReadMovieBox(handle.fd, static_cast<std::uint64_t>(status.st_size));
    if (movie.empty()) return std::nullopt;

    MediaFacts facts;
    Tags tags;
    bool headerSeen = false;
    Boxes children(Bytes(reinterpret_cast<const unsigned char*>(movie.data()), movie.size()));
    Box box;
    while (children.Next(box)) {
        if (box.type == "mvhd") {
            const Bytes& header = box.body;
            const bool wide = header.Has(0, 1) && *header.At(0) == 1;
            const std::size_t scaleAt = wide ? 20 : 12;
            if (!header.Has(scaleAt, wide ? 12 : 8)) return std::nullopt;
            // The library reads the scale as a signed number.
            const auto scale = static_cast<std::int32_t>(Be32(header.At(scaleAt)));
            const std::uint64_t duration = wide ? Be64(header.At(scaleAt + 4)) : Be32(header.At(scaleAt + 4));
            // The library's duration: microseconds, rounded to the nearest; a scale of 0 counts as 1.
            const std::uint64_t units = scale > 0 ? static_cast<std::uint64_t>(scale) : 1;
            // No duration: the library looks for one in the timestamps.
            if (duration == 0 || duration >= (std::uint64_t{1} << 40)) return std::nullopt;
            facts.seconds = static_cast<double>((duration * 1000000 + units / 2) / units) / 1000000.0;
            headerSeen = true;
        } else if (box.type == "trak") {
            MediaStream stream;
            if (!ReadTrack(box.body, stream)) return std::nullopt;
            stream.index = static_cast<int>(facts.streams.size());
            (stream.video ? facts.hasVideo : facts.hasAudio) = true;
            facts.streams.push_back(std::move(stream));
        } else if (box.type == "udta") {
            if (!ReadTags(box.body, tags)) return std::nullopt;
        } else if (box.type == "mvex" || box.type == "meta" || box.type == "cmov" || box.type == "rmra") {
            // Fragments, untyped tags, a compressed or a reference movie.
            return std::nullopt;
        }
    }
    if (children.broken() || !headerSeen || facts.streams.empty()) return std::nullopt;
    facts.title = std::move(tags.title);
    facts.artist = std::move(tags.artist);
    facts.composer = std::move(tags.composer);
    return facts;
}

}  // namespace songloader
