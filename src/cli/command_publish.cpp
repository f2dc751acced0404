#include "cli_common.h"
#include "device_access.h"
#include "core/cloud/catalogue_publisher.h"
#include "core/common/file_bytes.h"
#include "core/text/code_page.h"

namespace songloader::cli {

int RunPublish(const std::vector<std::string>& rawArgs, Console& console) {
    const Arguments args = ParseArguments(rawArgs, {"encoding", "midi-dir"});
    if (args.help) {
        return PrintHelp(
            "publish SONGS.tsv OUT [--midi-dir DIR]",
            "Builds the files of a cloud server in OUT from a UTF-8 table with one song per line and\n"
            "seven TAB-separated fields: number, language (EG, CN, ES, FH, GN, IA, OPM, MA, HW, JP,\n"
            "KR, VT, RU, AR, TH or Other), title, artist, composer, lyricist, media file (relative\n"
            "to the table's folder). A first line starting with \"number\" is a header.\n"
            "Writes OUT/MgList.dat, OUT/Msong.db and OUT/<number>.mp4 per song; with --midi-dir,\n"
            "also the MIDI pack from DIR (sglist.dat, sgmusic.dat, sgmsg.dat, midisongsbook.pdf)\n"
            "under the names the cloud uses. Any static HTTP server can then serve OUT.\n"
            "Texts are stored in the device code page (--encoding, or the locale's). Bad rows are\n"
            "reported with their line number, and then nothing is written.\n",
            console);
    }
    RequirePositional(args, 2, "SONGS.tsv OUT");
    const std::string codePage = CodePageOption(args);
    const std::filesystem::path tablePath = args.positional[0];
    const auto bytes = ReadFileBytes(tablePath);
    if (!bytes) {
        console.err << "cannot read " << tablePath.string() << "\n";
        return kExitFailure;
    }
    const PublishTable table = ParsePublishTable(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
                                                 tablePath.parent_path(), codePage);
    for (const std::string& error : table.errors) console.err << tablePath.string() << ": " << error << "\n";
    if (!table.ok()) return kExitFailure;

    std::optional<std::filesystem::path> midi;
    if (auto dir = args.option("midi-dir")) midi = *dir;
    const PublishResult result = PublishCatalogue(table.songs, args.positional[1], midi);
    for (const std::string& error : result.errors) console.err << error << "\n";
    if (!result.ok) return kExitFailure;
    console.out << table.songs.size() << " songs published to " << args.positional[1] << "\n";
    return kExitOk;
}

}  // namespace songloader::cli
