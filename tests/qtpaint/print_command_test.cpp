// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/songlist/song_list_writer.h"
#include "core/songlist/song_text.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace songloader {
namespace {

using test::ProgramRun;

// songloader-cli print, end to end: a device folder in, a PDF out, read back with poppler.
class PrintCommand : public ::testing::Test {
protected:
    void SetUp() override {
        device_ = dir_ / "stick";
        std::filesystem::create_directories(device_ / "songs");
        // No display and no platform named: the command has to find the offscreen platform itself.
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "LC_ALL"}) {
            if (const char* value = std::getenv(name)) saved_.emplace_back(name, value);
            unsetenv(name);
        }
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_) setenv(name.c_str(), value.c_str(), 1);
    }

    // A real device list, made by the same writer that rebuilds devices.
    void WriteDevice(int count, const std::string& firstTitle = {}) {
        SongList songs;
        for (int i = 1; i <= count; ++i) {
            ROWELEMENT song;
            song.number = 900000 + i;
            song.numberText = std::to_string(song.number);
            song.language = 0;
            song.title = i == 1 && !firstTitle.empty() ? firstTitle : "Song " + std::to_string(i);
            song.artist = "Singer " + std::to_string(i);
            songs.push_back(song);
        }
        SongText text = WriteSongText(songs);
        Result<std::vector<std::uint8_t>> build = BuildSongList(&text);
        ASSERT_TRUE(build.ok());
        test::WriteBytes(device_ / "songs" / "SgList.dat", build.value());
    }

    ProgramRun Print(std::vector<std::string> extra = {}, const std::string& locale = "en_US.UTF-8") {
        std::vector<std::string> args{"print", device_.string(), Pdf().string()};
        args.insert(args.end(), extra.begin(), extra.end());
        return test::RunProgram(SONGLOADER_CLI_PATH, args, {"LC_ALL=" + locale});
    }

    std::filesystem::path Pdf() const { return dir_ / "list.pdf"; }

    std::string Poppler(const std::string& tool, std::vector<std::string> args) {
        args.push_back(Pdf().string());
        if (tool == "pdftotext") args.push_back("-");
        ProgramRun run = test::RunProgram("/usr/bin/" + tool, args);
        EXPECT_EQ(run.exitCode, 0) << tool << ": " << run.err;
        return run.out;
    }

    std::string PageText(int page) {
        return Poppler("pdftotext", {"-layout", "-f", std::to_string(page), "-l", std::to_string(page)});
    }

    test::TempDir dir_;
    std::filesystem::path device_;
    std::vector<std::pair<std::string, std::string>> saved_;
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(PrintCommand, EightyFiveSongsMakeThreePagesOfFortyFortyAndFive) {
    WriteDevice(85);
    ProgramRun run = Print();
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "85 songs on 3 pages written to " + Pdf().string() + "\n");

    std::string info = Poppler("pdfinfo", {});
    EXPECT_TRUE(Has(info, "Pages:           3\n")) << info;
    EXPECT_TRUE(Has(info, "(A4)")) << info;
    EXPECT_TRUE(Has(info, "portrait") || !Has(info, "landscape")) << info;

    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE(page);
        std::string text = PageText(page);
        EXPECT_TRUE(Has(text, "Page " + std::to_string(page))) << text;
        EXPECT_TRUE(Has(text, "Number")) << text;
        EXPECT_TRUE(Has(text, "Title")) << text;
        EXPECT_TRUE(Has(text, "Artist")) << text;
        int first = (page - 1) * 40 + 1;
        int last = page < 3 ? page * 40 : 85;
        for (int i = 1; i <= 85; ++i) {
            bool here = i >= first && i <= last;
            // "Song 8 " so that "Song 8" is not found inside "Song 80".
            EXPECT_EQ(Has(text, "Song " + std::to_string(i) + " "), here) << i;
            EXPECT_EQ(Has(text, std::to_string(900000 + i)), here) << i;
        }
        EXPECT_TRUE(Has(text, "Singer " + std::to_string(last))) << text;
    }
}

// A display that is named but cannot be reached, or another platform asked for, is no matter.
TEST_F(PrintCommand, NeverNeedsADisplay) {
    WriteDevice(3);
    const ProgramRun run = test::RunProgram(SONGLOADER_CLI_PATH, {"print", device_.string(), Pdf().string()},
                                            {"LC_ALL=en_US.UTF-8", "DISPLAY=:97", "QT_QPA_PLATFORM=xcb"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists(Pdf()));
}

TEST_F(PrintCommand, OnePageRenderedAsAnImageShowsTheTable) {
    WriteDevice(45);
    ASSERT_EQ(Print({"--paper", "Letter"}).exitCode, 0);
    EXPECT_TRUE(Has(Poppler("pdfinfo", {}), "612 x 792 pts (letter)"));

    // Page 2 at 60 dpi.
    std::filesystem::path prefix = dir_ / "song-list-page";
    test::RunProgram("/usr/bin/pdftoppm",
                     {"-png", "-r", "60", "-f", "2", "-l", "2", "-singlefile", Pdf().string(), prefix.string()});
    QImage image(QString::fromStdString(prefix.string() + ".png"));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 510);
    EXPECT_EQ(image.height(), 660);
    // Letter is half an inch wider than the layout: everything moves 0.25 inch (15 pixels) right.
    // The header band from 0.8 inch down is light grey.
    QRgb band = image.pixel(15 + 24, 49);
    EXPECT_NEAR(qGray(band), 192, 8);
    // Left of the layout and above the rule the paper is white.
    EXPECT_EQ(qGray(image.pixel(5, 300)), 255);
    EXPECT_EQ(qGray(image.pixel(100, 20)), 255);
}

TEST_F(PrintCommand, AnEmptyDeviceGivesOnePageWithAnEmptyTable) {
    ProgramRun run = Print();
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Has(run.out, "0 songs on 1 page")) << run.out;
    std::string text = PageText(1);
    EXPECT_TRUE(Has(text, "Page 1"));
    EXPECT_TRUE(Has(text, "Artist"));
    EXPECT_FALSE(Has(text, "9000"));
}

TEST_F(PrintCommand, DeviceTextsAreConvertedFromTheCodePage) {
    WriteDevice(2, "Canci\xF3n de cuna");
    ASSERT_EQ(Print({"--encoding", "CP1252"}).exitCode, 0);
    EXPECT_TRUE(Has(PageText(1), "Canción de cuna"));
}

TEST_F(PrintCommand, ThaiSystemsPrintWithTheSystemFaceStandIn) {
    WriteDevice(1);
    ASSERT_EQ(Print({}, "th_TH.UTF-8").exitCode, 0);
    std::string thai = Poppler("pdffonts", {});
    ASSERT_EQ(Print().exitCode, 0);
    std::string other = Poppler("pdffonts", {});
    EXPECT_NE(thai, other);
    EXPECT_TRUE(Has(other, "Mono")) << other;
    EXPECT_FALSE(Has(thai, "Mono")) << thai;
}

TEST_F(PrintCommand, BadInputFailsCleanly) {
    WriteDevice(3);
    EXPECT_EQ(Print({"--paper", "A5"}).exitCode, 2);
    EXPECT_EQ(test::RunProgram(SONGLOADER_CLI_PATH, {"print"}).exitCode, 2);
    ProgramRun help = test::RunProgram(SONGLOADER_CLI_PATH, {"print", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(Has(help.out, "usage: songloader-cli print [DEVICE] OUT.pdf"));

    ProgramRun missing = test::RunProgram(SONGLOADER_CLI_PATH, {"print", (dir_ / "none").string(), Pdf().string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(Pdf()));

    // A damaged list prints nothing.
    test::WriteBytes(device_ / "songs" / "SgList.dat", std::string("\xEC\x00\x00\x05", 4));
    ProgramRun damaged = Print();
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_TRUE(Has(damaged.err, "Sglist File Error")) << damaged.err;
    EXPECT_FALSE(std::filesystem::exists(Pdf()));

    // An output folder that does not exist: a clear failure and no file.
    WriteDevice(3);
    ProgramRun nowhere =
        test::RunProgram(SONGLOADER_CLI_PATH, {"print", device_.string(), (dir_ / "no" / "such" / "x.pdf").string()});
    EXPECT_EQ(nowhere.exitCode, 1);
    EXPECT_TRUE(Has(nowhere.err, "cannot write")) << nowhere.err;
}

}  // namespace
}  // namespace songloader
