#include <iostream>
#include <string>
#include <vector>

#include "cli_common.h"
#include "core/cloud/curl_library.h"
#include "songloader_version.h"

using namespace songloader::cli;

namespace {

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"list", "print the device's songs", "list DEVICE", RunList},
        {"export", "write the device's song list as an export file", "export DEVICE FILE", RunExport},
        {"add", "copy a media file onto the device as a user song",
         "add DEVICE MEDIA --title T [--number N] [--language OPM|EG|ES] [--artist A] [--composer C] "
         "[--lyricist L]",
         RunAdd},
        {"delete", "remove a song and its media files from the device", "delete DEVICE NUMBER", RunDelete},
        {"rebuild", "rebuild SgList.dat and usbsong.db from the device's song list", "rebuild DEVICE",
         RunRebuild},
        {"verify", "list songs without media files and media files without songs", "verify DEVICE", RunVerify},
        {"search", "search the cloud catalogue copied onto the device",
         "search DEVICE TEXT [--language all|OPM|EG|ES|other]", RunSearch},
        {"print", "print the device's song list into a PDF file", "print DEVICE OUT.pdf [--paper A4|Letter]",
         RunPrint},
        {"cloud-sync", "download the cloud song list and catalogue onto the device",
         "cloud-sync DEVICE [--cloud-url URL]", RunCloudSync},
        {"fetch", "download cloud songs the device lacks and add them", "fetch DEVICE NUMBER... [--cloud-url URL]",
         RunFetch},
        {"midi", "update the device's MIDI song pack from the cloud", "midi DEVICE [--cloud-url URL]", RunMidi},
        {"eject", "flush the device, then unmount it and power it off for safe removal", "eject [DEVICE]",
         RunEject},
        {"publish", "build the files of a cloud server from a song table",
         "publish SONGS.tsv OUT [--midi-dir DIR]", RunPublish},
    };
    return commands;
}

void PrintUsage(std::ostream& out) {
    out << "usage: songloader-cli COMMAND [ARGS] [--encoding NAME]\n\n"
           "DEVICE is the device root: the folder that holds songs/.\n"
           "Texts on the command line are UTF-8; --encoding names the device's code page\n"
           "(default: the one the locale implies).\n\ncommands:\n";
    for (const Command& c : Commands()) {
        out << "  " << c.name << std::string(12 - std::string(c.name).size(), ' ') << c.summary << "\n";
    }
    out << "\n`songloader-cli COMMAND --help` describes one command; `songloader-cli --version` prints the "
           "version.\n";
}

}  // namespace

int main(int argc, char** argv) {
    const songloader::CurlLibrary curl;
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintUsage(args.empty() ? std::cerr : std::cout);
        return args.empty() ? kExitUsage : kExitOk;
    }
    if (args[0] == "--version") {
        std::cout << "songloader-cli " << SONGLOADER_VERSION << "\n";
        return kExitOk;
    }
    Console console{std::cout, std::cerr};
    for (const Command& c : Commands()) {
        if (args[0] != c.name) continue;
        std::vector<std::string> rest(args.begin() + 1, args.end());
        try {
            return c.run(rest, console);
        } catch (const UsageError& e) {
            std::cerr << "songloader-cli " << c.name << ": " << e.message << "\nusage: songloader-cli "
                      << c.usage << "\n";
            return kExitUsage;
        }
    }
    std::cerr << "songloader-cli: unknown command '" << args[0] << "'\n";
    PrintUsage(std::cerr);
    return kExitUsage;
}
