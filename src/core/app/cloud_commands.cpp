// SPDX-License-Identifier: GPL-3.0-or-later
// "Cloud Songs", the catalogue search, "Add to USB Drive" with cloud songs, and "Cloud Midi ".
#include "core/app/dialog_texts.h"
#include "core/app/sonquill_dlg.h"
#include "core/catalogue/language_table.h"
#include "core/cloud/catalogue_sync.h"
#include "core/cloud/cloud_messages.h"
#include "core/cloud/cloud_song.h"
#include "core/cloud/midi_pack.h"
#include "core/device/device_room.h"
#include "core/text/code_page.h"

namespace songloader {

namespace {

// What the window is waiting for, as RunWork is told.
constexpr const char* kCheckingNetworkWork = "Checking the network";
constexpr const char* kCatalogueDownloadWork = "Downloading the cloud catalogue";
constexpr const char* kSizeCheckWork = "Asking the cloud for the file size";

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
        if (m_songFolder.empty()) {
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
        m_view.RunWork([&] { fetch = FetchCloudCatalogue(m_cloud, m_songFolder, m_catalogue); },
                       kCatalogueDownloadWork);
        if (!fetch.ok() && !DeviceStillThere()) {
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
            if (!fetch.list.ok()) why += std::string("\n") + kCloudListName + ": " + DescribeOutcome(fetch.list);
            if (!fetch.database.ok()) {
                why += std::string("\n") + kCloudDatabaseName + ": " + DescribeOutcome(fetch.database);
            }
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
    const auto file = FindListFile(m_songFolder, kCloudListName);
    if (!file) return true;
    m_view.ShowCheckBoxes(ControlId::WorkList, true);
    m_view.Enable(ControlId::WorkList, false);
    ClearList(ControlId::WorkList);
    const bool ok = ReadListIntoView(*file, ListKind::Cloud);
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
        if (text.empty() || text == kSearchPlaceholder) return;
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
        const int ran = m_catalogue.SearchCloudCatalogue(
            *text, SearchFilterFromIndex(m_view.ComboSelection(ControlId::SearchLanguage)),
            [&](const ROWELEMENT& hit, std::size_t) {
                m_currentSong = hit;
                if (m_deviceSongs.Contains(hit.number)) marked.push_back(static_cast<int>(rows.size()));
                rows.push_back(RowTextsOf(hit));
                m_workSongs.Append(hit);
            });
        if (ran == 1) m_workRowCount = m_workSongs.size();
    }
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
    if (m_workSongs.empty()) {
        Show(selectSong);
        return;
    }
    std::size_t wanted = 0;
    for (std::size_t i = 0; i < m_workSongs.size(); ++i) {
        const bool ticked = m_view.IsRowChecked(ControlId::WorkList, static_cast<int>(i));
        if (ticked && !m_deviceSongs.Contains(m_workSongs[i].number)) ++wanted;
    }
    if (wanted == 0) {
        Show(selectSong);
        return;
    }

    const int first = static_cast<int>(m_deviceSongs.size());
    int position = first;
    std::string failures;
    for (std::size_t i = 0; i < m_workSongs.size(); ++i) {
        if (!m_view.IsRowChecked(ControlId::WorkList, static_cast<int>(i))) continue;
        ROWELEMENT record = m_workSongs[i];
        const std::string_view suffix = kMvSuffix;
        if (IsMvNumber(record.number) && record.title.ends_with(suffix)) {
            record.title.resize(record.title.size() - suffix.size());
        }
        if (m_deviceSongs.Contains(record.number)) continue;
        // A lost device keeps the ticked songs for when it is chosen again.
        if (!DeviceStillThere()) return;
        const DownloadOutcome outcome = FetchCloudSongAt(record, position);
        if (outcome.ok()) {
            ++position;
            continue;
        }
        if (!DeviceStillThere()) return;
        failures += "\n" + ToView(record.numberText) + " " + ToView(record.title) + ": " + DescribeOutcome(outcome);
        // A cancel ends the batch; the songs that arrived are kept.
        if (outcome.status == DownloadStatus::Cancelled) break;
    }
    if (!failures.empty()) Show(AppNotice(kDownloadFailedMessage + failures, NoticeIcon::Exclamation));
    // Nothing arrived: nothing to write, and nothing to report as added.
    if (position > first) RebuildCatalogue(RebuildMode::Add);
}

DownloadOutcome CSonquillDlg::FetchCloudSongAt(const ROWELEMENT& record, int position) {
    bool rowShown = false;
    const TransferRunner window = ProgressWindow();
    const auto room = [&](std::int64_t size) {
        return RefuseForRoomIn(record.numberText + kSongRemoteSuffix, size, m_songFolder);
    };
    const CloudSongFetch fetch = FetchCloudSong(m_cloud, m_songFolder, record, [&](const Transfer& transfer) {
        // The song's row stands in the device list while its file comes.
        m_view.InsertRow(ControlId::DeviceList, position, RowTextsOf(record));
        rowShown = true;
        return window(transfer);
    }, NetworkWait(kSizeCheckWork), room);
    if (!fetch.outcome.ok()) {
        if (rowShown) m_view.DeleteRow(ControlId::DeviceList, position);
        return fetch.outcome;
    }
    ROWELEMENT song = record;
    // Closing without a rebuild must be able to take the file off the device again.
    song.mediaPath = fetch.mediaFile.string();
    m_deviceSongs.Append(song);
    m_pendingCopies.push_back(song);
    m_view.Repaint();
    return fetch.outcome;
}

// ---- "Cloud Midi " ----

void CSonquillDlg::OnCloudMidi() {
    RunCommand([&] {
        if (!CheckCloudReachable(false)) return;
        if (m_deviceRoot.empty()) {
            Show({kSelectDiskMessage, kCaptionErrorUpper, NoticeIcon::Exclamation});
            return;
        }
        if (!BeginDeviceWrite()) return;
        const MidiPackUpdate update = UpdateMidiPack(m_cloud, m_deviceRoot, ProgressWindow(),
                                                     NetworkWait(kSizeCheckWork));
        if (!DeviceStillThere()) return;
        std::string failures;
        for (const MidiPackFetch& fetch : update.fetched) {
            if (fetch.outcome.ok()) continue;
            failures += std::string("\n") + fetch.file->localName + ": " + DescribeOutcome(fetch.outcome);
        }
        if (!failures.empty()) Show(AppNotice(kMidiFailedMessage + failures, NoticeIcon::Exclamation));
        for (const Notice& notice : update.notices) Show(notice);
    });
}

}  // namespace songloader
