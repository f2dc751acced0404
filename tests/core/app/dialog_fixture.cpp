#include "dialog_fixture.h"

#include "core/catalogue/list_file_reader.h"

namespace songloader::test {

namespace {

DialogSettings SettingsFor(const TempDir& dir) {
    DialogSettings settings;
    settings.codePage = "CP1252";
    settings.startFolder = dir.path() / "program";
    return settings;
}

}  // namespace

std::string UnbuildableTitle() {
    std::string title;
    for (int i = 0; i < 60; ++i) title += "a ";
    return title;
}

DialogTest::DialogTest()
    : stick(dir / "media" / "STICK"), settings(SettingsFor(dir)), dlg(view, drives, settings) {
    std::filesystem::create_directories(stick);
    drives.drives = {{stick, DriveKind::Removable, true, true}};
    dlg.OnInitDialog();
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

std::filesystem::path DialogTest::MakeClip(const std::string& name, std::size_t bytes) {
    std::string content(bytes, '\0');
    for (std::size_t i = 0; i < bytes; ++i) content[i] = static_cast<char>(i * 7 + name.size());
    const auto file = dir / "clips" / name;
    WriteBytes(file, content);
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

SongList DialogTest::DeviceCatalogue() const {
    const auto file = FindListFile(songs(), kDeviceListName);
    if (!file) return {};
    ListReadResult read = ReadListFile(*file, ListKind::Device);
    EXPECT_TRUE(read.ok) << read.failure.text;
    return read.songs;
}

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
