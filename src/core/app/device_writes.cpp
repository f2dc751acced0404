// SPDX-License-Identifier: GPL-3.0-or-later
// Writing to the device: "Add to USB Drive" with queued user songs, "Delete", and the catalogue
// rebuild that ends every change of the device's songs.
#include <system_error>

#include "core/app/dialog_texts.h"
#include "core/app/sonquill_dlg.h"
#include "core/device/device_layout.h"
#include "core/device/device_room.h"
#include "core/entry/add_queue.h"
#include "core/entry/media_files.h"

namespace songloader {

void CSonquillDlg::OnAddToDevice() {
    RunCommand([&] {
        if (m_songFolder.empty()) {
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

    SongList failed;
    std::string failures;
    std::uint64_t step = 0;
    for (const ROWELEMENT& queued : m_workSongs) {
        // A lost device keeps the whole queue for when it is chosen again.
        if (!DeviceStillThere()) return;
        if (const auto refusal = RefuseMediaForRoom(queued.mediaPath, m_songFolder)) {
            failed.push_back(queued);
            failures += "\n" + ToView(queued.numberText) + " " + ToView(queued.title) + ": " + *refusal;
            continue;
        }
        const int row = static_cast<int>(m_deviceSongs.size());
        m_view.InsertRow(ControlId::DeviceList, row, RowTextsOf(queued));
        const auto target = MediaTargetPath(m_songFolder, queued.numberText, queued.mediaPath);
        // Just before the copy: a number the device took meanwhile (an earlier song of this
        // queue, say) would replace that song's file and list two songs under one number.
        MediaResult copy;
        if (const auto duplicate = CheckDuplicateNumber(queued.number, {}, m_deviceSongs)) {
            copy.error = duplicate->text;
        } else {
            copy = CopyMediaFile(queued.mediaPath, target,
                                 [&](std::uint64_t) { StepProgress(static_cast<int>(++step)); });
        }
        if (!copy.ok) {
            m_view.DeleteRow(ControlId::DeviceList, row);
            if (!DeviceStillThere()) return;
            failed.push_back(queued);
            failures += "\n" + ToView(queued.numberText) + " " + ToView(queued.title) + ": " + copy.error;
            continue;
        }
        ROWELEMENT song = queued;
        song.mediaPath = copy.path.string();
        m_deviceSongs.Append(song);
        m_pendingCopies.push_back(song);
        m_view.Repaint();
    }
    m_view.SetProgressPos(static_cast<int>(total));
    ClearList(ControlId::WorkList);
    // Songs that did not reach the device stay queued, so nothing the user typed is lost.
    for (const ROWELEMENT& song : failed) AppendRow(ControlId::WorkList, song);
    m_view.SetProgressRange(1, 500);
    m_view.SetProgressPos(500);
    if (!failed.empty()) Show(AppNotice(kCopyFailedMessage + failures, NoticeIcon::Exclamation));
    RebuildCatalogue(RebuildMode::Add);
}

bool CSonquillDlg::RebuildCatalogue(RebuildMode mode, const std::function<void()>& afterCommit) {
    if (!CatalogueWritable()) return false;
    const int count = static_cast<int>(m_deviceSongs.size());
    if (count > 0) m_view.SetProgressRange(1, count);
    RebuildHooks hooks;
    hooks.onSong = [&](std::size_t done, std::size_t) { StepProgress(static_cast<int>(done)); };
    if (!DeviceStillThere()) return false;
    const RebuildResult result = RebuildDeviceCatalogue(m_deviceSongs, m_songFolder, mode, hooks, m_settings.codePage);
    m_view.SetProgressPos(count);
    if (!result.ok && !DeviceStillThere()) return false;
    if (!result.ok) {
        // The old catalogue stands; the copies stay pending so that closing can take them back.
        for (const Notice& notice : result.notices) Show(notice);
        return false;
    }
    m_pendingCopies.clear();
    m_deviceListStamp = StampOf(m_songFolder / kDeviceListName);
    m_view.SetProgressRange(1, 500);
    m_view.SetProgressPos(500);
    EnableOutput(false);
    if (afterCommit) afterCommit();
    for (const Notice& notice : result.notices) Show(notice);
    return true;
}

void CSonquillDlg::OnDeleteSong() {
    RunCommand([&] {
        const ControlId list = m_menuList;
        const int row = m_menuRow;
        if (list == ControlId::None || row < 0) return;
        m_menuList = ControlId::None;
        m_menuRow = -1;
        NumberedSongList& records = RecordsOf(list);
        if (row >= static_cast<int>(records.size())) return;
        if (list == ControlId::DeviceList && !CatalogueWritable()) return;
        const Notice question{kConfirmDeleteQuestion, kCaptionNote, NoticeIcon::None};
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

        // The files go only once the catalogue no longer lists the song.
        const bool rebuilt = RebuildCatalogue(RebuildMode::Delete, [&] {
            DeleteDeviceSongFiles(m_songFolder, song.numberText);
        });
        if (!rebuilt) {
            records.Insert(static_cast<std::size_t>(row), song);
            m_view.InsertRow(list, row, RowTextsOf(song));
            if (editedHere && editRowBefore > row) ++m_editRow;
        }
    });
}

}  // namespace songloader
