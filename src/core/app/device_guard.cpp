// SPDX-License-Identifier: GPL-3.0-or-later
// The chosen device stays the device written: the write lock and identity check of every writing
// command, removal and insertion seen in the mount table, and "Eject USB Drive".
#include <algorithm>

#include "core/app/dialog_texts.h"
#include "core/app/sonquill_dlg.h"

namespace songloader {

namespace {

bool OnVolume(const std::filesystem::path& mountPoint, const std::filesystem::path& folder) {
    const std::filesystem::path inside = folder.lexically_normal().lexically_relative(mountPoint.lexically_normal());
    return !inside.empty() && *inside.begin() != "..";
}

}  // namespace

bool CSonquillDlg::BeginDeviceWrite() {
    if (m_device.writing()) return m_device.StillHolds();
    const Result<MendReport, WriteRefusal> taken = m_device.BeginWrite();
    if (!taken) {
        switch (taken.failure().why) {
            case WriteRefused::Busy:
            case WriteRefused::Unwritable: Show({taken.message(), kCaptionErrorUpper, NoticeIcon::Exclamation}); break;
            case WriteRefused::Changed: ReportDeviceChanged(); break;
            case WriteRefused::ListChanged:
                // The songs in memory are no longer the stick's: show what it holds now.
                ClearDeviceSongs();
                ReadDeviceFolderList();
                Show(AppNotice(kDeviceListChangedMessage, NoticeIcon::Exclamation));
                break;
            case WriteRefused::Unmended: Show(AppNotice(taken.message(), NoticeIcon::Exclamation)); break;
        }
        return false;
    }
    for (const std::string& problem : taken->problems) Show(AppNotice(problem, NoticeIcon::Exclamation));
    TakeMendedCatalogue(*taken);
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
            if (m_device.root().empty() || m_deviceLossShown || !OnVolume(event.mountPoint, m_device.root())) continue;
            if (m_device.StillChosen()) continue;
            ReportDeviceChanged();
        } else if (m_device.songFolder().empty()) {
            // Offered only: nothing is read or written until the user chooses it.
            std::string offer = kDeviceOfferText;
            offer.replace(offer.find("%s"), 2, event.mountPoint.string());
            m_view.SetText(ControlId::SongFolderText, offer);
        }
    }
}

void CSonquillDlg::OnEjectDevice() {
    RunCommand([&] {
        if (m_device.root().empty()) {
            Show({kSelectDiskMessage, kCaptionErrorUpper, NoticeIcon::Exclamation});
            return;
        }
        if (std::find(m_pendingDevices.begin(), m_pendingDevices.end(), m_device.identity()) !=
            m_pendingDevices.end()) {
            Show(AppNotice(kEjectPendingMessage, NoticeIcon::Exclamation));
            return;
        }
        if (!m_device.StillChosen()) {
            ReportDeviceChanged();
            return;
        }
        const auto mountPoint = m_drives.VolumeHolding(m_device.root());
        if (!m_settings.ejector || !mountPoint) {
            Show(AppNotice(kEjectUnavailableMessage, NoticeIcon::Exclamation));
            return;
        }
        // Flushing and the disk service may take seconds: the window paints meanwhile.
        Result<> ejected = Fail("The USB drive was not ejected.");
        m_view.RunWork([&] { ejected = EjectDevice(*m_settings.ejector, *mountPoint, m_device.songFolder()); },
                       "Ejecting the USB drive");
        if (!ejected) {
            Show(AppNotice(ejected.message(), NoticeIcon::Exclamation));
            return;
        }
        // The device is gone for good: forget it, keep the user's queued songs.
        ClearDeviceSongs();
        m_device = DeviceSession();
        m_view.SetText(ControlId::SongFolderText, "");
        Show({kEjectedMessage, kCaptionNote, NoticeIcon::None});
    });
}

}  // namespace songloader
