#include <unistd.h>

#include <ostream>

#include "core/text/code_page.h"
#include "device_access.h"
#include "qt_part.h"

namespace songloader::cli {

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
    if (paperName != "A4" && paperName != "Letter") throw UsageError{"--paper must be A4 or Letter"};

    const auto device = OpenDevice(args.positional[0], args, console);
    if (!device) return kExitFailure;
    const auto songs = ReadDeviceSongs(*device, console);
    if (!songs) return kExitFailure;
    const bool thai = TextSettingsFromEnvironment().thai;

    const QtPart* qt = LoadQtPart(console.err);
    if (!qt) return kExitFailure;
    // Long lists take a while: a terminal sees the pages count up.
    const bool showProgress = isatty(STDERR_FILENO) != 0;
    auto progress = [&](int page, int highest) {
        if (showProgress) console.err << "\rpage " << page << " of " << highest << std::flush;
    };
    const PdfResult pdf = qt->writeSongListPdf(
        {*songs, device->codePage, paperName == "Letter", thai, args.positional[1], progress});
    if (showProgress) console.err << "\n";
    if (pdf.pages == 0) {
        console.err << "the PDF could not be made\n";
        return kExitFailure;
    }
    if (!pdf.writeError.empty()) {
        console.err << "cannot write " << args.positional[1] << ": " << pdf.writeError << "\n";
        return kExitFailure;
    }
    const int pages = pdf.pages;
    console.out << songs->size() << (songs->size() == 1 ? " song" : " songs") << " on " << pages
                << (pages == 1 ? " page" : " pages") << " written to " << args.positional[1] << "\n";
    return kExitOk;
}

}  // namespace songloader::cli
