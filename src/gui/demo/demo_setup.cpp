// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/demo/demo_setup.h"

#include <httplib.h>

#include <array>
#include <fstream>
#include <thread>

#include "core/catalogue/language_table.h"
#include "core/cloud/catalogue_publisher.h"
#include "core/device/device_layout.h"
#include "core/entry/catalogue_rebuild.h"

namespace songloader::gui {

namespace {

constexpr std::array<const char*, 12> kWords = {"Morning", "River", "Golden", "Island", "Dancing", "Heart",
                                                "Summer", "Light", "Blue", "Road", "Starry", "Home"};
constexpr std::array<const char*, 8> kSingers = {"Ana Reyes", "Ben Cruz", "Carla Diaz", "Dan Lim",
                                                 "Ella Santos", "Frank Uy", "Gina Tan", "Hugo Ramos"};
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

std::optional<DemoFiles> MakeDemoFiles(const std::filesystem::path& folder, std::string& error, int deviceSongs,
                                       int cloudSongs) {
    DemoFiles files{folder / "device", folder / "cloud"};

    // The device: user songs 900001.. with their media in songs/900/.
    const std::filesystem::path songFolder = SongFolderOf(files.deviceRoot);
    if (const Result<> folder = EnsureSongFolder(songFolder); !folder) {
        error = folder.message();
        return std::nullopt;
    }
    SongList songs;
    for (int i = 0; i < deviceSongs; ++i) {
        ROWELEMENT song = DemoSong(900001 + i, i);
        const std::filesystem::path media = MediaTargetPath(songFolder, song.numberText, "demo.mp4");
        if (!WriteFile(media, TinyMedia(song.number))) {
            error = "cannot write " + media.string();
            return std::nullopt;
        }
        song.mediaPath = media.string();
        songs.push_back(song);
    }
    const RebuildResult rebuilt = RebuildDeviceCatalogue(songs, songFolder, RebuildMode::Add);
    if (!rebuilt.ok) {
        error = rebuilt.notices.empty() ? "cannot write the demo device" : rebuilt.notices.front().text;
        return std::nullopt;
    }

    // The cloud: catalogue songs 100001.., some music videos 890001.., and a MIDI pack.
    const std::filesystem::path sources = folder / "cloud-sources";
    std::vector<PublishSong> published;
    for (int i = 0; i < cloudSongs; ++i) {
        const std::int32_t number = i % 10 == 9 ? 890001 + i : 100001 + i;
        PublishSong entry;
        entry.line = static_cast<std::size_t>(i) + 1;
        entry.song = DemoSong(number, i + 5);
        entry.media = sources / (entry.song.numberText + ".mp4");
        if (!WriteFile(entry.media, TinyMedia(number))) {
            error = "cannot write " + entry.media.string();
            return std::nullopt;
        }
        published.push_back(std::move(entry));
    }
    const std::filesystem::path midi = sources / "midi";
    for (const auto& [name, bytes] : {std::pair{"sglist.dat", 3000}, {"sgmusic.dat", 9000}, {"sgmsg.dat", 2000},
                                      {"midisongsbook.pdf", 5000}}) {
        if (!WriteFile(midi / name, std::string(static_cast<std::size_t>(bytes), 'm'))) {
            error = "cannot write the demo MIDI pack";
            return std::nullopt;
        }
    }
    const Result<> result = PublishCatalogue(published, files.cloudFolder, midi);
    if (!result) {
        error = result.message();
        return std::nullopt;
    }
    return files;
}

struct DemoCloudServer::Impl {
    httplib::Server server;
    std::thread thread;
};

DemoCloudServer::DemoCloudServer(const std::filesystem::path& folder) : impl_(std::make_unique<Impl>()) {
    if (!impl_->server.set_mount_point("/", folder.string())) return;
    port_ = impl_->server.bind_to_any_port("127.0.0.1");
    if (port_ <= 0) return;
    impl_->thread = std::thread([this] { impl_->server.listen_after_bind(); });
}

DemoCloudServer::~DemoCloudServer() {
    impl_->server.stop();
    if (impl_->thread.joinable()) impl_->thread.join();
}

std::string DemoCloudServer::baseUrl() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

}  // namespace songloader::gui
