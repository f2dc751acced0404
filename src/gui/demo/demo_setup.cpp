// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/demo/demo_setup.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <array>
#include <fstream>

#include "core/catalogue/language_table.h"
#include "core/cloud/catalogue_publisher.h"
#include "core/device/device_layout.h"
#include "core/entry/catalogue_rebuild.h"

namespace songloader::gui {

namespace {

constexpr std::array<const char*, 12> kWords = {"Morning", "River", "Golden", "Island", "Dancing", "Heart",
                                                "Summer",  "Light", "Blue",   "Road",   "Starry",  "Home"};
constexpr std::array<const char*, 8> kSingers = {"Ana Reyes",   "Ben Cruz", "Carla Diaz", "Dan Lim",
                                                 "Ella Santos", "Frank Uy", "Gina Tan",   "Hugo Ramos"};
constexpr std::array<const char*, 3> kLanguages = {"OPM", "EG", "ES"};

ROWELEMENT DemoSong(std::int32_t number, int index) {
    ROWELEMENT song;
    song.number = number;
    song.numberText = std::to_string(number);
    song.language = LanguageFromText(kLanguages[static_cast<std::size_t>(index) % kLanguages.size()]);
    song.languageText = LanguageText(song.language);
    song.title = std::string(kWords[static_cast<std::size_t>(index) % kWords.size()]) + " " +
                 kWords[static_cast<std::size_t>(index * 7 + 3) % kWords.size()];
    song.artist = kSingers[static_cast<std::size_t>(index) % kSingers.size()];
    song.composer = kSingers[static_cast<std::size_t>(index + 3) % kSingers.size()];
    song.lyricist = kSingers[static_cast<std::size_t>(index + 5) % kSingers.size()];
    return song;
}

bool WriteFile(const std::filesystem::path& file, const std::string& bytes) {
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    std::ofstream out(file, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out.flush());
}

// A small "video": a few kilobytes that differ per song, enough for the progress window to move.
std::string TinyMedia(std::int32_t number) {
    std::string bytes = "demo media " + std::to_string(number) + "\n";
    bytes.resize(4000 + static_cast<std::size_t>(number % 7) * 1500, static_cast<char>('a' + number % 26));
    return bytes;
}

}  // namespace

bool DemoDriveSystem::IsAccessible(const std::filesystem::path& drive) const {
    std::error_code error;
    return std::filesystem::is_directory(drive, error);
}

std::optional<std::filesystem::path> DemoDriveSystem::VolumeHolding(const std::filesystem::path& folder) const {
    const auto relative = folder.lexically_relative(root_);
    if (relative.empty() || *relative.begin() == "..") return std::nullopt;
    return root_;
}

Result<DemoFiles> MakeDemoFiles(const std::filesystem::path& folder, int deviceSongs, int cloudSongs) {
    DemoFiles files{folder / "device", folder / "cloud"};

    // The device: user songs 900001.. with their media in songs/900/.
    const std::filesystem::path songFolder = SongFolderOf(files.deviceRoot);
    if (const Result<> folder = EnsureSongFolder(songFolder); !folder) return folder.failure();
    SongList songs;
    for (int i = 0; i < deviceSongs; ++i) {
        ROWELEMENT song = DemoSong(900001 + i, i);
        const std::filesystem::path media = MediaTargetPath(songFolder, song.numberText, "demo.mp4");
        if (!WriteFile(media, TinyMedia(song.number))) return Fail("cannot write " + media.string());
        song.mediaPath = media.string();
        songs.push_back(song);
    }
    const Result<CatalogueWritten> rebuilt = RebuildDeviceCatalogue(songs, songFolder, RebuildMode::Add);
    if (!rebuilt) return Fail(rebuilt.message().empty() ? "cannot write the demo device" : rebuilt.message());

    // The cloud: catalogue songs 100001.., some music videos 890001.., and a MIDI pack.
    const std::filesystem::path sources = folder / "cloud-sources";
    std::vector<PublishSong> published;
    for (int i = 0; i < cloudSongs; ++i) {
        const std::int32_t number = i % 10 == 9 ? 890001 + i : 100001 + i;
        PublishSong entry;
        entry.line = static_cast<std::size_t>(i) + 1;
        entry.song = DemoSong(number, i + 5);
        entry.media = sources / (entry.song.numberText + ".mp4");
        if (!WriteFile(entry.media, TinyMedia(number))) return Fail("cannot write " + entry.media.string());
        published.push_back(std::move(entry));
    }
    const std::filesystem::path midi = sources / "midi";
    for (const auto& [name, bytes] :
         {std::pair{"sglist.dat", 3000}, {"sgmusic.dat", 9000}, {"sgmsg.dat", 2000}, {"midisongsbook.pdf", 5000}}) {
        if (!WriteFile(midi / name, std::string(static_cast<std::size_t>(bytes), 'm'))) {
            return Fail("cannot write the demo MIDI pack");
        }
    }
    const Result<> result = PublishCatalogue(published, files.cloudFolder, midi);
    if (!result) return result.failure();
    return files;
}

struct DemoCloudServer::Impl {
    QProcess helper;
};

std::filesystem::path DemoCloudHelperPath() {
    const std::filesystem::path folder = QCoreApplication::applicationDirPath().toStdString();
    const std::filesystem::path installed = folder / SONGLOADER_DEMO_CLOUD_RELATIVE;
    std::error_code error;
    if (std::filesystem::is_regular_file(installed, error)) return installed;
    return folder / std::filesystem::path(SONGLOADER_DEMO_CLOUD_RELATIVE).filename();
}

DemoCloudServer::DemoCloudServer() : impl_(std::make_unique<Impl>()) {}

Result<std::unique_ptr<DemoCloudServer>> DemoCloudServer::Start(const std::filesystem::path& folder,
                                                                const std::filesystem::path& removeOnExit) {
    std::unique_ptr<DemoCloudServer> server(new DemoCloudServer());
    Impl& impl = *server->impl_;
    const std::filesystem::path program = DemoCloudHelperPath();
    QStringList arguments{QString::fromStdString(folder.string())};
    if (!removeOnExit.empty())
        arguments << QStringLiteral("--remove-on-exit") << QString::fromStdString(removeOnExit.string());
    // Its standard input is the pipe whose end tells it that this process is gone.
    impl.helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    impl.helper.start(QString::fromStdString(program.string()), arguments);
    if (!impl.helper.waitForStarted(5000))
        return Fail(program.string() + ": " + impl.helper.errorString().toStdString());
    // The first line is the address; a helper that cannot serve ends without one.
    QByteArray line;
    while (!line.endsWith('\n') && impl.helper.waitForReadyRead(5000)) line += impl.helper.readLine();
    line = line.trimmed();
    if (!line.startsWith("http://127.0.0.1:")) return Fail(program.string() + " did not start serving");
    server->url_ = line.toStdString();
    return server;
}

DemoCloudServer::~DemoCloudServer() {
    if (impl_->helper.state() == QProcess::NotRunning) return;
    impl_->helper.closeWriteChannel();
    if (!impl_->helper.waitForFinished(3000)) {
        impl_->helper.kill();
        impl_->helper.waitForFinished(1000);
    }
}

int SweepStaleDemoFolders(const std::filesystem::path& tempRoot) {
    int removed = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(tempRoot, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(kDemoFolderPrefix)) continue;
        // "songloader-demo-PID-XXXXXX"
        const std::string rest = name.substr(std::string(kDemoFolderPrefix).size());
        const auto dash = rest.find('-');
        if (dash == 0 || dash == std::string::npos || rest.find_first_not_of("0123456789") != dash) continue;
        const long pid = std::strtol(rest.substr(0, dash).c_str(), nullptr, 10);
        if (pid <= 0 || pid == static_cast<long>(getpid())) continue;
        if (kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;  // alive, or not ours to judge
        struct stat facts {};
        // A real folder of this user only, never followed through a link.
        if (lstat(entry.path().c_str(), &facts) != 0 || !S_ISDIR(facts.st_mode) || facts.st_uid != getuid()) continue;
        std::error_code ignored;
        if (std::filesystem::remove_all(entry.path(), ignored) > 0 && !ignored) ++removed;
    }
    return removed;
}

}  // namespace songloader::gui
