// SPDX-License-Identifier: GPL-3.0-or-later
#include <cerrno>
#include <cstring>
#include <memory>

#include "progress.h"
#include "device_access.h"
#include "core/cloud/catalogue_publisher.h"
#include "core/common/file_bytes.h"
#include "core/text/code_page.h"
#include "core/common/translatable.h"

namespace songloader::cli {

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

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
        console.Fail() << "cannot read " << tablePath.string() << ": " << bytes.message() << "\n";
        return kExitFailure;
    }
    const Result<std::vector<PublishSong>> songs =
        ParsePublishTable(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
                          tablePath.parent_path(), *codePage);
    if (!songs) {
        for (const std::string& line : Lines(songs.message()))
            console.Fail() << tablePath.string() << ": " << line << "\n";
        return kExitFailure;
    }

    std::optional<std::filesystem::path> midi;
    if (!options.midiDir.empty()) midi = options.midiDir;
    ProgressLine line(console, "publishing");
    PublishHooks hooks;
    hooks.onFile = [&](std::size_t done, std::size_t total) { line.Count(done, total, "files", done == total); };
    const Result<> published = PublishCatalogue(*songs, operands.rest[1], midi, hooks);
    line.Finish();
    if (!published) {
        for (const std::string& failure : Lines(published.message())) console.Fail() << failure << "\n";
        return kExitFailure;
    }
    console.out << songs->size() << " songs published to " << operands.rest[1] << "\n";
    return kExitOk;
}

}  // namespace

void AddPublishCommand(CommandSet& commands) {
    AddCommandWith<PublishOptions>(
        commands, "publish", SL_TRANSLATE_NOOP("Cli", "build the files of a cloud server from a song table"),
        "SONGS.tsv OUT",
        SL_TRANSLATE_NOOP("Cli",
                          "Builds the files of a cloud server in OUT from a UTF-8 table with one song per line and\n"
                          "seven TAB-separated fields: number, language (EG, CN, ES, FH, GN, IA, OPM, MA, HW, JP,\n"
                          "KR, VT, RU, AR, TH or Other), title, artist, composer, lyricist, media file (relative\n"
                          "to the table's folder). A first line starting with \"number\" is a header.\n"
                          "Writes OUT/MgList.dat, OUT/Msong.db and OUT/<number>.mp4 per song; with --midi-dir,\n"
                          "also the MIDI pack from DIR (sglist.dat, sgmusic.dat, sgmsg.dat, midisongsbook.pdf)\n"
                          "under the names the cloud uses. Any static HTTP server can then serve OUT.\n"
                          "Texts are stored in the device code page (see --encoding). Bad rows are\n"
                          "reported with their line number, and then nothing is written.\n"),
        Progress::Shown, Publish, [](CLI::App& command, PublishOptions& options) {
            command
                .add_option("--midi-dir", options.midiDir,
                            SL_TRANSLATE_NOOP("Cli", "also publish the MIDI pack found in DIR"))
                ->type_name("DIR");
            AddEncodingOption(command, options.encoding);
        });
}

}  // namespace songloader::cli
