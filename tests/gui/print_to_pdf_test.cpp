// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QPrinter>
#include <filesystem>

#include "core/catalogue/list_file_reader.h"
#include "core/songlist/song_list_writer.h"
#include "core/songlist/song_text.h"
#include "gui/windows/print_job.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace songloader::gui {
namespace {

std::string Poppler(const std::string& tool, const std::filesystem::path& pdf, std::vector<std::string> args = {}) {
    args.push_back(pdf.string());
    if (tool == "pdftotext") args.push_back("-");
    test::ProgramRun run = test::RunProgram("/usr/bin/" + tool, args);
    EXPECT_EQ(run.exitCode, 0) << tool << ": " << run.err;
    return run.out;
}

std::string PagesLine(const std::string& info) {
    const auto at = info.find("Pages:");
    return at == std::string::npos ? std::string() : info.substr(at, info.find('\n', at) - at);
}

// The window's print path (a QPrinter writing a PDF file) prints what `songloader-cli print` prints.
TEST(PrintToPdf, ThePrinterPathMatchesTheCliOnTheSameDevice) {
    test::TempDir dir;
    const auto songFolder = dir / "stick" / "songs";
    std::filesystem::create_directories(songFolder);
    SongList written;
    for (int i = 1; i <= 85; ++i) {
        ROWELEMENT song;
        song.number = 900000 + i;
        song.numberText = std::to_string(song.number);
        song.title = i == 7 ? "Canci\xF3n " + std::to_string(i) : "Song " + std::to_string(i);
        song.artist = "Singer " + std::to_string(i);
        written.push_back(song);
    }
    SongText text = WriteSongText(written);
    Result<std::vector<std::uint8_t>> build = BuildSongList(&text);
    ASSERT_TRUE(build.ok());
    test::WriteBytes(songFolder / "SgList.dat", build.value());

    const auto cliPdf = dir / "cli.pdf";
    test::ProgramRun cli = test::RunProgram(
        SONGLOADER_CLI_PATH, {"print", (dir / "stick").string(), cliPdf.string(), "--encoding", "CP1252"},
        {"LC_ALL=en_US.UTF-8", "QT_QPA_PLATFORM=offscreen"});
    ASSERT_EQ(cli.exitCode, 0) << cli.err;

    Result<SongList> read = ReadListFile(songFolder / "SgList.dat", ListKind::Device);
    ASSERT_TRUE(read.ok());
    const auto windowPdf = dir / "window.pdf";
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(windowPdf.string()));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);  // portrait is forced whatever the default
    PreparePrinter(printer);
    const int highest = print::HighestPage(read.value().size());
    ASSERT_EQ(PrintOnPrinter(printer, highest, print::SongListPageRenderer(read.value(), false, "CP1252")), 3);

    const std::string info = Poppler("pdfinfo", windowPdf);
    EXPECT_EQ(PagesLine(info), "Pages:           3");
    EXPECT_EQ(PagesLine(info), PagesLine(Poppler("pdfinfo", cliPdf)));
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE(page);
        const std::vector<std::string> range{"-layout", "-f", std::to_string(page), "-l", std::to_string(page)};
        const std::string fromWindow = Poppler("pdftotext", windowPdf, range);
        EXPECT_EQ(fromWindow, Poppler("pdftotext", cliPdf, range));
        EXPECT_NE(fromWindow.find("Page " + std::to_string(page)), std::string::npos);
    }
    EXPECT_NE(Poppler("pdftotext", windowPdf).find("Canción 7"), std::string::npos);
}

}  // namespace
}  // namespace songloader::gui
