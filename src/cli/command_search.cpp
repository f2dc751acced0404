// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>
#include <system_error>

#include "device_access.h"
#include "core/catalogue/cloud_catalogue.h"
#include "core/catalogue/language_table.h"
#include "core/catalogue/numbered_song_list.h"
#include "terminal_text.h"
#include "core/common/translatable.h"

namespace songloader::cli {

namespace {

SearchFilter FilterOf(const std::string& language) {
    if (language == "all") return SearchFilter::All;
    if (language == "OPM") return SearchFilter::Opm;
    if (language == "EG") return SearchFilter::English;
    if (language == "ES") return SearchFilter::Spanish;
    if (language == "other") return SearchFilter::Other;
    throw UsageError{"--language must be all, OPM, EG, ES or other"};
}

struct SearchOptions {
    std::string encoding;
    std::string language = "all";
};

int Search(const SearchOptions& options, const Operands& operands, Console& console) {
    const SearchFilter filter = FilterOf(options.language);
    const auto device = OpenDevice(operands.device, options.encoding, console);
    if (!device) return kExitFailure;
    const auto text = ToDevice(*device, operands.rest[0], "search text", console);
    if (!text) return kExitFailure;
    const std::filesystem::path catalogue = device->songFolder / kCloudDatabaseName;
    std::error_code error;
    // An empty file is what a failed download could once leave: no cloud data either.
    if (!std::filesystem::is_regular_file(catalogue, error) || std::filesystem::file_size(catalogue, error) == 0) {
        console.Fail() << "Please download cloud data!!\n";
        return kExitFailure;
    }
    const auto onDevice = ReadDeviceNumbers(*device, console);
    if (!onDevice) return kExitFailure;
    CloudCatalogue cloud;
    if (!cloud.OpenCatalogueDatabase(device->songFolder)) {
        console.Fail() << "cannot open " << catalogue.string() << "\n";
        return kExitFailure;
    }
    const Result<> ran = cloud.SearchCloudCatalogue(*text, filter, [&](const ROWELEMENT& hit, std::size_t) {
        console.out << EscapeControls(hit.numberText) << '\t' << hit.languageText << '\t'
                    << TerminalText(hit.title, device->codePage) << '\t' << TerminalText(hit.artist, device->codePage)
                    << (onDevice->Contains(hit.number) ? "\ton device" : "") << '\n';
    });
    if (!ran) {
        console.Fail() << catalogue.string() << kNotACatalogueMessage << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace

void AddSearchCommand(CommandSet& commands) {
    AddCommandWith<SearchOptions>(
        commands, "search", SL_TRANSLATE_NOOP("Cli", "search the cloud catalogue copied onto the device"),
        "[DEVICE] TEXT",
        SL_TRANSLATE_NOOP("Cli",
                          "Lists the songs of the cloud catalogue on the device (songs/Msong.db) whose\n"
                          "title or artist starts with TEXT (letters in any case), one per line:\n"
                          "number, language, title, artist, and \"on device\" when the device has it.\n"),
        Progress::Hidden, Search, [](CLI::App& command, SearchOptions& options) {
            command
                .add_option("--language", options.language,
                            SL_TRANSLATE_NOOP("Cli", "the songs' language (default all)"))
                ->type_name("all|OPM|EG|ES|other")
                ->check(CLI::IsMember({"all", "OPM", "EG", "ES", "other"}).description(""));
            AddEncodingOption(command, options.encoding);
        });
}

}  // namespace songloader::cli
