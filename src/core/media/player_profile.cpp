// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/media/player_profile.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace songloader {

namespace {

// The built-in profile as a table: what the player decodes, by libav's codec names.
struct CodecRow {
    const char* name;
    bool video;
};
constexpr std::array<CodecRow, 8> kPlayerCodecs{{
    {"mpeg1video", true},
    {"mpeg2video", true},
    {"mpeg4", true},  // MPEG-4 Visual
    {"h264", true},
    {"mp3", false},
    {"mp2", false},
    {"aac-lc", false},
    {"ac3", false},
}};
constexpr int kPlayerMaxWidth = 1920;
constexpr int kPlayerMaxHeight = 1080;

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// "a, b ,c" -> {"a", "b", "c"}; nullopt when a name is empty or holds anything but letters,
// digits and '-'.
std::optional<std::vector<std::string>> NameList(const std::string& text) {
    std::vector<std::string> names;
    std::size_t at = 0;
    while (at <= text.size()) {
        const auto comma = std::min(text.find(',', at), text.size());
        std::string name = Trimmed(text.substr(at, comma - at));
        const bool valid = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
        });
        if (!valid) return std::nullopt;
        names.push_back(std::move(name));
        at = comma + 1;
    }
    return names;
}

// "1920x1080" -> {1920, 1080}.
std::optional<std::pair<int, int>> SizeOf(const std::string& text) {
    const std::string size = Trimmed(text);
    const auto x = size.find('x');
    if (x == std::string::npos || x == 0 || x + 1 == size.size() || size.size() > 11) return std::nullopt;
    const auto number = [](const std::string& digits) -> std::optional<int> {
        if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        const int value = std::atoi(digits.c_str());
        if (value <= 0) return std::nullopt;
        return value;
    };
    const auto width = number(size.substr(0, x));
    const auto height = number(size.substr(x + 1));
    if (!width || !height) return std::nullopt;
    return std::pair{*width, *height};
}

bool Holds(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

void AddReason(std::string& why, const std::string& reason) {
    if (why.find(reason) != std::string::npos) return;
    if (!why.empty()) why += ", ";
    why += reason;
}

}  // namespace

PlayerProfile BuiltInPlayerProfile() {
    PlayerProfile profile;
    for (const CodecRow& row : kPlayerCodecs)
        (row.video ? profile.videoCodecs : profile.audioCodecs).push_back(row.name);
    profile.maxWidth = kPlayerMaxWidth;
    profile.maxHeight = kPlayerMaxHeight;
    return profile;
}

Result<PlayerProfile> PlayerProfileFrom(const std::map<std::string, std::string>& values,
                                        const std::filesystem::path& file) {
    PlayerProfile profile = BuiltInPlayerProfile();
    const auto bad = [&](const char* key, const std::string& value, const char* wanted) {
        return Fail(file.string() + ": " + key + " must be " + wanted + ", not \"" + value + "\"");
    };
    for (auto [key, list] :
         {std::pair{kPlayerVideoKey, &profile.videoCodecs}, std::pair{kPlayerAudioKey, &profile.audioCodecs}}) {
        const auto it = values.find(key);
        if (it == values.end()) continue;
        auto names = NameList(it->second);
        if (!names) return bad(key, it->second, "codec names separated by commas (e.g. h264, mpeg4)");
        *list = std::move(*names);
    }
    if (const auto it = values.find(kPlayerSizeKey); it != values.end()) {
        const auto size = SizeOf(it->second);
        if (!size) return bad(kPlayerSizeKey, it->second, "a width and height like 1920x1080");
        profile.maxWidth = size->first;
        profile.maxHeight = size->second;
    }
    return profile;
}

MediaJudgement JudgeMedia(const MediaFacts& facts, const PlayerProfile& profile) {
    MediaJudgement judgement;
    std::string& why = judgement.why;
    if (!facts.container) AddReason(why, facts.containerText);
    for (const MediaStream& stream : facts.streams) {
        if (stream.video) {
            if (!Holds(profile.videoCodecs, stream.codec)) AddReason(why, stream.codec + " video");
            else if (stream.width > profile.maxWidth || stream.height > profile.maxHeight) {
                AddReason(why, std::to_string(stream.width) + "x" + std::to_string(stream.height) + " video");
            }
        } else if (!Holds(profile.audioCodecs, stream.codec)) {
            AddReason(why, stream.codec + " audio");
        }
    }
    if (!why.empty()) judgement.verdict = MediaVerdict::PlaysAfterConversion;
    return judgement;
}

std::string NeedsConversionText(const std::string& shownName, const MediaJudgement& judgement) {
    return shownName + " plays only after conversion (" + judgement.why + ")";
}

}  // namespace songloader
