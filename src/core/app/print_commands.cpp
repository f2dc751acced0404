// SPDX-License-Identifier: GPL-3.0-or-later
// "Print", the standard print command and "Print Preview": the device list, 40 songs a page.
#include "core/app/sonquill_dlg.h"
#include "core/output/print/song_list_pages.h"

namespace songloader {

void CSonquillDlg::EnableOutput(bool previewOnly) {
    if (!previewOnly) m_view.Enable(ControlId::Print, true);
    m_view.Enable(ControlId::PrintPreview, true);
    if (!previewOnly) m_view.Enable(ControlId::ExportSongList, true);
    m_outputEnabled = true;
}

void CSonquillDlg::DisableOutputWithoutDeviceSongs() {
    if (!m_deviceSongs.empty()) return;
    m_outputEnabled = false;
    m_view.Enable(ControlId::Print, false);
    m_view.Enable(ControlId::PrintPreview, false);
    m_view.Enable(ControlId::ExportSongList, false);
}

void CSonquillDlg::OnPrint() {
    RunCommand([&] { StartPrintJob(); });
}

void CSonquillDlg::OnPrintPreview() {
    RunCommand([&] { StartPrintPreview(); });
}

// Pages are rendered from the device list as it is at each page; the page count is fixed at the
// start. An empty list has no page to print: the command ends silently instead of handing the
// print dialog a range of 1 to 0.
void CSonquillDlg::StartPrintJob() {
    if (m_deviceSongs.empty()) return;
    m_view.RunPrintJob(print::HighestPage(m_deviceSongs.size()),
                       print::SongListPageRenderer(m_deviceSongs, m_settings.thai, m_settings.codePage));
}

void CSonquillDlg::StartPrintPreview() {
    if (m_deviceSongs.empty()) return;
    const PreviewEnd end =
        m_view.RunPrintPreview(print::HighestPage(m_deviceSongs.size()),
                               print::SongListPageRenderer(m_deviceSongs, m_settings.thai, m_settings.codePage));
    // The preview's print button ends the preview and issues the print command.
    if (end == PreviewEnd::PrintChosen) StartPrintJob();
}

}  // namespace songloader
