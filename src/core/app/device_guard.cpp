// SPDX-License-Identifier: GPL-3.0-or-later
// The chosen device stays the device written: the write lock and identity check of every writing
// command, removal and insertion seen in the mount table, and "Eject USB Drive".
#include <algorithm>

#include "core/app/dialog_texts.h"
#include "core/app/sonquill_dlg.h"
#include "core/catalogue/list_file_reader.h"
#include "core/recovery/interrupted_writes.h"

namespace songloader {

namespace {

bool OnVolume(const std::filesystem::path& mountPoint, const std::filesystem::path& folder) {
    const std::filesystem::path inside = folder.lexically_normal().lexically_relative(mountPoint.lexically_normal());
    return !inside.empty() && *inside.begin() != "..";
}

}  // namespace

bool CSonquillDlg::BeginDeviceWrite() {
    if (m_deviceWrite) return DeviceStillThere();
    if (!m_deviceIdentity) {
        ReportDeviceChanged();
        return false;
    }
    auto session = std::make_unique<DeviceWriteSession>(*m_deviceIdentity, m_deviceRoot, m_settings.mountFiles);
    if (session->status() == DeviceWriteStatus::Busy) {
        Show({kDeviceBusyMessage, kCaptionErrorUpper, NoticeIcon::Exclamation});
        return false;
    }
    if (session->status() == DeviceWriteStatus::Unwritable) {
        Show({session->refusal(), kCaptionErrorUpper, NoticeIcon::Exclamation});
        return false;
    }
    if (!session->ready()) {
        ReportDeviceChanged();
        return false;
    }
    m_deviceWrite = std::move(session);
    // The songs in memory were read when the device was chosen: they must still be the stick's.
    if (m_deviceListRead && m_deviceListStamp && StampOf(m_songFolder / kDeviceListName) != *m_deviceListStamp) {
        m_deviceWrite.reset();
        ClearDeviceSongs();
        ReadDeviceFolderList();
        Show(AppNotice(kDeviceListChangedMessage, NoticeIcon::Exclamation));
        return false;
    }
    // What killed runs left is finished or cleared away first.
    const Result<MendReport> mended = MendInterruptedWrites(m_deviceRoot, m_settings.codePage);
    if (!mended) {
        m_deviceWrite.reset();
        Show(AppNotice(mended.message(), NoticeIcon::Exclamation));
        return false;
    }
    for (const std::string& problem : mended->problems) Show(AppNotice(problem, NoticeIcon::Exclamation));
    TakeMendedCatalogue(*mended);
    return true;
}

void CSonquillDlg::TakeMendedCatalogue(const MendReport& mended) {
    // Copies this window kept pending (a catalogue that could not be written) are in the
    // catalogue now, as the list in memory already shows them, or were taken off the device.
    for (const ROWELEMENT& song : mended.catalogued) {
        DropPendingOfDevice([&](const ROWELEMENT& pending) { return pending.number == song.number; });
    }
    for (const ROWELEMENT& song : mended.notAdded) {
        DropPendingOfDevice([&](const ROWELEMENT& pending) { return pending.number == song.number; });
        for (std::size_t i = m_deviceSongs.size(); i-- > 0;) {
            if (m_deviceSongs[i].number != song.number) continue;
            m_deviceSongs.Erase(i);
            m_view.DeleteRow(ControlId::DeviceList, static_cast<int>(i));
        }
    }
    if (mended.catalogueChanged) m_deviceListStamp = StampOf(m_songFolder / kDeviceListName);
}

bool CSonquillDlg::DeviceStillThere() {
    if (!m_deviceWrite) return false;
    if (m_deviceWrite->StillHolds()) return true;
    m_deviceWrite.reset();
    ReportDeviceChanged();
    return false;
}

void CSonquillDlg::ReportDeviceChanged() {
    m_deviceLossShown = true;
    Show({kDeviceChangedMessage, kCaptionErrorUpper, NoticeIcon::Exclamation});
    // Queued songs and pending copies stay: they go to the device once it is chosen again.
    ClearDeviceSongs();
}

void CSonquillDlg::ClearDeviceSongs() {
    ClearList(ControlId::DeviceList);
    DisableOutputWithoutDeviceSongs();
}

void CSonquillDlg::OnMountChanges(const std::vector<MountEvent>& events) {
    if (m_busy) {
        // A running command finds a lost device itself; the rest waits until it has ended.
        m_deferredMountEvents.insert(m_deferredMountEvents.end(), events.begin(), events.end());
        return;
    }
    for (const MountEvent& event : events) {
        if (event.kind == MountEvent::Kind::Unmounted) {
            if (m_deviceRoot.empty() || m_deviceLossShown || !OnVolume(event.mountPoint, m_deviceRoot)) continue;
            if (m_deviceIdentity && DeviceStillHolds(*m_deviceIdentity, m_deviceRoot, m_settings.mountFiles)) continue;
            ReportDeviceChanged();
        } else if (m_songFolder.empty()) {
            // Offered only: nothing is read or written until the user chooses it.
            std::string offer = kDeviceOfferText;
            offer.replace(offer.find("%s"), 2, event.mountPoint.string());
            m_view.SetText(ControlId::SongFolderText, offer);
        }
    }
}

void CSonquillDlg::OnEjectDevice() {
    RunCommand([&] {
        if (m_deviceRoot.empty()) {
            Show({kSelectDiskMessage, kCaptionErrorUpper, NoticeIcon::Exclamation});
            return;
        }
        if (std::find(m_pendingDevices.begin(), m_pendingDevices.end(), m_deviceIdentity) != m_pendingDevices.end()) {
            Show(AppNotice(kEjectPendingMessage, NoticeIcon::Exclamation));
            return;
        }
        if (!m_deviceIdentity || !DeviceStillHolds(*m_deviceIdentity, m_deviceRoot, m_settings.mountFiles)) {
            ReportDeviceChanged();
            return;
        }
        const auto mountPoint = m_drives.VolumeHolding(m_deviceRoot);
        if (!m_settings.ejector || !mountPoint) {
            Show(AppNotice(kEjectUnavailableMessage, NoticeIcon::Exclamation));
            return;
        }
        // Flushing and the disk service may take seconds: the window paints meanwhile.
        Result<> ejected = Fail("The USB drive was not ejected.");
        m_view.RunWork([&] { ejected = EjectDevice(*m_settings.ejector, *mountPoint, m_songFolder); },
                       "Ejecting the USB drive");
        if (!ejected) {
            Show(AppNotice(ejected.message(), NoticeIcon::Exclamation));
            return;
        }
        // The device is gone for good: forget it, keep the user's queued songs.
        ClearDeviceSongs();
        m_deviceRoot.clear();
        m_songFolder.clear();
        m_deviceIdentity.reset();
        m_view.SetText(ControlId::SongFolderText, "");
        Show({kEjectedMessage, kCaptionNote, NoticeIcon::None});
    });
}

}  // namespace songloader
