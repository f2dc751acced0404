// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>

#include <memory>
#include <system_error>
#include <unordered_map>

#include "device_access.h"
#include "interrupt_stop.h"
#include "progress.h"
#include "song_conversion.h"
#include "song_fields.h"
#include "terminal_text.h"
#include "core/device/device_layout.h"
#include "core/device/device_room.h"
#include "core/entry/batch_admission.h"
#include "core/entry/device_songs.h"
#include "core/entry/import_plan.h"
#include "core/text/code_page.h"
#include "core/common/translatable.h"

namespace songloader::cli {

namespace {

namespace fs = std::filesystem;

inline constexpr const char* kLanguageKey = "language";

struct ImportFlags {
    std::optional<std::string> language;
    std::optional<std::string> artist;
    bool dryRun = false;
    bool keepDuplicates = false;
    std::string encoding;
    ConversionFlags conversion;
};

// The language: --language, else the settings file's `language`; a usage error without either.
std::optional<std::string> LanguageOf(const ImportFlags& flags, Console& console) {
    if (flags.language) return LanguageComboText(*flags.language);
    const UserSettings settings = SettingsInEffect(flags.encoding);
    const auto it = settings.file.values.find(kLanguageKey);
    if (it == settings.file.values.end() || it->second.empty()) {
        throw UsageError{"--language is required (OPM, EG or ES), or language = OPM|EG|ES in the settings file"};
    }
    if (it->second != "OPM" && it->second != "EG" && it->second != "ES") {
        console.Fail() << settings.file.path.string() << ": language must be OPM, EG or ES, not " << it->second << "\n";
        return std::nullopt;
    }
    return LanguageComboText(it->second);
}

// A first operand names the device only when it is one: a folder holding songs/, or a mount
// point. Otherwise it is the first file or folder to import and the device is found as usual.
bool LooksLikeDevice(const std::string& operand) {
    std::error_code error;
    if (!fs::is_directory(operand, error)) return false;
    if (fs::is_directory(fs::path(operand) / "songs", error)) return true;
    struct stat self {};
    struct stat parent {};
    const fs::path full = fs::absolute(operand, error).lexically_normal();
    if (::stat(full.c_str(), &self) != 0 || ::stat(full.parent_path().c_str(), &parent) != 0) return false;
    return self.st_dev != parent.st_dev || self.st_ino == parent.st_ino;
}

void PrintSong(const ROWELEMENT& song, const std::string& source, const std::string& codePage, Console& console) {
    console.out << song.numberText << "\t" << TerminalText(song.title, codePage) << "\t"
                << TerminalText(song.artist, codePage) << "\t" << EscapeControls(source) << "\n";
}

int Import(const ImportFlags& flags, const Operands& given, Console& console) {
    Operands operands = given;
    if (operands.device && !LooksLikeDevice(*operands.device)) {
        operands.rest.insert(operands.rest.begin(), *operands.device);
        operands.device.reset();
    }
    const auto language = LanguageOf(flags, console);
    if (!language) return kExitFailure;
    const DeviceUse use = flags.dryRun ? DeviceUse::Read : DeviceUse::Write;
    return RunOnDevice(operands.device, flags.encoding, use, console, [&](LoadedDevice& loaded) {
        const Device& device = loaded.device;
        std::vector<fs::path> paths(operands.rest.begin(), operands.rest.end());
        const ImportFiles files = CollectImportFiles(paths, device.songFolder);
        ImportOptions options;
        options.languageText = *language;
        options.artist = flags.artist;
        options.keepDuplicates = flags.keepDuplicates;
        options.codePage = device.codePage;
        const auto profile = LoadPlayerProfile(flags.encoding, console);
        if (!profile) return kExitFailure;
        if (!flags.conversion.convert) options.leaveOutConversions = *profile;
        const ImportPlan plan = PlanImport(files.files, loaded.songs, {}, options);

        bool anyLeftOut = !files.missing.empty() || !plan.skipped.empty();
        for (const ImportSkip& skip : files.missing) console.Fail() << EscapeControls(skip.message) << "\n";
        for (const ImportSkip& skip : plan.skipped) {
            console.Fail() << EscapeControls(skip.message) << (skip.needsConversion ? kAskConvertText : "") << "\n";
        }
        if (plan.songs.empty()) {
            if (!anyLeftOut) console.Fail() << "no files to import\n";
            return kExitFailure;
        }
        SongList toAdd = plan.songs;
        auto conversion = PrepareConversion(flags.conversion, *profile, flags.encoding, toAdd, console, &plan.facts);
        if (!conversion) return kExitFailure;
        if (flags.dryRun) {
            // The checks the copy would make before its first file, and nothing more.
            std::vector<SongToPlace> placing;
            for (const ROWELEMENT& song : toAdd) placing.push_back(UserSongPlacement(song, device.songFolder));
            const Result<AdmittedBatch> admitted =
                AdmitBatch(loaded.songs, placing, PlannedBytes(toAdd), device.songFolder, device.codePage,
                           RoomOn(device.songFolder));
            if (!admitted) {
                console.Fail() << admitted.message() << "\n";
                return kExitFailure;
            }
            for (const SongNotAdded& refused : admitted->notAdded) {
                console.Fail() << EscapeControls(refused.song.mediaPath) << ": " << refused.why.message << "\n";
            }
            for (const SongToPlace& song : admitted->songs) {
                PrintSong(song.song, song.song.mediaPath, device.codePage, console);
            }
            return anyLeftOut || !admitted->notAdded.empty() ? kExitFailure : kExitOk;
        }

        InterruptStopsBatch interrupt;
        std::unique_ptr<ProgressLine> line;
        AddHooks hooks;
        hooks.onFileStart = [&](const ROWELEMENT& song, const BatchProgress& progress) {
            line = std::make_unique<ProgressLine>(console,
                                                  "file " + std::to_string(progress.fileIndex + 1) + " of " +
                                                      std::to_string(progress.fileCount) + " " +
                                                      EscapeControls(fs::path(song.mediaPath).filename().string()));
        };
        hooks.onBytes = [&](const BatchProgress& progress) {
            if (line)
                line->Bytes(progress.fileBytesDone, progress.fileBytes, progress.fileBytesDone == progress.fileBytes);
        };
        hooks.onFileEnd = [&](const ROWELEMENT&, const Result<fs::path>&) {
            if (line) line->Finish();
            line.reset();
        };
        hooks.stopAfterCurrent = [] { return InterruptStopsBatch::Stopped(); };
        ProgressLine rebuildLine(console, "rebuilding the catalogue");
        hooks.rebuildHooks.onSong = [&](std::size_t done, std::size_t total) {
            rebuildLine.Count(done, total, "songs", done == total);
        };
        auto report = AddSongs(*loaded.session, loaded.songs, toAdd, *conversion, hooks, console);
        rebuildLine.Finish();
        if (!report) {
            if (!loaded.session->StillHolds()) console.Fail() << kDeviceChangedMessage << "\n";
            else console.Fail() << report.message() << "\n";
            return kExitFailure;
        }
        for (const std::string& note : report->notes) console.err << note;
        // Each song with the file it came from.
        std::unordered_map<std::int32_t, std::string> shownOf;
        for (std::size_t i = 0; i < plan.songs.size(); ++i) shownOf.emplace(plan.songs[i].number, plan.shown[i]);
        auto sourceOf = [&](const ROWELEMENT& song) -> std::string {
            const auto found = shownOf.find(song.number);
            return found != shownOf.end() ? found->second : std::string();
        };
        for (const ROWELEMENT& song : report->added) PrintSong(song, sourceOf(song), device.codePage, console);
        for (const SongNotAdded& notAdded : report->notAdded) {
            console.Fail() << EscapeControls(sourceOf(notAdded.song)) << ": " << notAdded.why.message << "\n";
        }
        if (report->deviceLost) console.Fail() << kDeviceChangedMessage << "\n";
        if (report->catalogueFailure) {
            console.Fail() << report->catalogueFailure->message << "\n";
            if (!report->uncatalogued.empty()) {
                console.Fail() << report->uncatalogued.size()
                               << " songs were copied but are not catalogued yet; the next command that writes to "
                                  "the device catalogues them\n";
            }
        }
        for (const Notice& notice : report->notices) console.err << notice.text << "\n";
        if (report->stopped || InterruptStopsBatch::Stopped()) {
            console.Fail() << "stopped: " << report->added.size() << " of " << plan.songs.size() << " songs added\n";
        }
        const bool allAdded = report->added.size() == plan.songs.size();
        return allAdded && !anyLeftOut ? kExitOk : kExitFailure;
    });
}

}  // namespace

void AddImportCommand(CommandSet& commands) {
    AddCommandWith<ImportFlags>(
        commands, "import", SL_TRANSLATE_NOOP("Cli", "copy many media files onto the device as user songs"),
        "[DEVICE] PATH...",
        SL_TRANSLATE_NOOP("Cli",
                          "Copies every media file named by PATH (a file, or a folder walked with its sub-folders;\n"
                          "hidden files and folders and the device's own songs folder are left out) onto the device\n"
                          "as user songs and rebuilds the catalogue once. A first operand is taken as DEVICE only\n"
                          "when it is a folder holding songs/ or a mount point.\n"
                          "Each file is checked first: one the player cannot play, one whose title and artist are\n"
                          "already on the device or earlier in the batch, or one whose texts the device cannot store\n"
                          "is named on standard error and left out. Titles, artists, composers and lyricists come\n"
                          "from the files' tags, else from names like \"01 - Artist - Title.mp4\". Songs take the\n"
                          "lowest free numbers from 900000 in the order of their paths.\n"
                          "Prints one line per song added: number, title, artist and source file, tab-separated.\n"
                          "A folder that cannot be read, and a PATH inside the device's songs folder, are named\n"
                          "and left out. A file the player plays only after conversion (another container, codec or\n"
                          "a picture larger than 1920x1080) is named and left out unless --convert is given: it is\n"
                          "then converted on this computer into MP4 (H.264, AAC) by the ffmpeg program before it is\n"
                          "copied. --loudness sets every song to -16 LUFS, unless it is within 1 LU already.\n"
                          "Exit status: 0 when every file was added, 1 when any was left out, 2 on usage errors.\n"
                          "A batch that does not fit on the device (its files in whole blocks, with the new\n"
                          "catalogue) or would take the device past 49999 songs copies nothing. Ctrl-C stops after\n"
                          "the current file (a conversion running ends at once, leaving nothing); the songs copied\n"
                          "by then are catalogued.\n"),
        Progress::Shown, Import, [](CLI::App& command, ImportFlags& flags) {
            command
                .add_option(
                    "--language", flags.language,
                    SL_TRANSLATE_NOOP(
                        "Cli", "the language of every song: OPM, EG or ES (default: language in the settings file)"))
                ->type_name("OPM|EG|ES")
                ->check(CLI::IsMember({"OPM", "EG", "ES"}).description(""));
            command
                .add_option("--artist", flags.artist,
                            SL_TRANSLATE_NOOP("Cli", "the artist of every song, instead of the one found"))
                ->type_name("A");
            command.add_flag(
                "--dry-run", flags.dryRun,
                SL_TRANSLATE_NOOP("Cli", "print what would be added, and why files would be left out; copy nothing"));
            command.add_flag("--keep-duplicates", flags.keepDuplicates,
                             SL_TRANSLATE_NOOP("Cli", "add songs whose title and artist are already there too"));
            AddConversionFlags(command, flags.conversion);
            AddEncodingOption(command, flags.encoding);
        });
}

}  // namespace songloader::cli
