// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/songlist/abbreviation_key.h"

#include <algorithm>
#include <array>

#include "core/songlist/gb2312_initials.h"
#include "core/songlist/vietnamese_letters.h"

namespace songloader {

namespace {

constexpr int kChinese = 1;
constexpr int kKorean = 10;
constexpr int kVietnamese = 11;

bool TakesLatin9Folding(int language) { return language >= 2 && language <= 4; }

// Accented Latin-9 letters as their base letter; other bytes stay.
struct Latin9Folding {
    std::array<std::uint8_t, 256> codes{};
    constexpr void Set(unsigned from, unsigned to, char letter) {
        for (unsigned b = from; b <= to; ++b) codes[b] = static_cast<std::uint8_t>(letter);
    }
    constexpr Latin9Folding() {
        for (unsigned i = 0; i < 256; ++i) codes[i] = static_cast<std::uint8_t>(i);
        Set(0xC0, 0xC6, 'A');
        Set(0xE0, 0xE6, 'A');
        Set(0xC7, 0xC7, 'C');
        Set(0xE7, 0xE7, 'C');
        Set(0xC8, 0xCB, 'E');
        Set(0xE8, 0xEB, 'E');
        Set(0xCC, 0xCF, 'I');
        Set(0xEC, 0xEF, 'I');
        Set(0xD0, 0xD0, 'D');
        Set(0xD1, 0xD1, 'N');
        Set(0xF1, 0xF1, 'N');
        Set(0xD2, 0xD6, 'O');
        Set(0xF2, 0xF6, 'O');
        Set(0xD9, 0xDC, 'U');
        Set(0xF9, 0xFC, 'U');
        Set(0xDD, 0xDD, 'Y');
        Set(0xFD, 0xFD, 'Y');
        Set(0xFF, 0xFF, 'Y');
        Set(0xBE, 0xBE, 'Y');
        Set(0xDE, 0xDF, 'B');
        Set(0xFE, 0xFE, 'B');
        Set(0xA6, 0xA6, 'S');
        Set(0xA8, 0xA8, 'S');
        Set(0xB4, 0xB4, 'Z');
        Set(0xB8, 0xB8, 'Z');
    }
};
constexpr Latin9Folding kLatin9Folding;

bool IsUpper(std::uint8_t c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(std::uint8_t c) { return c >= 'a' && c <= 'z'; }
bool IsDigit(std::uint8_t c) { return c >= '0' && c <= '9'; }

class KeyBuilder {
public:
    KeyBuilder(int language, int limit) : language_(language), limit_(limit) {}

    bool Full() const { return taken_ >= limit_; }
    std::uint32_t Key() const { return key_; }

    void TakeInitial(std::uint32_t value) {
        key_ += value * multiplier_;
        ++taken_;
        multiplier_ /= 27;
    }

    // A GB2312 character is a word of its own.
    void TakeCharacter(std::uint32_t initial) {
        TakeInitial(initial);
        wordStart_ = true;
    }

    void TakeByte(std::uint8_t c) {
        if (wordStart_) {
            if (IsLower(c)) c = static_cast<std::uint8_t>(c - 32);
            if (IsUpper(c)) {
                TakeInitial(c - 64u);
                wordStart_ = false;
            } else if ((language_ == kChinese || language_ == kKorean) && IsDigit(c)) {
                TakeInitial(c - static_cast<std::uint32_t>('0'));
                wordStart_ = false;
            }
            return;
        }
        if (c < 0x80 && !IsUpper(c) && !IsLower(c) && !IsDigit(c)) wordStart_ = true;
    }

private:
    int language_;
    int limit_;
    std::uint32_t key_ = 0;
    std::uint32_t multiplier_ = kFirstInitialWeight;
    int taken_ = 0;
    bool wordStart_ = true;
};

}  // namespace

std::uint32_t AbbreviationKey(std::string_view text, int language, int limit) {
    KeyBuilder key(language, std::clamp(limit, 0, kMaxInitials));
    const auto at = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    std::size_t i = 0;
    while (i < text.size() && at(i) != 0 && at(i) != '\t' && !key.Full()) {
        const std::uint8_t b = at(i);
        const bool hasNext = i + 1 < text.size();
        if (language == kChinese && b >= 0xB0 && hasNext && at(i + 1) >= 0xA1) {
            key.TakeCharacter(Gb2312Initial(b, at(i + 1)));
            i += 2;
            continue;
        }
        if (TakesLatin9Folding(language)) {
            key.TakeByte(kLatin9Folding.codes[b]);
            ++i;
            continue;
        }
        if (language == kVietnamese) {
            const std::uint8_t pair = hasNext ? VietnamesePairCode(b, at(i + 1)) : 0;
            key.TakeByte(VietnameseFold(pair != 0 ? pair : b));
            i += pair != 0 ? 2 : 1;
            continue;
        }
        key.TakeByte(b);
        ++i;
    }
    return key.Key();
}

}  // namespace songloader
