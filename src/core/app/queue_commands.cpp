// SPDX-License-Identifier: GPL-3.0-or-later
// The queue's own questions and changes: a song queued that repeats one listed, and the language
// or artist of several queued songs set at once.
#include "core/app/dialog_texts.h"
#include "core/app/filled_text.h"
#include "core/app/sonquill_dlg.h"
#include "core/catalogue/language_table.h"
#include "core/entry/add_queue.h"
#include "core/entry/import_plan.h"
#include "core/text/code_page.h"

namespace songloader {

bool CSonquillDlg::QueueRepeatConfirmed(const ROWELEMENT& song) {
    // Cloud rows in the work list are offers, not queued songs.
    const SongList noQueue;
    const SongList& queued = m_cloudListShown ? noQueue : static_cast<const SongList&>(m_workSongs);
    const auto repeat = FindRepeat(song, m_deviceSongs, queued, m_settings.codePage);
    if (!repeat) return true;
    return Show({std::string(kRepeatsQuestion) + "\n" + *repeat + "\n\n" + kRepeatsQuestionEnd, kCaptionNote,
                 NoticeIcon::Question},
                MessageButtons::YesNo) == MessageAnswer::Yes;
}

void CSonquillDlg::OnWorkListSelectionChange() {
    // A selection a command makes is its own business; cloud rows are not revised.
    if (m_busy || m_cloudListShown) return;
    if (m_view.SelectedRows(ControlId::WorkList).size() > 1) {
        m_view.Enable(ControlId::Revise, true);
    } else if (m_editTarget == EditTarget::None) {
        m_view.Enable(ControlId::Revise, false);
    }
}

void CSonquillDlg::ReviseSelectedQueuedSongs(const std::vector<int>& rows) {
    const int language = m_view.ComboSelection(ControlId::EntryLanguage);
    const bool languageChosen = language >= 0 && language < static_cast<int>(kEntryLanguageItems.size());
    const std::string artistTyped = m_view.GetText(ControlId::Artist);
    if (!languageChosen && artistTyped.empty()) {
        Show({kChooseLanguageFirstMessage, kCaptionNote, NoticeIcon::None});
        m_view.SetFocus(ControlId::EntryLanguage);
        return;
    }
    const auto artist = Utf8ToDevice(artistTyped, m_settings.codePage);
    if (!artist) {
        Show(AppNotice(FilledText(kTextNotStorableMessage, {m_settings.codePage}), NoticeIcon::Exclamation));
        return;
    }
    // Every changed song is checked before the first one changes: all or none.
    std::vector<std::pair<int, ROWELEMENT>> revised;
    for (int row : rows) {
        if (row < 0 || row >= static_cast<int>(m_workSongs.size())) continue;
        ROWELEMENT song = m_workSongs[static_cast<std::size_t>(row)];
        if (languageChosen)
            SetLanguage(song, LanguageFromText(kEntryLanguageItems[static_cast<std::size_t>(language)]));
        if (!artist->empty()) song.artist = *artist;
        if (!CheckEnteredSong(song, false, row)) return;
        revised.emplace_back(row, std::move(song));
    }
    for (const auto& [row, song] : revised) {
        m_workSongs.Replace(static_cast<std::size_t>(row), song);
        m_view.SetRowTexts(ControlId::WorkList, row, RowTextsOf(song));
    }
    Show({FilledText(kSeveralRevisedMessage, {std::to_string(revised.size())}), kCaptionNote, NoticeIcon::None});
}

}  // namespace songloader
