// SPDX-License-Identifier: GPL-3.0-or-later
// Writing to the device: "Add to USB Drive" with queued user songs, "Delete", and the catalogue
// rebuild that ends every change of the device's songs.
#include <algorithm>
#include <set>
#include <system_error>

#include "core/app/dialog_texts.h"
#include "core/app/filled_text.h"
#include "core/app/sonquill_dlg.h"
#include "core/device/device_layout.h"
#include "core/entry/add_queue.h"
#include "core/entry/device_songs.h"
#include "core/entry/media_files.h"
#include "core/entry/placement_journal.h"

namespace songloader {

void CSonquillDlg::OnAddToDevice() {
    RunCommand([&] {
        m_lastBatch = {};
        m_batchRunning = true;
        if (m_device.songFolder().empty()) {
            // Nothing to write to: without this the catalogue would land in the current folder.
            Show({kSelectDiskMessage, kCaptionErrorUpper, NoticeIcon::Exclamation});
            return;
        }
        if (!CatalogueWritable()) return;
        if (!BeginDeviceWrite()) return;
        if (m_cloudListShown) {
            AddCloudSongs();
        } else {
            AddQueuedSongs();
        }
    });
}

bool CSonquillDlg::CatalogueWritable() {
    // A catalogue rebuilt from a list that is not the device's would drop the songs it lacks.
    if (m_deviceListRead) return true;
    Show(AppNotice(kDeviceListUnreadMessage, NoticeIcon::Exclamation));
    return false;
}

void CSonquillDlg::AddQueuedSongs() {
    std::uint64_t total = 0;
    for (const ROWELEMENT& song : m_workSongs) {
        std::error_code error;
        const auto size = std::filesystem::file_size(song.mediaPath, error);
        if (!error) total += MebibytesRoundedUp(size);
    }
    m_view.SetProgressRange(1, static_cast<int>(total));
    m_progressRangeOfCopy = static_cast<int>(total);
    int row = static_cast<int>(m_deviceSongs.size());
    const SongList queue = m_workSongs;
    // More than one file: the user may stop the batch after the file being copied.
    const bool stoppable = queue.size() > 1;
    if (stoppable) m_view.OfferStop(true);
    // Songs the player plays only after conversion were agreed to when they were queued.
    const Result<AddReport> report = AddThroughConverter(queue, BatchHooks(row));
    if (stoppable) m_view.OfferStop(false);
    if (!report) {
        // Nothing was copied: the queue stays as it is.
        Show(AppNotice(report.message(), NoticeIcon::Exclamation));
        return;
    }
    const bool deviceThere = TakeAddReport(*report);
    if (!deviceThere) return;
    m_view.SetProgressPos(static_cast<int>(total));
    ClearList(ControlId::WorkList);
    // Songs that did not reach the device stay queued, so nothing the user typed is lost.
    std::string failures;
    for (const SongNotAdded& refused : report->notAdded) {
        AppendRow(ControlId::WorkList, refused.song);
        failures +=
            "\n" + ToView(refused.song.numberText) + " " + ToView(refused.song.title) + ": " + refused.why.message;
    }
    m_view.SetProgressRange(1, 500);
    m_view.SetProgressPos(500);
    if (!failures.empty()) Show(AppNotice(kCopyFailedMessage + failures, NoticeIcon::Exclamation));
    // Nothing arrived: the catalogue is still written from the list, as every add ends (unless it
    // has just failed).
    if (report->added.empty() && report->uncatalogued.empty() && !report->catalogueFailure) {
        RebuildCatalogue(RebuildMode::Add);
        return;
    }
    ShowAddOutcome(*report, false);
}

AddHooks CSonquillDlg::BatchHooks(int& row) {
    AddHooks hooks;
    m_batchRows.clear();
    // The song's row stands in the device list while its file comes.
    hooks.onFileStart = [this, &row](const ROWELEMENT& song, const BatchProgress& progress) {
        m_view.InsertRow(ControlId::DeviceList, row, RowTextsOf(song));
        // The download window tells which song of how many, and the bytes of the whole batch.
        if (m_cloudListShown) {
            m_view.SetTransferBatch({progress.fileIndex + 1, progress.fileCount,
                                     std::max(m_batchBytesDone, progress.batchBytesDone),
                                     std::max(m_batchBytes, progress.batchBytes)});
        }
    };
    hooks.onBytes = [this](const BatchProgress& progress) {
        StepProgress(static_cast<int>(MebibytesRoundedUp(progress.batchBytesDone)));
    };
    hooks.onFileEnd = [this, &row](const ROWELEMENT& song, const Result<std::filesystem::path>& placed) {
        if (placed) {
            std::error_code error;
            // A copy goes in place with the rest of its batch: until then its size is its source's.
            auto size = std::filesystem::file_size(*placed, error);
            if (error && !song.mediaPath.empty()) {
                error.clear();
                size = std::filesystem::file_size(song.mediaPath, error);
            }
            if (!error) m_batchBytesDone += size;
            ++row;
            m_batchRows.push_back(song.number);
            m_view.Repaint();
        } else {
            m_view.DeleteRow(ControlId::DeviceList, row);
        }
    };
    // Closing the window or the stop the view offers ends a batch after the file being copied;
    // what arrived is catalogued, the rest stays queued.
    hooks.stopAfterCurrent = [this] { return m_closeRequested || m_view.StopRequested(); };
    hooks.rebuildHooks.onSong = [this](std::size_t done, std::size_t total) {
        if (done == 1) m_view.SetProgressRange(1, static_cast<int>(total));
        StepProgress(static_cast<int>(done));
    };
    return hooks;
}

bool CSonquillDlg::TakeAddReport(const AddReport& report) {
    if (report.deviceLost) {
        // The device list is gone with the device; what arrived is recorded on the stick, and
        // stays pending here for the close question until that stick's next write catalogues it.
        for (const ROWELEMENT& song : report.uncatalogued) {
            AddPending(song);
            for (std::size_t i = m_workSongs.size(); i-- > 0;) {
                if (m_workSongs[i].number == song.number) {
                    m_workSongs.Erase(i);
                    m_view.DeleteRow(ControlId::WorkList, static_cast<int>(i));
                }
            }
        }
        return false;
    }
    // Songs whose copies came but are not on the device (not put in place, or taken off again
    // because the catalogue could not take them): their rows go.
    std::set<std::int32_t> onDevice;
    for (const SongList* songs : {&report.added, &report.uncatalogued}) {
        for (const ROWELEMENT& song : *songs) onDevice.insert(song.number);
    }
    for (std::size_t i = m_batchRows.size(); i-- > 0;) {
        if (!onDevice.contains(m_batchRows[i])) {
            m_view.DeleteRow(ControlId::DeviceList, static_cast<int>(m_deviceSongs.size() + i));
        }
    }
    m_batchRows.clear();
    for (const SongNotAdded& refused : report.notAdded) m_lastBatch.notAdded.push_back(ToView(refused.song.title));
    for (const ROWELEMENT& song : report.added) {
        m_deviceSongs.Append(song);
        m_lastBatch.added.push_back(ToView(song.title));
    }
    for (const ROWELEMENT& song : report.uncatalogued) {
        m_deviceSongs.Append(song);
        m_lastBatch.added.push_back(ToView(song.title));
        AddPending(song);
    }
    return true;
}

void CSonquillDlg::ShowAddOutcome(const AddReport& report, bool notAddedShown) {
    if (report.catalogueFailure) {
        // The old catalogue stands; the copies were taken off again (or stay pending, recorded on
        // the device).
        ShowDeviceSummary();
        for (const Notice& notice : report.notices) Show(notice);
        return;
    }
    if (report.added.empty()) return;
    Notices notices = report.notices;
    if (notAddedShown) {
        std::erase_if(notices, [](const Notice& notice) { return notice.text == kAddedMessage; });
    }
    AfterCatalogueWritten(notices);
}

void CSonquillDlg::AddPending(const ROWELEMENT& song) {
    m_pendingCopies.push_back(song);
    m_pendingDevices.push_back(m_device.identity());
}

void CSonquillDlg::DropPendingOfDevice(const std::function<bool(const ROWELEMENT&)>& which) {
    for (std::size_t i = m_pendingCopies.size(); i-- > 0;) {
        if (m_pendingDevices[i] == m_device.identity() && which(m_pendingCopies[i])) {
            m_pendingCopies.erase(m_pendingCopies.begin() + static_cast<std::ptrdiff_t>(i));
            m_pendingDevices.erase(m_pendingDevices.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
}

void CSonquillDlg::AfterCatalogueWritten(const Notices& notices) {
    // Every song of this device's list is in its catalogue now.
    DropPendingOfDevice([](const ROWELEMENT&) { return true; });
    m_view.SetProgressRange(1, 500);
    m_view.SetProgressPos(500);
    EnableOutput(false);
    ShowDeviceSummary();
    for (const Notice& notice : notices) Show(notice);
}

bool CSonquillDlg::RebuildCatalogue(RebuildMode mode, const std::function<void()>& afterCommit) {
    if (!CatalogueWritable()) return false;
    const int count = static_cast<int>(m_deviceSongs.size());
    if (count > 0) m_view.SetProgressRange(1, count);
    RebuildHooks hooks;
    hooks.onSong = [&](std::size_t done, std::size_t) { StepProgress(static_cast<int>(done)); };
    const std::optional<Result<CatalogueWritten>> result = m_device.Rebuild(m_deviceSongs, mode, hooks);
    if (!result) return false;  // the device went: its loss was reported
    m_view.SetProgressPos(count);
    if (!*result) {
        // The old catalogue stands; the copies stay pending so that closing can take them back.
        for (const Notice& notice : result->failure().AsNotices()) Show(notice);
        return false;
    }
    if (afterCommit) afterCommit();
    AfterCatalogueWritten((*result)->notices);
    return true;
}

void CSonquillDlg::OnDeleteSong() {
    RunCommand([&] {
        const ControlId list = m_menuList;
        const int row = m_menuRow;
        if (list == ControlId::None || row < 0) return;
        m_menuList = ControlId::None;
        m_menuRow = -1;
        DeleteListedSong(list, row, {kConfirmDeleteQuestion, kCaptionNote, NoticeIcon::None});
    });
}

void CSonquillDlg::OnDeleteKey(ControlId list, int row) {
    RunCommand([&] {
        if (list != ControlId::WorkList && list != ControlId::DeviceList) return;
        if (row < 0 || row >= static_cast<int>(RecordsOf(list).size())) return;
        // A key press is easily made by mistake: the question names the song.
        const ROWELEMENT& song = RecordsOf(list)[static_cast<std::size_t>(row)];
        DeleteListedSong(list, row,
                         {FilledText(kDeleteSongQuestion, {ToView(song.numberText), ToView(song.title)}), kCaptionNote,
                          NoticeIcon::Question});
    });
}

void CSonquillDlg::DeleteListedSong(ControlId list, int row, const Notice& question) {
    NumberedSongList& records = RecordsOf(list);
    if (row >= static_cast<int>(records.size())) return;
    if (list == ControlId::DeviceList && !CatalogueWritable()) return;
    if (Show(question, MessageButtons::YesNo) != MessageAnswer::Yes) return;
    if (list == ControlId::DeviceList && !BeginDeviceWrite()) return;

    const ROWELEMENT song = records[static_cast<std::size_t>(row)];
    m_view.DeleteRow(list, row);
    records.Erase(static_cast<std::size_t>(row));
    // Keep the form's edit position on the song it was loaded from.
    const bool editedHere = m_editTarget == EditTargetOf(list);
    const int editRowBefore = m_editRow;
    if (editedHere && m_editRow == row) ClearForm();
    else if (editedHere && m_editRow > row) --m_editRow;
    if (list == ControlId::WorkList) return;

    // Recorded, the files removed, then the catalogue: a full device can be emptied.
    const int count = static_cast<int>(m_deviceSongs.size()) + 1;
    m_view.SetProgressRange(1, count);
    DeleteHooks hooks;
    hooks.rebuildHooks.onSong = [this](std::size_t done, std::size_t) { StepProgress(static_cast<int>(done)); };
    SongList before = m_deviceSongs;
    before.insert(before.begin() + row, song);
    const Result<CatalogueWritten> deleted = m_device.DeleteSong(before, static_cast<std::size_t>(row), hooks);
    if (!deleted) {
        if (!m_device.writing()) return;  // the device went: its loss was reported
        Show(AppNotice(deleted.message(), NoticeIcon::Exclamation));
        // A recorded delete is finished by the next write: the song stays out of the list.
        if (JournalLeftOver(m_device.songFolder())) return;
        records.Insert(static_cast<std::size_t>(row), song);
        m_view.InsertRow(list, row, RowTextsOf(song));
        if (editedHere && editRowBefore > row) ++m_editRow;
        return;
    }
    AfterCatalogueWritten(deleted->notices);
}

}  // namespace songloader
