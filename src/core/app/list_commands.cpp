// SPDX-License-Identifier: GPL-3.0-or-later
// Clicks on the list views, the context menu target, "Select All" and "Export Song List".
#include <algorithm>

#include "core/app/dialog_texts.h"
#include "core/app/sonquill_dlg.h"
#include "core/catalogue/language_table.h"
#include "core/output/song_list_export.h"

namespace songloader {

bool CSonquillDlg::OnWorkListClick(int row, bool onCheckBox) {
    bool handled = false;
    RunCommand([&] {
        if (!onCheckBox || row < 0 || row >= static_cast<int>(m_workSongs.size())) return;
        m_currentSong = m_workSongs[static_cast<std::size_t>(row)];
        if (!m_deviceSongs.Contains(m_currentSong.number)) return;
        handled = true;
        Show({kSongDownloadedMessage, kCaptionNote, NoticeIcon::None});
    });
    return handled;
}

void CSonquillDlg::OnListRightClick(ControlId list, int row) {
    RunCommand([&] {
        const bool onRow = row >= 0 && row < static_cast<int>(RecordsOf(list).size());
        m_menuList = onRow ? list : ControlId::None;
        m_menuRow = onRow ? row : -1;
        m_view.ShowContextMenu(onRow);
    });
}

void CSonquillDlg::OnSelectAll() {
    RunCommand([&] {
        m_selectAllState = !m_selectAllState;
        const std::size_t rows = std::min(m_workRowCount, m_workSongs.size());
        for (std::size_t i = 0; i < rows; ++i) {
            m_currentSong = m_workSongs[i];
            // Songs already on the device keep their tick.
            if (!m_deviceSongs.Contains(m_currentSong.number)) {
                m_view.SetRowChecked(ControlId::WorkList, static_cast<int>(i), m_selectAllState);
            }
        }
        m_view.Repaint();
    });
}

void CSonquillDlg::OnExportSongList() {
    RunCommand([&] {
        FileDialogOptions options;
        options.filter = kExportFileFilter;
        options.defaultExtension = kExportDefaultExtension;
        options.confirmOverwrite = true;
        const auto chosen = m_view.ChooseSaveFile(options);
        if (!chosen || chosen->empty()) {
            Show({kExportCancelledMessage, kCaptionNote, NoticeIcon::None});
            return;
        }
        std::filesystem::path file = *chosen;
        if (!file.has_extension()) file += std::string(".") + kExportDefaultExtension;
        const Result<Notice> exported = ExportSongList(m_deviceSongs, file);
        Show(exported ? *exported : exported.failure().AsNotice());
    });
}

}  // namespace songloader
