// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/songlist/song_text_parser.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "core/songlist/abbreviation_key.h"
#include "core/text/code_page.h"

namespace songloader {

namespace {

constexpr std::uint32_t kNumberLimit = 1000000;
constexpr std::uint32_t kLastLanguage = 27;
constexpr std::uint32_t kLastWordClass = 51;
constexpr int kChinese = 1;

// Walks one row (the bytes before its CR LF); a failure leaves the message to show.
class RowReader {
public:
    explicit RowReader(std::string_view row) : row_(row) {}

    const char* failure() const { return failure_; }

    // Decimal digits up to TAB, CR or the row's end. Spaces are allowed only before the first
    // non-zero digit. A value too large for 32 bits stays at the largest one.
    bool ReadNumber(std::uint32_t& value) {
        constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
        std::uint64_t v = 0;
        bool nonZeroSeen = false;
        for (; pos_ < row_.size() && row_[pos_] != '\t' && row_[pos_] != '\r'; ++pos_) {
            const char c = row_[pos_];
            if (c >= '0' && c <= '9') {
                v = std::min(v * 10 + static_cast<std::uint64_t>(c - '0'), kMax);
                if (c != '0') nonZeroSeen = true;
            } else if (c == ' ') {
                if (nonZeroSeen) return Fail(kExtraSpaceMessage);
            } else {
                return Fail(kBadCharacterMessage);
            }
        }
        value = static_cast<std::uint32_t>(v);
        return true;
    }

    // TAB, the tag letter in either case, and ':'.
    bool ReadTag(char tag) {
        if (pos_ + 3 > row_.size() || row_[pos_] != '\t' || row_[pos_ + 2] != ':' ||
            (row_[pos_ + 1] != tag && row_[pos_ + 1] != tag + ('a' - 'A'))) {
            return Fail(kTagMessage);
        }
        pos_ += 3;
        return true;
    }

    // The bytes up to the next TAB or the row's end.
    std::string_view ReadText() {
        const std::size_t end = std::min(row_.find('\t', pos_), row_.size());
        const std::string_view text = row_.substr(pos_, end - pos_);
        pos_ = end;
        return text;
    }

    bool Fail(const char* message) {
        failure_ = message;
        return false;
    }

private:
    std::string_view row_;
    std::size_t pos_ = 0;
    const char* failure_ = nullptr;
};

std::uint8_t StoreText(std::string_view text, int language, std::string_view codePage,
                       char (&slot)[kSongTextSlot + 1]) {
    const std::size_t length = SlotLength(text, language, codePage);
    std::memcpy(slot, text.data(), length);
    slot[length] = '\0';
    return static_cast<std::uint8_t>(length);
}

bool ParseRow(std::size_t index, SongRow& row, RowReader& reader, std::string_view codePage) {
    std::uint32_t number = 0;
    if (!reader.ReadNumber(number)) return false;
    if (number >= kNumberLimit) return reader.Fail(kNumberTooLongMessage);
    row.number = number;

    std::uint32_t language = 0;
    if (!reader.ReadTag('C') || !reader.ReadNumber(language)) return false;
    language &= 0xFF;
    if (language > kLastLanguage) return reader.Fail(kLanguageMessage);
    row.language = static_cast<std::uint8_t>(language);
    const int lang = static_cast<int>(language);

    if (!reader.ReadTag('T')) return false;
    row.titleLength = StoreText(reader.ReadText(), lang, codePage, row.title);
    if (!reader.ReadTag('S')) return false;
    row.artistLength = StoreText(reader.ReadText(), lang, codePage, row.artist);
    if (!reader.ReadTag('W')) return false;
    row.composerLength = StoreText(reader.ReadText(), lang, codePage, row.composer);
    if (!reader.ReadTag('M')) return false;
    row.lyricistLength = StoreText(reader.ReadText(), lang, codePage, row.lyricist);

    row.titleKey = AbbreviationKey(row.Title(), lang, std::min<int>(row.titleLength, kMaxInitials));
    row.artistKey = AbbreviationKey(row.Artist(), lang, std::min<int>(row.artistLength, kMaxInitials));

    std::uint32_t wordCount = 0;
    if (!reader.ReadTag('N') || !reader.ReadNumber(wordCount)) return false;
    const std::uint32_t wordClass = wordCount == 0 ? 0 : wordCount - 1;
    if (wordClass > kLastWordClass) return reader.Fail(kWordCountMessage);
    row.wordClass = static_cast<std::uint8_t>(wordClass);
    // Whatever follows the word count in the row is not read.

    row.rowIndex = static_cast<std::uint16_t>(index);
    return true;
}

Failure Failed(std::size_t rowNumber, const char* message) { return Fail(std::to_string(rowNumber) + message); }

}  // namespace

std::size_t SlotLength(std::string_view text, int language, std::string_view codePage) {
    if (text.size() <= kSongTextSlot) return text.size();
    const bool chinese = language == kChinese;
    if (!chinese && !IsLeadByte(0x81, codePage)) return kSongTextSlot;  // a single-byte code page
    std::size_t cut = 0;
    while (cut < text.size()) {
        const auto b = static_cast<std::uint8_t>(text[cut]);
        const bool lead = chinese ? b >= 0x81 && b <= 0xFE : IsLeadByte(b, codePage);
        const std::size_t width = (lead && cut + 1 < text.size()) ? 2 : 1;
        if (cut + width > kSongTextSlot) break;
        cut += width;
    }
    return cut;
}

std::string CutToSlot(std::string_view text, int language, std::string_view codePage) {
    return std::string(text.substr(0, SlotLength(text, language, codePage)));
}

Result<ParsedSongText> ParseSongText(std::string_view text, std::size_t rowCount, std::string_view codePage) {
    ParsedSongText result;
    result.rows.reserve(std::min<std::size_t>(rowCount, 65536));
    std::size_t start = 0;
    for (std::size_t end = text.find("\r\n"); end != std::string_view::npos;
         start = end + 2, end = text.find("\r\n", start)) {
        const std::size_t index = result.rows.size();
        if (index >= rowCount) return Failed(index + 1, kRowCountMessage);
        SongRow& row = result.rows.emplace_back();
        RowReader reader(text.substr(start, end - start));
        if (!ParseRow(index, row, reader, codePage)) return Failed(index + 1, reader.failure());
        result.dataSize += row.titleLength + row.artistLength + row.composerLength + row.lyricistLength + 8u;
    }
    // Rows left unfilled would reach the file as garbage.
    if (result.rows.size() < rowCount) return Failed(result.rows.size() + 1, kRowCountMessage);
    return result;
}

}  // namespace songloader
