// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <map>
#include <thread>
#include <vector>

#include "core/text/code_page.h"

namespace songloader {
namespace {

// A conversion's bytes; nullopt when it failed.
std::optional<std::string> Bytes(const Result<std::string>& converted) {
    if (!converted) return std::nullopt;
    return *converted;
}

TEST(TextSettingsForLocale, ChoosesTheCodePageAndFlagsFromTheLanguage) {
    struct Case {
        const char* locale;
        const char* codePage;
        bool traditional;
        bool thai;
    };
    for (const Case& c : {Case{"zh_CN.UTF-8", "CP936", false, false},  Case{"zh_SG", "CP936", true, false},
                          Case{"zh_TW.UTF-8", "CP950", true, false},   Case{"zh_HK", "CP950", true, false},
                          Case{"zh_MO.UTF-8", "CP950", true, false},   Case{"th_TH.UTF-8", "CP874", false, true},
                          Case{"ja_JP.UTF-8", "CP932", false, false},  Case{"ko_KR", "CP949", false, false},
                          Case{"vi_VN", "CP1258", false, false},       Case{"ru_RU.UTF-8", "CP1251", false, false},
                          Case{"uk_UA", "CP1251", false, false},       Case{"bg_BG", "CP1251", false, false},
                          Case{"ar_EG", "CP1256", false, false},       Case{"el_GR", "CP1253", false, false},
                          Case{"tr_TR", "CP1254", false, false},       Case{"he_IL", "CP1255", false, false},
                          Case{"en_US.UTF-8", "CP1252", false, false}, Case{"C", "CP1252", false, false},
                          Case{"fil_PH", "CP1252", false, false},      Case{"", "CP1252", false, false}}) {
        TextSettings s = TextSettingsForLocale(c.locale);
        EXPECT_EQ(s.codePage, c.codePage) << c.locale;
        EXPECT_EQ(s.traditionalChinese, c.traditional) << c.locale;
        EXPECT_EQ(s.thai, c.thai) << c.locale;
    }
}

TEST(CodePageConversion, RoundTripsDeviceBytes) {
    EXPECT_EQ(Bytes(Utf8ToDevice("Canción", "CP1252")), "Canci\xF3n");
    EXPECT_EQ(DeviceToUtf8("Canci\xF3n", "CP1252"), "Canción");
    EXPECT_EQ(Bytes(Utf8ToDevice("你好", "CP936")), "\xC4\xE3\xBA\xC3");
    EXPECT_EQ(DeviceToUtf8("\xC4\xE3\xBA\xC3", "CP936"), "你好");
    EXPECT_EQ(Bytes(Utf8ToDevice("ก", "CP874")), "\xA1");
}

TEST(CodePageConversion, UnrepresentableTextIsRefusedAndBadBytesShowAsReplacement) {
    EXPECT_FALSE(Utf8ToDevice("你好", "CP1252"));
    EXPECT_FALSE(Utf8ToDevice("\xFF", "CP1252"));  // not UTF-8 at all
    EXPECT_EQ(DeviceToUtf8("a\x81z", "CP1252"), "a\xEF\xBF\xBDz");
    EXPECT_EQ(DeviceToUtf8("a\xC4", "CP936"), "a\xEF\xBF\xBD");
    EXPECT_TRUE(IsKnownEncoding("CP1258"));
    EXPECT_FALSE(IsKnownEncoding("NO-SUCH-CODEPAGE"));
}

// Every code page a device may use keeps a text whole both ways, its last letter included.
TEST(CodePageConversion, EveryLocaleCodePageRoundTripsAWholeText) {
    const std::map<std::string, std::string> samples = {
        {"CP1252", "Canción déjà vu, naïve façade"},
        {"CP936", "你好世界，卡拉OK"},
        {"CP950", "繁體中文歌曲"},
        {"CP874", "สวัสดีครับ เพลงไทย"},
        {"CP932", "日本語のカラオケ ｶﾀｶﾅ"},
        {"CP949", "한국어 노래방"},
        {"CP1258", "Tiếng Việt có dấu"},
        {"CP1251", "Привет, мир"},
        {"CP1256", "مرحبا بالعالم"},
        {"CP1253", "Γειά σου κόσμε"},
        {"CP1254", "Şarkı söyle, ğüç İ"},
        {"CP1255", "שִׁיר עִבְרִי"},
    };
    ASSERT_EQ(LocaleCodePages().size(), samples.size());
    for (const std::string& page : LocaleCodePages()) {
        ASSERT_TRUE(samples.count(page)) << page;
        const std::string& text = samples.at(page);
        const auto bytes = Utf8ToDevice(text, page);
        ASSERT_TRUE(bytes) << page;
        EXPECT_EQ(DeviceToUtf8(*bytes, page), text) << page;
        EXPECT_EQ(Bytes(ConvertText(*bytes, page, "UTF-8")), text) << page;
    }
    // A bad byte after a letter the conversion holds back keeps that letter.
    EXPECT_EQ(DeviceToUtf8("Vi\xEAt\x81", "CP1258"), "Viêt\xEF\xBF\xBD");
}

// The conversions a command makes one after another on one thread: every code page both ways,
// each after a refused text that stopped half-way (CP1258 holding back a letter there).
std::vector<std::optional<std::string>> ConvertEveryPage() {
    const std::string text = "Vi\xEAt a\xC4\xE3z";
    std::vector<std::optional<std::string>> results;
    for (const std::string& page : LocaleCodePages()) {
        results.push_back(Bytes(ConvertText("Vi\xEA\x81", page, "UTF-8")));
        results.push_back(Bytes(ConvertText("Vi\xEA", page, "UTF-8")));
        results.push_back(DeviceToUtf8(text, page));
        results.push_back(Bytes(Utf8ToDevice("Canción 你好 Tiếng", page)));
        results.push_back(Bytes(Utf8ToDevice("ok", page)));
    }
    return results;
}

// Converters kept from one text to the next give the bytes a converter of its own gives each
// text, on any thread.
TEST(CodePageConversion, KeptConvertersGiveTheBytesOfAFreshOne) {
    // A fresh thread opens fresh converters: its first pass is the reference.
    std::vector<std::optional<std::string>> fresh;
    std::thread([&] { fresh = ConvertEveryPage(); }).join();
    // A refused CP1258 text must not leave its held-back letter for the next one.
    std::thread([&] {
        EXPECT_FALSE(ConvertText("Vi\xEA\x81", "CP1258", "UTF-8"));
        EXPECT_EQ(Bytes(ConvertText("a", "CP1258", "UTF-8")), "a");
    }).join();

    EXPECT_EQ(ConvertEveryPage(), fresh);
    EXPECT_EQ(ConvertEveryPage(), fresh);
    std::vector<std::vector<std::optional<std::string>>> perThread(4);
    std::vector<std::thread> threads;
    for (auto& results : perThread) {
        threads.emplace_back([&results] {
            for (int pass = 0; pass < 3; ++pass) results = ConvertEveryPage();
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (const auto& results : perThread) EXPECT_EQ(results, fresh);
}

TEST(LocaleCodePage, OnlyTheLocaleTablesCodePagesAreDeviceCodePages) {
    for (const auto& [locale, page] : std::map<std::string, std::string>{
             {"zh_CN", "CP936"}, {"vi_VN", "CP1258"}, {"C", "CP1252"}, {"he_IL", "CP1255"}}) {
        EXPECT_EQ(LocaleCodePage(TextSettingsForLocale(locale).codePage), page) << locale;
    }
    EXPECT_EQ(LocaleCodePage("cp936"), "CP936");
    for (const char* other : {"UTF-8", "UTF-16", "ISO-8859-1", "CP437", ""}) {
        EXPECT_FALSE(LocaleCodePage(other)) << other;
    }
}

}  // namespace
}  // namespace songloader
