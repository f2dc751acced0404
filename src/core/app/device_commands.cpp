// SPDX-License-Identifier: GPL-3.0-or-later
// "Auto-Check USB Drive", "Select USB Drive" and reading the device's song list.
#include "core/app/dialog_texts.h"
#include "core/app/filled_text.h"
#include "core/app/sonquill_dlg.h"
#include "core/catalogue/language_table.h"
#include "core/device/device_layout.h"
#include "core/entry/song_folder_check.h"

namespace songloader {

void CSonquillDlg::PublishDeviceFolder(const std::filesystem::path& root) {
    // A folder that cannot be created shows up as failures of the reads and writes in it.
    // A folder that cannot be made is reported by the first write (the device write session).
    (void)EnsureSongFolder(SongFolderOf(root));
    // From now on only this volume is written as the device.
    m_device = DeviceSession(root, m_settings.codePage, m_settings.mountFiles);
    m_device.OnLoss([this] { ReportDeviceChanged(); });
    m_deviceLossShown = false;
    // What a killed run (or this window, when the stick went) left is finished before the list is
    // read: replacements, recorded copies, moves and deletes, and stale temporaries.
    if (const Result<MendReport> mended = m_device.MendOnChoice(); !mended) {
        Show(AppNotice(mended.message(), NoticeIcon::Exclamation));
    } else {
        for (const std::string& problem : mended->problems) Show(AppNotice(problem, NoticeIcon::Exclamation));
        // Pending copies of this stick that its record catalogued (or took off) are no longer pending.
        for (const SongList* finished : {&mended->catalogued, &mended->notAdded}) {
            for (const ROWELEMENT& song : *finished) {
                DropPendingOfDevice([&](const ROWELEMENT& pending) { return pending.number == song.number; });
            }
        }
    }
    m_view.Repaint();
    m_view.SetText(ControlId::SongFolderText, (m_device.songFolder() / "").string());
}

bool CSonquillDlg::ReadListIntoView(ListKind kind, const std::function<Result<SongList>(const ListReadHooks&)>& read) {
    const ControlId list = kind == ListKind::Device ? ControlId::DeviceList : ControlId::WorkList;
    std::vector<int> marked;  // songs already on the device, marked once all rows stand
    ListReadHooks hooks;
    hooks.onStart = [&](std::size_t count) {
        m_view.SetProgressRange(1, static_cast<int>(count));
        m_view.SetRedraw(list, false);
    };
    NumberedSongList& records = RecordsOf(list);
    const std::size_t first = records.size();
    hooks.onEntry = [&](const ROWELEMENT& song, std::size_t index, std::size_t) {
        m_view.PumpMessage();
        m_view.InsertRow(list, static_cast<int>(first + index), RowTextsOf(song));
        if (kind == ListKind::Cloud && m_deviceSongs.Contains(song.number)) {
            marked.push_back(static_cast<int>(first + index));
        }
        m_view.SetProgressPos(static_cast<int>(index) + 1);
        m_view.Repaint();
    };
    Result<SongList> songs = read(hooks);
    if (!songs) {
        Show(songs.failure().AsNotice());
        return false;
    }
    // The songs read become the records themselves (a 65,535-song list is not held twice).
    if (!songs->empty()) m_currentSong = songs->back();
    const std::size_t count = songs->size();
    for (ROWELEMENT& song : *songs) records.Append(std::move(song));
    *songs = SongList();
    m_view.SetProgressPos(static_cast<int>(count));
    m_view.SetRedraw(list, true);
    if (!marked.empty()) m_view.MarkRows(list, marked);
    if (kind == ListKind::Cloud) {
        m_workRowCount = count;
    } else {
        m_view.SetProgressRange(1, 500);
        m_view.SetProgressPos(500);
    }
    return true;
}

bool CSonquillDlg::ReadDeviceFolderList(const std::function<void()>& beforeRead) {
    if (!FindListFile(m_device.songFolder(), kDeviceListName)) {
        // A device without songs: what it holds now is what the window holds.
        (void)m_device.ReadSongs();
        m_deviceListRead = true;
        ShowDeviceSummary();
        return true;
    }
    if (beforeRead) beforeRead();
    m_view.Enable(ControlId::DeviceList, false);
    const bool ok =
        ReadListIntoView(ListKind::Device, [&](const ListReadHooks& hooks) { return m_device.ReadSongs(hooks); });
    m_view.Enable(ControlId::DeviceList, true);
    m_deviceListRead = ok;
    if (!ok) {
        m_device.ForgetList();
        m_view.Enable(ControlId::AutoCheckDevice, true);
        return false;
    }
    m_view.Enable(ControlId::QueueToAdd, true);
    m_view.Enable(ControlId::ClearFields, true);
    // A device with songs can be printed and exported as read, not only after a song was added.
    if (!m_deviceSongs.empty()) EnableOutput(false);
    ShowDeviceSummary();
    return true;
}

void CSonquillDlg::OnAutoCheckDevice() {
    RunCommand([&] {
        EnableOutput(true);
        if (!m_deviceSongs.empty()) {
            ClearList(ControlId::DeviceList);
            m_view.Repaint();
        }
        const auto drive = ChooseDeviceDrive(m_drives);
        if (!drive) {
            Show({kInsertDeviceMessage, kCaptionErrorUpper, NoticeIcon::Exclamation});
            return;
        }
        PublishDeviceFolder(*drive);
        m_cloudListShown = false;
        ClearList(ControlId::WorkList);
        ReadDeviceFolderList();
    });
}

void CSonquillDlg::OnSelectDevice() {
    RunCommand([&] {
        if (!m_deviceSongs.empty()) {
            ClearList(ControlId::DeviceList);
            m_view.Repaint();
        }
        const auto picked =
            m_view.ChooseFolder(m_settings.traditionalChinese ? kFolderPickerTitleTraditional : kFolderPickerTitle);
        if (!picked) return;
        if (picked->empty()) {
            // An empty path names no folder: say so (as an empty box, as ever) and go no further.
            Show({"", "", NoticeIcon::Exclamation});
            return;
        }
        // The songs folder of a stick taken as a device would get songs/songs/ and a second catalogue.
        if (IsDeviceSongFolder(m_drives, *picked)) {
            const std::filesystem::path parent = std::filesystem::path(*picked).lexically_normal().parent_path();
            Show(AppNotice(FilledText(kSongFolderPickedMessage, {*picked, parent.string()}), NoticeIcon::Exclamation));
            return;
        }
        const std::filesystem::path root = DeviceRootForPickedFolder(m_drives, *picked);
        std::error_code error;
        if (!std::filesystem::is_directory(SongFolderOf(root), error) &&
            Show(AppNotice(FilledText(kCreateSongFolderQuestion, {root.string()}), NoticeIcon::Question),
                 MessageButtons::YesNo) != MessageAnswer::Yes) {
            return;
        }
        PublishDeviceFolder(root);
        ReadDeviceFolderList();
    });
}

}  // namespace songloader
