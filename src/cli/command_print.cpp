#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <unistd.h>

#include <cstdlib>
#include <ostream>

#include "core/common/safe_file.h"
#include "core/output/print/song_list_pages.h"
#include "core/text/code_page.h"
#include "device_access.h"
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

}  // namespace

int RunPrint(const std::vector<std::string>& rawArgs, Console& console) {
    std::vector<std::string> options = kCommonOptions;
    options.push_back("paper");
    const Arguments args = ParseArguments(rawArgs, options);
    if (args.help) {
        return PrintHelp("print DEVICE OUT.pdf [--paper A4|Letter] [--encoding NAME]",
                         "Prints the device's song list into a PDF file, portrait, 40 songs a page:\n"
                         "\"Page N\", a rule and a table of number, title and artist.\n"
                         "--paper chooses the paper size (default A4).\n",
                         console);
    }
    if (args.positional.size() != 2) throw UsageError{"expected DEVICE OUT.pdf"};
    const std::string paperName = args.option("paper").value_or("A4");
    QPageSize paper;
    if (paperName == "A4") paper = QPageSize(QPageSize::A4);
    else if (paperName == "Letter") paper = QPageSize(QPageSize::Letter);
    else throw UsageError{"--paper must be A4 or Letter"};

    const auto device = OpenDevice(args.positional[0], args, console);
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
    const bool showProgress = isatty(STDERR_FILENO) != 0;
    auto progress = [&](int page, int highest) {
        if (showProgress) console.err << "\rpage " << page << " of " << highest << std::flush;
    };
    const int pages = RenderPdf(*songs, device->codePage, paper, thai, buffer, progress);
    if (showProgress) console.err << "\n";
    buffer.close();
    if (pages == 0) {
        console.err << "the PDF could not be made\n";
        return kExitFailure;
    }

    SafeFileWriter out(args.positional[1]);
    if (!out.Write(bytes.constData(), static_cast<std::size_t>(bytes.size())) || !out.Commit()) {
        console.err << "cannot write " << args.positional[1] << ": " << out.error() << "\n";
        return kExitFailure;
    }
    console.out << songs->size() << (songs->size() == 1 ? " song" : " songs") << " on " << pages
                << (pages == 1 ? " page" : " pages") << " written to " << args.positional[1] << "\n";
    return kExitOk;
}

}  // namespace songloader::cli
