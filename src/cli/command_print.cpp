// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>
#include <ostream>

#include "core/text/code_page.h"
#include "device_access.h"
#include "progress.h"
#include "qt_part.h"
#include "core/common/translatable.h"

namespace songloader::cli {

namespace {

struct PrintOptions {
    std::string encoding;
    std::string paper = "A4";
};

int Print(const PrintOptions& options, const Operands& operands, Console& console) {
    const std::string& outName = operands.rest[0];
    const auto device = OpenDevice(operands.device, options.encoding, console);
    if (!device) return kExitFailure;
    const auto songs = ReadDeviceSongs(*device, console);
    if (!songs) return kExitFailure;
    const bool thai = TextSettingsFromEnvironment().thai;

    const Result<const QtPart*> qt = LoadQtPart();
    if (!qt) {
        console.Fail() << qt.message() << "\n";
        return kExitFailure;
    }
    // Long lists take a while: a terminal sees the pages count up.
    ProgressLine line(console, "printing");
    auto progress = [&](int page, int highest) { line.Count(page, highest, "pages", page == highest); };
    const Result<int> pdf =
        (*qt)->writeSongListPdf({*songs, device->codePage, options.paper == "Letter", thai, outName, progress});
    line.Finish();
    if (!pdf) {
        console.Fail() << pdf.message() << "\n";
        return kExitFailure;
    }
    const int pages = *pdf;
    console.out << songs->size() << (songs->size() == 1 ? " song" : " songs") << " on " << pages
                << (pages == 1 ? " page" : " pages") << " written to " << outName << "\n";
    return kExitOk;
}

}  // namespace

void AddPrintCommand(CommandSet& commands) {
    AddCommandWith<PrintOptions>(
        commands, "print", SL_TRANSLATE_NOOP("Cli", "print the device's song list into a PDF file"), "[DEVICE] OUT.pdf",
        SL_TRANSLATE_NOOP("Cli",
                          "Prints the device's song list into a PDF file, portrait, 40 songs a page:\n"
                          "\"Page N\", a rule and a table of number, title and artist.\n"),
        Progress::Shown, Print, [](CLI::App& command, PrintOptions& options) {
            command.add_option("--paper", options.paper, SL_TRANSLATE_NOOP("Cli", "the paper size (default A4)"))
                ->type_name("A4|Letter")
                ->check(CLI::IsMember({"A4", "Letter"}).description(""));
            AddEncodingOption(command, options.encoding);
        });
}

}  // namespace songloader::cli
