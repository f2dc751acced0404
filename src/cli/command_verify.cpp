// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <set>
#include <system_error>

#include "device_access.h"
#include "core/catalogue/catalogue_database.h"
#include "core/common/temporary_name.h"
#include "core/device/device_layout.h"
#include "core/entry/catalogue_check.h"
#include "core/entry/placement_journal.h"
#include "core/recovery/interrupted_writes.h"
#include "core/entry/media_files.h"
#include "core/media/player_profile.h"
#include "terminal_text.h"
#include "core/common/translatable.h"

namespace songloader::cli {

namespace {

// Held for the rest of the run: writers wait while verify reads.
class SharedLock {
public:
    explicit SharedLock(const std::filesystem::path& songFolder)
        : fd_(::open(songFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        busy_ = fd_ >= 0 && ::flock(fd_, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    }
    ~SharedLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    SharedLock(const SharedLock&) = delete;
    SharedLock& operator=(const SharedLock&) = delete;
    // Another command holds the write lock.
    bool busy() const { return busy_; }

private:
    int fd_;
    bool busy_ = false;
};

int Verify(LoadedDevice& loaded, const std::string& encoding, Console& console) {
    const Device& device = loaded.device;
    const SongList& songs = loaded.songs;
    const UserSettings settings = SettingsInEffect(encoding);
    const Result<PlayerProfile> profile = PlayerProfileFrom(settings.file.values, settings.file.path);
    if (!profile) {
        console.Fail() << profile.message() << "\n";
        return kExitFailure;
    }
    // A writer holding the device lock is still using its temporaries: they are not leftovers.
    const SharedLock lock(device.songFolder);

    std::size_t problems = 0;
    DeviceMediaIndex media(device.songFolder);
    for (const ROWELEMENT& song : songs) {
        const auto file = media.Media(song.numberText);
        if (!file) {
            console.out << "missing media\t" << song.numberText << '\t' << TerminalText(song.title, device.codePage)
                        << '\n';
            ++problems;
            continue;
        }
        // The user's own songs came from anywhere; the cloud's were made for the player.
        if (song.number < kFirstUserNumber) continue;
        const auto facts = ProbeMedia(*file, file->filename().string());
        const MediaJudgement judgement = facts ? JudgeMedia(*facts, *profile) : MediaJudgement{};
        if (!facts || judgement.verdict != MediaVerdict::Plays) {
            console.out << "will not play\t" << song.numberText << '\t' << TerminalText(song.title, device.codePage)
                        << '\t' << EscapeControls(facts ? judgement.why : facts.message()) << '\n';
            ++problems;
        }
    }
    std::error_code error;
    std::set<std::filesystem::path> strays;
    for (std::filesystem::directory_iterator folder(device.songFolder, error), end; !error && folder != end;
         folder.increment(error)) {
        if (!folder->is_directory(error)) continue;
        for (const std::string& name : media.Unclaimed(folder->path().filename().string())) {
            if (!IsTemporaryName(name)) strays.insert(folder->path() / name);
        }
    }
    // Names as the folder lists them (a link by its own name, not its target), escaped as all text.
    const auto shown = [&](const std::filesystem::path& file) {
        return EscapeControls(file.lexically_relative(device.root).string());
    };
    for (const auto& stray : strays) {
        console.out << "no song\t" << shown(stray) << '\n';
        ++problems;
    }
    for (const std::string& line : CompareListAndDatabase(songs, device.songFolder / kDeviceDatabaseName)) {
        console.out << "list and database disagree\t" << TerminalText(line, device.codePage) << '\n';
        ++problems;
    }
    const bool writerRunning = lock.busy();
    for (const auto& temporary : DeviceTemporaries(device.root)) {
        if (writerRunning) {
            console.out << "temporary in use\t" << shown(temporary) << '\n';
            continue;
        }
        console.out << "temporary\t" << shown(temporary) << '\n';
        ++problems;
    }
    // Records of interrupted writes: the next writing command finishes a pending one; one set aside
    // could not be read and waits for the user.
    const RecordNames records = ListRecords(device.songFolder);
    for (const std::string& name : records.pending) {
        console.out << (writerRunning ? "record in use\t" : "pending record\t") << shown(device.songFolder / name)
                    << '\n';
        if (!writerRunning) ++problems;
    }
    for (const std::string& name : records.setAside) {
        console.out << "set-aside record\t" << shown(device.songFolder / name) << '\n';
        ++problems;
    }
    if (problems == 0) console.out << songs.size() << " songs, every one with its media file\n";
    return problems == 0 ? kExitOk : kExitFailure;
}

}  // namespace

void AddVerifyCommand(CommandSet& commands) {
    AddCommandWith<std::string>(
        commands, "verify", SL_TRANSLATE_NOOP("Cli", "list songs without media files and media files without songs"),
        "[DEVICE]",
        SL_TRANSLATE_NOOP("Cli",
                          "Lists the songs of the device's list without a media file, the media files in\n"
                          "the song folders that no song of the list owns, the songs on which the list\n"
                          "and the database disagree (rebuild mends them), temporary files that\n"
                          "interrupted runs left (the next writing command removes them), records of\n"
                          "interrupted writes (the next writing command finishes them) and records that\n"
                          "could not be read and were set aside (*.bad: look at them, then remove them),\n"
                          "and user songs whose files the player will not play (their container, codecs or\n"
                          "picture size; the player profile can be changed in the settings file).\n"
                          "Exit 1 when there is any.\n"),
        Progress::Hidden,
        [](const std::string& encoding, const Operands& operands, Console& console) {
            return RunOnDevice(operands.device, encoding, DeviceUse::Read, console,
                               [&](LoadedDevice& loaded) { return Verify(loaded, encoding, console); });
        },
        AddEncodingOption);
}

}  // namespace songloader::cli
