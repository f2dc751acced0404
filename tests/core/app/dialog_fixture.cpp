// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialog_fixture.h"

#include "support/media_samples.h"

#include "core/catalogue/list_file_reader.h"
#include "support/cloud_catalogue_fixture.h"
#include "support/song_samples.h"

namespace songloader::test {

namespace {

std::filesystem::path Created(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    return folder;
}

}  // namespace

std::string UnbuildableTitle() {
    std::string title;
    for (int i = 0; i < 60; ++i) title += "a ";
    return title;
}

DialogTest::DialogTest()
    : stick(Created(dir / "media" / "STICK")),
      cloud(Created(dir / "cloud")),
      server(cloud),
      client(server.baseUrl(), progress),
      settings{"CP1252", false, [this] { return now; }, false, {}, {}, BuiltInPlayerProfile(), {}},
      dlg(view, drives, client, settings) {
    client.SetTimeouts({std::chrono::milliseconds(2000), std::chrono::milliseconds(500)});
    drives.drives = {{stick, DriveKind::Removable, true, true}};
    dlg.OnInitDialog();
}

void DialogTest::PublishCloud(const std::vector<CloudSong>& songs) {
    std::vector<ListEntry> entries;
    std::vector<CatalogueSong> rows;
    for (const CloudSong& song : songs) {
        entries.push_back({song.number, song.language, song.title, song.artist, "", ""});
        rows.push_back({static_cast<int>(song.number), song.language, song.title, song.artist});
        WriteBytes(cloud / (std::to_string(song.number) + ".mp4"), VideoOf(song.number));
    }
    WriteBytes(cloud / "MgList.dat", MakeListFileBytes(entries));
    WriteCloudCatalogue(cloud / "Msong.db", rows);
}

std::string DialogTest::VideoOf(std::uint32_t number) {
    std::string video;
    while (video.size() < 4000) video += "frame of " + std::to_string(number) + ";";
    return video;
}

void DialogTest::SyncCloud() {
    const auto before = view.messages.size();
    dlg.OnCloudSongs();
    ASSERT_EQ(view.messages.size(), before + 1);
    ASSERT_EQ(view.MessageLog().back(), "Note|check cloud database ok");
}

void DialogTest::PutDeviceList(const std::vector<ListEntry>& entries) {
    WriteBytes(songs() / "SgList.dat", MakeListFileBytes(entries));
}

std::filesystem::path DialogTest::PutDeviceMedia(const std::string& numberText, const std::string& extension,
                                                 const std::string& content) {
    const auto file = songs() / numberText.substr(0, 3) / (numberText + extension);
    WriteBytes(file, content);
    return file;
}

void DialogTest::PullStickWhenCopied(std::vector<std::filesystem::path> copies, std::filesystem::path pulled) {
    view.onPump = [this, copies = std::move(copies), pulled = std::move(pulled)] {
        if (std::filesystem::exists(pulled)) return;
        for (const auto& copy : copies) {
            if (!std::filesystem::exists(copy)) return;
        }
        std::filesystem::rename(stick, pulled);
        std::filesystem::create_directories(stick);
    };
}

void DialogTest::PutStickBack(const std::filesystem::path& pulled) {
    std::filesystem::remove_all(stick);
    std::filesystem::rename(pulled, stick);
}

std::filesystem::path DialogTest::MakeClip(const std::string& name, std::size_t bytes) {
    const auto file = dir / "clips" / name;
    std::filesystem::create_directories(file.parent_path());
    // Real media: Queue to Add refuses anything the player cannot play.
    WriteMediaSample(file, bytes, static_cast<std::uint32_t>(name.size()));
    return file;
}

void DialogTest::ChooseDevice() {
    const auto before = view.messages.size();
    dlg.OnAutoCheckDevice();
    ASSERT_EQ(view.messages.size(), before) << view.MessageLog().back();
    ASSERT_EQ(dlg.songFolder(), songs());
}

void DialogTest::FillForm(const std::string& number, const std::string& title, const std::filesystem::path& media,
                          int language, const std::string& artist, const std::string& composer,
                          const std::string& lyricist) {
    view.Type(ControlId::Number, number);
    view.Pick(ControlId::EntryLanguage, language);
    view.Type(ControlId::Title, title);
    view.Type(ControlId::Artist, artist);
    view.Type(ControlId::Composer, composer);
    view.Type(ControlId::Lyricist, lyricist);
    view.Type(ControlId::MediaPath, media.string());
}

void DialogTest::Queue(const std::string& number, const std::string& title, const std::filesystem::path& media) {
    FillForm(number, title, media);
    const auto before = view.messages.size();
    dlg.OnQueueToAdd();
    ASSERT_EQ(view.messages.size(), before) << view.MessageLog().back();
}

SongList DialogTest::DeviceCatalogue() const { return DeviceListSongs(songs()); }

std::vector<std::int32_t> DialogTest::Numbers(const SongList& songs) {
    std::vector<std::int32_t> numbers;
    for (const ROWELEMENT& song : songs) numbers.push_back(song.number);
    return numbers;
}

void DialogTest::ClearLog() {
    view.calls.clear();
    view.messages.clear();
}

}  // namespace songloader::test
