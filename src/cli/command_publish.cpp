// SPDX-License-Identifier: GPL-3.0-or-later
#include <cerrno>
#include <cstring>
#include <memory>

#include "progress.h"
#include "device_access.h"
#include "core/cloud/catalogue_publisher.h"
#include "core/common/file_bytes.h"
#include "core/text/code_page.h"

namespace songloader::cli {

namespace {

struct PublishOptions {
    std::string encoding;
    std::string midiDir;
};

int Publish(const PublishOptions& options, const Operands& operands, Console& console) {
    const auto codePage = DeviceCodePage(options.encoding, console);
    if (!codePage) return kExitFailure;
    const std::filesystem::path tablePath = operands.rest[0];
    const auto bytes = ReadFileBytes(tablePath);
    if (!bytes) {
        console.Fail() << "cannot read " << tablePath.string() << ": " << std::strerror(errno) << "\n";
        return kExitFailure;
    }
    const PublishTable table = ParsePublishTable(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
                                                 tablePath.parent_path(), *codePage);
    for (const std::string& error : table.errors) console.Fail() << tablePath.string() << ": " << error << "\n";
    if (!table.ok()) return kExitFailure;

    std::optional<std::filesystem::path> midi;
    if (!options.midiDir.empty()) midi = options.midiDir;
    ProgressLine line(console, "publishing");
    PublishHooks hooks;
    hooks.onFile = [&](std::size_t done, std::size_t total) { line.Count(done, total, "files", done == total); };
    const PublishResult result = PublishCatalogue(table.songs, operands.rest[1], midi, hooks);
    line.Finish();
    for (const std::string& error : result.errors) console.Fail() << error << "\n";
    if (!result.ok) return kExitFailure;
    console.out << table.songs.size() << " songs published to " << operands.rest[1] << "\n";
    return kExitOk;
}

}  // namespace

void AddPublishCommand(CommandSet& commands) {
    auto options = std::make_shared<PublishOptions>();
    CLI::App& command = commands.Add(
        "publish", "build the files of a cloud server from a song table", "SONGS.tsv OUT",
        "Builds the files of a cloud server in OUT from a UTF-8 table with one song per line and\n"
        "seven TAB-separated fields: number, language (EG, CN, ES, FH, GN, IA, OPM, MA, HW, JP,\n"
        "KR, VT, RU, AR, TH or Other), title, artist, composer, lyricist, media file (relative\n"
        "to the table's folder). A first line starting with \"number\" is a header.\n"
        "Writes OUT/MgList.dat, OUT/Msong.db and OUT/<number>.mp4 per song; with --midi-dir,\n"
        "also the MIDI pack from DIR (sglist.dat, sgmusic.dat, sgmsg.dat, midisongsbook.pdf)\n"
        "under the names the cloud uses. Any static HTTP server can then serve OUT.\n"
        "Texts are stored in the device code page (see --encoding). Bad rows are\n"
        "reported with their line number, and then nothing is written.\n",
        [options](const Operands& operands, Console& console) { return Publish(*options, operands, console); });
    commands.ShowsProgress(command);
    command.add_option("--midi-dir", options->midiDir, "also publish the MIDI pack found in DIR")->type_name("DIR");
    AddEncodingOption(command, options->encoding);
}

}  // namespace songloader::cli
