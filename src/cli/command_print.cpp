#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include <cstdlib>
#include <memory>
#include <ostream>

#include "core/common/safe_file.h"
#include "core/output/print/song_list_pages.h"
#include "core/text/code_page.h"
#include "device_access.h"
#include "progress.h"
#include "qtpaint/song_list_print_job.h"

namespace songloader::cli {

namespace {

// Pixels per inch of the PDF's device units.
constexpr int kPdfResolution = 600;

// Fonts need a GUI application, but a PDF needs no display: the offscreen platform always
// serves, so a display named but out of reach cannot stop the command.
void UseOffscreenPlatform() { setenv("QT_QPA_PLATFORM", "offscreen", 1); }

// Renders every page into `pdf`; returns the number of pages, 0 when the PDF could not be made.
// An empty list still gets its one page with the title and an empty table.
int RenderPdf(const SongList& songs, const std::string& codePage, const QPageSize& paper, bool thai,
              QIODevice& pdf, const qtpaint::PageDone& onPage) {
    QPdfWriter writer(&pdf);
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(QPageLayout(paper, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer.setTitle("Song list");
    writer.setCreator("songloader-cli");
    const int highest = print::HighestPage(songs.size());
    return qtpaint::PrintPages(writer, 1, highest > 0 ? highest : 1, highest,
                               print::SongListPageRenderer(songs, thai, codePage), onPage);
}

struct PrintOptions {
    std::string encoding;
    std::string paper = "A4";
};

int Print(const PrintOptions& options, const Operands& operands, Console& console) {
    const std::string& outName = operands.rest[0];
    const QPageSize paper(options.paper == "Letter" ? QPageSize::Letter : QPageSize::A4);
    const auto device = OpenDevice(operands.device, options.encoding, console);
    if (!device) return kExitFailure;
    const auto songs = ReadDeviceSongs(*device, console);
    if (!songs) return kExitFailure;
    const bool thai = TextSettingsFromEnvironment().thai;

    UseOffscreenPlatform();
    int argc = 1;
    char name[] = "songloader-cli";
    char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // Long lists take a while: a terminal sees the pages count up.
    ProgressLine line(console, "printing");
    auto progress = [&](int page, int highest) { line.Count(page, highest, "pages", page == highest); };
    const int pages = RenderPdf(*songs, device->codePage, paper, thai, buffer, progress);
    line.Finish();
    buffer.close();
    if (pages == 0) {
        console.Fail() << "the PDF could not be made\n";
        return kExitFailure;
    }

    SafeFileWriter out(outName);
    if (!out.Write(bytes.constData(), static_cast<std::size_t>(bytes.size())) || !out.Commit()) {
        console.Fail() << "cannot write " << outName << ": " << out.error() << "\n";
        return kExitFailure;
    }
    console.out << songs->size() << (songs->size() == 1 ? " song" : " songs") << " on " << pages
                << (pages == 1 ? " page" : " pages") << " written to " << outName << "\n";
    return kExitOk;
}

}  // namespace

void AddPrintCommand(CommandSet& commands) {
    auto options = std::make_shared<PrintOptions>();
    CLI::App& command = commands.Add(
        "print", "print the device's song list into a PDF file", "[DEVICE] OUT.pdf",
        "Prints the device's song list into a PDF file, portrait, 40 songs a page:\n"
        "\"Page N\", a rule and a table of number, title and artist.\n",
        [options](const Operands& operands, Console& console) { return Print(*options, operands, console); });
    commands.ShowsProgress(command);
    command.add_option("--paper", options->paper, "the paper size (default A4)")
        ->type_name("A4|Letter")
        ->check(CLI::IsMember({"A4", "Letter"}).description(""));
    AddEncodingOption(command, options->encoding);
}

}  // namespace songloader::cli
