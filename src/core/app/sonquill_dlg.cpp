// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/app/sonquill_dlg.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "core/app/dialog_texts.h"
#include "core/text/code_page.h"

namespace songloader {

CSonquillDlg::CSonquillDlg(DialogView& view, const DriveSystem& drives, const CloudClient& cloud,
                           DialogSettings settings)
    : m_view(view), m_drives(drives), m_cloud(cloud), m_settings(std::move(settings)) {}

bool CSonquillDlg::RunCommand(const std::function<void()>& body) {
    if (m_busy) return false;
    m_busy = true;
    {
        // The device lock is held for the whole command and let go when it ends.
        m_view.CommandStarted();
        struct Release {
            CSonquillDlg& dlg;
            ~Release() {
                dlg.m_device.EndWrite();
                dlg.m_batchRunning = false;
                dlg.m_busy = false;
                dlg.m_view.CommandEnded();
            }
        } release{*this};
        body();
        RefreshDeviceFilter();
        // Whatever the command did to the device list, the output commands never stay on for an
        // empty one (the timer would catch it only later).
        if (m_outputEnabled && m_deviceSongs.empty()) DisableOutputWithoutDeviceSongs();
    }
    if (!m_deferredMountEvents.empty()) OnMountChanges(std::exchange(m_deferredMountEvents, {}));
    if (m_closeRequested) {
        m_closeRequested = false;
        RunCommand([&] { RequestClose(); });
    }
    return true;
}

// ---- text at the view's edge ----

std::string CSonquillDlg::ToView(const std::string& deviceBytes) const {
    return DeviceToUtf8(deviceBytes, m_settings.codePage);
}

RowTexts CSonquillDlg::RowTextsOf(const ROWELEMENT& song) const {
    return {ToView(song.numberText), ToView(song.languageText), ToView(song.title),
            ToView(song.artist),     ToView(song.composer),     ToView(song.lyricist)};
}

Notice CSonquillDlg::AppNotice(std::string text, NoticeIcon icon) const {
    return {std::move(text), kApplicationName, icon};
}

MessageAnswer CSonquillDlg::Show(const Notice& notice, MessageButtons buttons) {
    if (m_batchRunning && (notice.icon == NoticeIcon::Exclamation || notice.caption == kCaptionError ||
                           notice.caption == kCaptionErrorUpper)) {
        m_lastBatch.failures.push_back(notice.text);
    }
    return m_view.ShowMessage(notice, buttons);
}

// ---- record lists and their views ----

NumberedSongList& CSonquillDlg::RecordsOf(ControlId list) {
    return list == ControlId::DeviceList ? m_deviceSongs : m_workSongs;
}

EditTarget CSonquillDlg::EditTargetOf(ControlId list) {
    return list == ControlId::DeviceList ? EditTarget::DeviceList : EditTarget::WorkList;
}

void CSonquillDlg::ClearList(ControlId list, bool viewRowsFollow) {
    RecordsOf(list).Clear();
    if (list == ControlId::DeviceList) {
        m_deviceListRead = false;
        m_device.ForgetList();
    }
    if (!viewRowsFollow) m_view.DeleteAllRows(list);
    // Positions into the emptied list no longer name a song.
    if (m_editTarget == EditTargetOf(list)) {
        m_editTarget = EditTarget::None;
        m_editRow = -1;
        m_view.Enable(ControlId::Revise, false);
        EnableNewSongControls(true);
    }
    if (m_menuList == list) {
        m_menuList = ControlId::None;
        m_menuRow = -1;
    }
    if (list == ControlId::DeviceList) ShowDeviceSummary();
}

void CSonquillDlg::AppendRow(ControlId list, const ROWELEMENT& song) {
    NumberedSongList& records = RecordsOf(list);
    m_view.InsertRow(list, static_cast<int>(records.size()), RowTextsOf(song));
    records.Append(song);
}

void CSonquillDlg::StepProgress(int position) {
    m_view.PumpMessage();
    m_view.SetProgressPos(position);
    m_view.Repaint();
}

// ---- start-up and window ----

void CSonquillDlg::OnInitDialog() {
    // Empty until there is work to show: a full bar at start would read as work done.
    m_view.SetProgressRange(1, 500);
    m_view.SetProgressPos(1);
    m_view.Enable(ControlId::Revise, false);
    m_view.Enable(ControlId::SelectAll, false);
    m_view.StartTimer(kDialogTimerId, kDialogTimerMilliseconds);
    m_view.Enable(ControlId::ExportSongList, false);
    m_view.SetComboSelection(ControlId::SearchLanguage, 0);
    m_view.SetText(ControlId::SearchBox, kSearchPlaceholder);
    m_view.ShowCheckBoxes(ControlId::WorkList, false);
    m_view.ShowCheckBoxes(ControlId::DeviceList, false);
}

void CSonquillDlg::OnTimer() {
    // A running command may hold the device list empty for a moment (re-reading it while a
    // network wait lets timers run); its own end checks the list, so the timer keeps out.
    if (m_busy) return;
    // Whoever fills the device list enables the output commands again.
    DisableOutputWithoutDeviceSongs();
}

void CSonquillDlg::OnOk() {}

void CSonquillDlg::OnCancel() {
    if (FormOrWorkListHoldsAnything()) return;
    if (m_busy) m_closeRequested = true;
    RunCommand([&] { RequestClose(); });
}

bool CSonquillDlg::OnSysCommand(SysCommand command) {
    // Dropping it would leave the window open with the user believing it closes.
    if (m_busy && command == SysCommand::Close) m_closeRequested = true;
    bool handled = true;
    RunCommand([&] {
        m_numberVisited = false;
        switch (command) {
            case SysCommand::About: m_view.ShowAbout(); break;
            case SysCommand::Close: RequestClose(); break;
            case SysCommand::ContextHelp: m_view.OpenHelp(); break;
            case SysCommand::Other: handled = false; break;
        }
    });
    return handled;
}

void CSonquillDlg::OnAbout() {
    RunCommand([&] { m_view.ShowAbout(); });
}

bool CSonquillDlg::FormOrWorkListHoldsAnything() {
    if (!m_workSongs.empty()) return true;
    for (ControlId box : {ControlId::Number, ControlId::Title, ControlId::Artist, ControlId::Composer,
                          ControlId::Lyricist, ControlId::MediaPath}) {
        if (!m_view.GetText(box).empty()) return true;
    }
    return false;
}

void CSonquillDlg::RequestClose() {
    // Songs queued but not added are the user's typing: they never vanish without a word.
    // (Cloud rows carry no media file of this computer; queued user songs always do.)
    const bool userSongsQueued = std::any_of(m_workSongs.begin(), m_workSongs.end(),
                                             [](const ROWELEMENT& song) { return !song.mediaPath.empty(); });
    if (userSongsQueued &&
        Show({kQueuedSongsExitQuestion, kCaptionNote, NoticeIcon::None}, MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    if (!m_pendingCopies.empty()) {
        if (Show({kExitQuestion, kCaptionNote, NoticeIcon::None}, MessageButtons::YesNo) != MessageAnswer::Yes) return;
        // The copies are not in the device's catalogue: take them off the device again.
        const int count = static_cast<int>(m_pendingCopies.size());
        m_view.SetProgressRange(1, count + 1);
        // Only from the volume they were copied to: a stick put in its place keeps its files, and
        // another stick's copies are catalogued by its own next write.
        std::optional<DeviceWriteSession> session;
        if (m_device.identity()) session.emplace(*m_device.identity(), m_device.root(), m_device.mountFiles());
        const bool sameDevice = session && session->ready();
        for (std::size_t i = 0; i < m_pendingCopies.size(); ++i) {
            const ROWELEMENT& song = m_pendingCopies[i];
            std::error_code ignored;
            if (sameDevice && m_pendingDevices[i] == m_device.identity() && !song.mediaPath.empty()) {
                std::filesystem::remove(song.mediaPath, ignored);
            }
        }
        m_view.SetProgressPos(count + 1);
        m_pendingCopies.clear();
        m_pendingDevices.clear();
        m_view.StopTimer(kDialogTimerId);
    }
    m_view.CloseWindow();
}

void CSonquillDlg::OnSearchSetFocus() {
    if (m_view.GetText(ControlId::SearchBox) == kSearchPlaceholder) m_view.SetText(ControlId::SearchBox, "");
}

void CSonquillDlg::OnSearchKillFocus() {
    if (m_view.GetText(ControlId::SearchBox).empty()) m_view.SetText(ControlId::SearchBox, kSearchPlaceholder);
}

}  // namespace songloader
