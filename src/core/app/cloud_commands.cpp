// SPDX-License-Identifier: GPL-3.0-or-later
// "Cloud Songs", the catalogue search, "Add to USB Drive" with cloud songs, and "Cloud Midi ".
#include <algorithm>
#include <system_error>

#include "core/app/dialog_texts.h"
#include "core/app/filled_text.h"
#include "core/app/sonquill_dlg.h"
#include "core/catalogue/language_table.h"
#include "core/cloud/catalogue_sync.h"
#include "core/cloud/cloud_messages.h"
#include "core/cloud/cloud_song.h"
#include "core/cloud/cloud_song_add.h"
#include "core/cloud/midi_pack.h"
#include "core/device/device_room.h"
#include "core/entry/import_plan.h"
#include "core/text/code_page.h"

namespace songloader {

namespace {

// What the window is waiting for, as RunWork is told.
constexpr const char* kCheckingNetworkWork = "Checking the network";
constexpr const char* kCatalogueDownloadWork = "Downloading the cloud catalogue";
constexpr const char* kSizeCheckWork = "Asking the cloud for the file size";
constexpr const char* kSizesCheckWork = "Asking the cloud for the size of the songs";

// A download of more songs or bytes than this is asked about first.
constexpr std::size_t kQuietDownloadSongs = 10;
constexpr std::uint64_t kQuietDownloadBytes = std::uint64_t{1} << 30;

}  // namespace

std::chrono::steady_clock::time_point CSonquillDlg::Now() const {
    return m_settings.clock ? m_settings.clock() : std::chrono::steady_clock::now();
}

bool CSonquillDlg::CheckCloudReachable(bool reuseRecentProbe) {
    if (reuseRecentProbe && m_lastProbeSuccess && Now() - *m_lastProbeSuccess < kProbeReuse) return true;
    bool reachable = false;
    m_view.RunWork([&] { reachable = CloudReachable(m_cloud); }, kCheckingNetworkWork);
    if (reachable) {
        m_lastProbeSuccess = Now();
        return true;
    }
    m_lastProbeSuccess.reset();
    Show(CheckNetworkNotice());
    return false;
}

TransferRunner CSonquillDlg::ProgressWindow() {
    return [this](const Transfer& transfer) {
        DownloadProgress& progress = m_cloud.progress();
        return m_view.RunTransfer(transfer, progress, ToView(progress.DownloadName()));
    };
}

WaitRunner CSonquillDlg::NetworkWait(const std::string& what) {
    return [this, what](const std::function<void()>& wait) { m_view.RunWork(wait, what); };
}

// ---- "Cloud Songs" ----

void CSonquillDlg::OnCloudSongs() {
    RunCommand([&] {
        if (!CheckCloudReachable(false)) return;
        m_view.Enable(ControlId::CloudSongs, false);
        if (!m_deviceSongs.empty()) {
            ClearList(ControlId::DeviceList);
            m_view.Repaint();
        }
        if (m_device.songFolder().empty()) {
            const auto drive = ChooseDeviceDrive(m_drives);
            if (!drive) {
                Show({kInsertDeviceMessage, kCaptionErrorUpper, NoticeIcon::Exclamation});
                m_view.Enable(ControlId::CloudSongs, true);
                return;
            }
            PublishDeviceFolder(*drive);
        }

        if (!BeginDeviceWrite()) {
            m_view.Enable(ControlId::CloudSongs, true);
            return;
        }
        CatalogueFetch fetch;
        m_view.RunWork([&] { fetch = FetchCloudCatalogue(m_cloud, m_device.songFolder(), m_catalogue); },
                       kCatalogueDownloadWork);
        if (!fetch.ok() && !m_device.StillHolds()) {
            m_view.Enable(ControlId::CloudSongs, true);
            return;
        }
        const bool deviceRead = ReadDeviceFolderList([&] {
            m_cloudListShown = false;
            ClearList(ControlId::WorkList);
        });
        if (!deviceRead) {
            m_view.Enable(ControlId::CloudSongs, true);
            return;
        }
        if (!fetch.list.ok() || !fetch.database.ok()) {
            // Whatever older files the device holds are not the cloud's catalogue: show none.
            m_cloudListShown = false;
            ClearList(ControlId::WorkList);
            std::string why = kCatalogueFailedMessage;
            if (!fetch.list.ok()) why += std::string("\n") + kCloudListName + ": " + fetch.list.message();
            if (!fetch.database.ok()) why += std::string("\n") + kCloudDatabaseName + ": " + fetch.database.message();
            Show(AppNotice(why, NoticeIcon::Exclamation));
            m_view.Enable(ControlId::AutoCheckDevice, true);
            m_view.Enable(ControlId::CloudSongs, true);
            return;
        }
        if (!LoadCloudList()) {
            m_view.Enable(ControlId::AutoCheckDevice, true);
            m_view.Enable(ControlId::CloudSongs, true);
            return;
        }
        m_cloudListShown = true;
        m_view.SetProgressRange(1, 500);
        m_view.SetProgressPos(500);
        m_view.Repaint();
        m_view.Enable(ControlId::CloudSongs, true);
        Show({kCloudDatabaseOkMessage, kCaptionNote, NoticeIcon::None});
    });
}

bool CSonquillDlg::LoadCloudList() {
    const auto file = FindListFile(m_device.songFolder(), kCloudListName);
    if (!file) return true;
    m_view.ShowCheckBoxes(ControlId::WorkList, true);
    m_view.Enable(ControlId::WorkList, false);
    ClearList(ControlId::WorkList);
    const bool ok = ReadListIntoView(
        ListKind::Cloud, [&](const ListReadHooks& hooks) { return ReadListFile(*file, ListKind::Cloud, hooks); });
    m_view.Enable(ControlId::WorkList, true);
    if (!ok) return false;
    m_view.Enable(ControlId::QueueToAdd, true);
    m_view.Enable(ControlId::ClearFields, true);
    m_view.Enable(ControlId::SelectAll, true);
    return true;
}

// ---- search ----

void CSonquillDlg::OnSearchChange() {
    RunCommand([&] {
        // Entering or leaving the box changes its text too; that is no search and needs no network.
        const std::string text = m_view.GetText(ControlId::SearchBox);
        const bool typed = !text.empty() && text != kSearchPlaceholder;
        // The device's own list is searched here, without the network.
        FilterDeviceList(typed ? text : std::string());
        if (!typed) return;
        if (!m_cloudListShown && !m_deviceSongs.empty()) return;
        if (!CheckCloudReachable(true)) return;
        if (!m_cloudListShown) {
            Show({kDownloadCloudDataMessage, kCaptionErrorUpper, NoticeIcon::Exclamation});
            return;
        }
        ShowSearchHits(text);
    });
}

void CSonquillDlg::OnSearchLanguageChange() {
    RunCommand([&] {
        if (!CheckCloudReachable(true)) return;
        std::string text = m_view.GetText(ControlId::SearchBox);
        if (text == kSearchPlaceholder) text.clear();
        if (!m_cloudListShown) {
            Show({kDownloadCloudDataLanguageMessage, kCaptionErrorUpper, NoticeIcon::Exclamation});
            return;
        }
        ShowSearchHits(text);
    });
}

void CSonquillDlg::ShowSearchHits(const std::string& typed) {
    ClearList(ControlId::WorkList, true);
    m_view.Enable(ControlId::WorkList, true);
    // The hits reach the list in one change and their marks in one more: tens of thousands of
    // rows announced one by one would freeze the window (and flood a screen reader).
    std::vector<RowTexts> rows;
    std::vector<int> marked;
    // A text the device's code page cannot hold matches no song.
    if (const auto text = Utf8ToDevice(typed, m_settings.codePage)) {
        const Result<> ran = m_catalogue.SearchCloudCatalogue(
            *text, SearchFilterFromIndex(m_view.ComboSelection(ControlId::SearchLanguage)),
            [&](const ROWELEMENT& hit, std::size_t) {
                m_currentSong = hit;
                if (m_deviceSongs.Contains(hit.number)) marked.push_back(static_cast<int>(rows.size()));
                rows.push_back(RowTextsOf(hit));
                m_workSongs.Append(hit);
            });
        if (ran) m_workRowCount = m_workSongs.size();
    }
    m_cloudHits = rows.size();
    ShowHitCount();
    m_view.SetAllRows(ControlId::WorkList, std::move(rows));
    if (!marked.empty()) m_view.MarkRows(ControlId::WorkList, marked);
    m_view.SetProgressRange(1, 500);
    m_view.SetProgressPos(500);
    m_view.Enable(ControlId::WorkList, true);
    m_view.Repaint();
}

// ---- "Add to USB Drive" with cloud songs ----

void CSonquillDlg::AddCloudSongs() {
    const Notice selectSong{kSelectSongMessage, kCaptionNote, NoticeIcon::None};
    // The ticked cloud songs the device lacks, and the user songs queued while the list is shown
    // (they came with a file of their own): one batch, one rebuild.
    SongList cloudSongs;
    SongList userSongs;
    for (std::size_t i = 0; i < m_workSongs.size(); ++i) {
        ROWELEMENT record = m_workSongs[i];
        if (!record.mediaPath.empty()) {
            userSongs.push_back(record);
            continue;
        }
        if (!m_view.IsRowChecked(ControlId::WorkList, static_cast<int>(i))) continue;
        const std::string_view suffix = kMvSuffix;
        if (IsMvNumber(record.number) && record.title.ends_with(suffix)) {
            record.title.resize(record.title.size() - suffix.size());
        }
        if (!m_deviceSongs.Contains(record.number)) cloudSongs.push_back(record);
    }
    AskAboutCloudRepeats(cloudSongs);
    if (cloudSongs.empty() && userSongs.empty()) {
        Show(selectSong);
        return;
    }
    if (!ConfirmCloudDownload(cloudSongs, userSongs)) return;

    int row = static_cast<int>(m_deviceSongs.size());
    const Result<AddReport> report = m_device.AddCloudSongs(
        m_cloud, m_deviceSongs, cloudSongs, userSongs, ProgressWindow(), NetworkWait(kSizeCheckWork), BatchHooks(row));
    if (!report) {
        Show(AppNotice(report.message(), NoticeIcon::Exclamation));
        return;
    }
    if (!TakeAddReport(*report)) return;
    // Queued user songs that reached the device leave the list; the others stay queued.
    // Cloud songs that did are marked as on the device, their ticks taken off.
    std::vector<int> arrived;
    for (const ROWELEMENT& song : report->added) {
        for (std::size_t i = m_workSongs.size(); i-- > 0;) {
            if (m_workSongs[i].number != song.number) continue;
            if (!m_workSongs[i].mediaPath.empty()) {
                m_workSongs.Erase(i);
                m_view.DeleteRow(ControlId::WorkList, static_cast<int>(i));
            } else {
                arrived.push_back(static_cast<int>(i));
            }
        }
    }
    std::sort(arrived.begin(), arrived.end());
    for (int row : arrived) m_view.SetRowChecked(ControlId::WorkList, row, false);
    if (!arrived.empty()) m_view.MarkRows(ControlId::WorkList, arrived);
    std::string failures;
    for (const SongNotAdded& refused : report->notAdded) {
        failures +=
            "\n" + ToView(refused.song.numberText) + " " + ToView(refused.song.title) + ": " + refused.why.message;
    }
    if (!failures.empty()) {
        std::string added;
        for (const ROWELEMENT& song : report->added) added += "\n" + ToView(song.numberText) + " " + ToView(song.title);
        if (!added.empty()) failures += std::string("\n\n") + kAddedSongsMessage + added;
        Show(AppNotice(kDownloadFailedMessage + failures, NoticeIcon::Exclamation));
    }
    ShowAddOutcome(*report, !failures.empty());
}

void CSonquillDlg::AskAboutCloudRepeats(SongList& cloudSongs) {
    std::string repeats;
    std::vector<bool> repeating(cloudSongs.size(), false);
    for (std::size_t i = 0; i < cloudSongs.size(); ++i) {
        if (const auto repeat = FindRepeat(cloudSongs[i], m_deviceSongs, {}, m_settings.codePage)) {
            repeats += "\n" + ToView(cloudSongs[i].numberText) + " " + *repeat;
            repeating[i] = true;
        }
    }
    if (repeats.empty()) return;
    const MessageAnswer answer = Show({std::string(kCloudRepeatsQuestion) + repeats + "\n\n" + kCloudRepeatsQuestionEnd,
                                       kCaptionNote, NoticeIcon::Question},
                                      MessageButtons::YesNo);
    if (answer == MessageAnswer::Yes) return;
    // No: the repeats stay off the device, the other songs go on.
    SongList kept;
    for (std::size_t i = 0; i < cloudSongs.size(); ++i) {
        if (!repeating[i]) kept.push_back(cloudSongs[i]);
    }
    cloudSongs = std::move(kept);
}

bool CSonquillDlg::ConfirmCloudDownload(const SongList& cloudSongs, const SongList& userSongs) {
    std::uint64_t cloudBytes = 0;
    std::size_t unknown = 0;
    // The catalogue holds no sizes: the cloud is asked for each song.
    if (!cloudSongs.empty()) {
        m_view.RunWork(
            [&] {
                for (const ROWELEMENT& song : cloudSongs) {
                    const Result<std::optional<std::int64_t>> size = m_cloud.RemoteSongSize(song.numberText);
                    if (size && *size && **size >= 0) {
                        cloudBytes += static_cast<std::uint64_t>(**size);
                    } else {
                        ++unknown;
                    }
                }
            },
            kSizesCheckWork);
    }
    std::uint64_t userBytes = 0;
    for (const ROWELEMENT& song : userSongs) {
        std::error_code error;
        const auto size = std::filesystem::file_size(song.mediaPath, error);
        if (!error) userBytes += size;
    }
    m_batchBytes = cloudBytes + userBytes;
    m_batchBytesDone = 0;
    if (cloudSongs.size() <= kQuietDownloadSongs && cloudBytes <= kQuietDownloadBytes) return true;
    const std::optional<DeviceRoom> room = RoomOn(m_device.songFolder());
    std::string question = FilledText(kLargeDownloadQuestion, {std::to_string(cloudSongs.size()), SizeText(cloudBytes),
                                                               room ? SizeText(room->freeBytes) : std::string("?")});
    if (unknown > 0) question += " " + FilledText(kUnknownSizesNote, {std::to_string(unknown)});
    return Show(AppNotice(question, NoticeIcon::Question), MessageButtons::YesNo) == MessageAnswer::Yes;
}

// ---- "Cloud Midi " ----

void CSonquillDlg::OnCloudMidi() {
    RunCommand([&] {
        m_lastBatch = {};
        m_batchRunning = true;
        if (!CheckCloudReachable(false)) return;
        if (m_device.root().empty()) {
            Show({kSelectDiskMessage, kCaptionErrorUpper, NoticeIcon::Exclamation});
            return;
        }
        if (!BeginDeviceWrite()) return;
        const MidiPackUpdate update =
            UpdateMidiPack(m_cloud, m_device.root(), ProgressWindow(), NetworkWait(kSizeCheckWork));
        if (!m_device.StillHolds()) return;
        std::string failures;
        for (const MidiPackFetch& fetch : update.fetched) {
            if (fetch.outcome.ok()) continue;
            failures += std::string("\n") + fetch.file->localName + ": " + fetch.outcome.message();
        }
        if (!failures.empty()) Show(AppNotice(kMidiFailedMessage + failures, NoticeIcon::Exclamation));
        for (const Notice& notice : update.notices) Show(notice);
    });
}

}  // namespace songloader
