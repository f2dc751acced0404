#include <system_error>

#include "device_access.h"
#include "core/catalogue/catalogue_database.h"
#include "core/catalogue/language_table.h"
#include "terminal_text.h"

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

}  // namespace

int RunSearch(const std::vector<std::string>& rawArgs, Console& console) {
    const Arguments args = ParseArguments(rawArgs, {"encoding", "language"});
    if (args.help) {
        return PrintHelp("search DEVICE TEXT [--language all|OPM|EG|ES|other]",
                         "Lists the songs of the cloud catalogue on the device (songs/Msong.db) whose\n"
                         "title or artist starts with TEXT (letters in any case), one per line:\n"
                         "number, language, title, artist, and \"on device\" when the device has it.\n",
                         console);
    }
    if (args.positional.size() != 2) throw UsageError{"expected DEVICE TEXT"};
    const SearchFilter filter = FilterOf(args.option("language").value_or("all"));
    const auto device = OpenDevice(args.positional[0], args, console);
    if (!device) return kExitFailure;
    const auto text = ToDevice(*device, args.positional[1], "search text", console);
    if (!text) return kExitFailure;
    const std::filesystem::path catalogue = device->songFolder / kCloudDatabaseName;
    std::error_code error;
    // An empty file is what a failed download could once leave: no cloud data either.
    if (!std::filesystem::is_regular_file(catalogue, error) || std::filesystem::file_size(catalogue, error) == 0) {
        console.err << "Please download cloud data!!\n";
        return kExitFailure;
    }
    const auto songs = ReadDeviceSongs(*device, console);
    if (!songs) return kExitFailure;

    CloudCatalogue cloud;
    if (cloud.OpenCatalogueDatabase(device->songFolder) != 0) {
        console.err << "cannot open " << catalogue.string() << "\n";
        return kExitFailure;
    }
    const int ran = cloud.SearchCloudCatalogue(*text, filter, [&](const ROWELEMENT& hit, std::size_t) {
        console.out << EscapeControls(hit.numberText) << '\t' << hit.languageText << '\t'
                    << TerminalText(hit.title, device->codePage) << '\t' << TerminalText(hit.artist, device->codePage)
                    << (IsOnDevice(*songs, hit.number) ? "\ton device" : "") << '\n';
    });
    if (ran != 1) {
        console.err << catalogue.string() << kNotACatalogueMessage << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace songloader::cli
