// SPDX-License-Identifier: GPL-3.0-or-later
// What the window shows about the device's songs beside the list itself: the search's filter of
// the list and its hit count, and the song count and free space under the list.
#include "core/app/dialog_texts.h"
#include "core/app/filled_text.h"
#include "core/app/sonquill_dlg.h"
#include "core/catalogue/song_search.h"
#include "core/device/device_room.h"
#include "core/text/code_page.h"

namespace songloader {

namespace {

std::string SongCountText(std::size_t count) {
    if (count == 1) return kOneSongText;
    return FilledText(kSongCountText, {std::to_string(count)});
}

// The rows of `songs` the search for `text` finds; an empty text (none the device can hold) finds none.
std::vector<int> HitRows(const NumberedSongList& songs, const std::string& text) {
    std::vector<int> hits;
    if (text.empty()) return hits;
    for (std::size_t i = 0; i < songs.size(); ++i) {
        if (SongMatchesSearch(songs[i], text)) hits.push_back(static_cast<int>(i));
    }
    return hits;
}

}  // namespace

void CSonquillDlg::FilterDeviceList(const std::string& typed) {
    if (typed.empty() && !m_deviceFilter) return;
    if (typed.empty()) {
        m_deviceFilter.reset();
        m_deviceHits.clear();
        m_cloudHits = 0;
        m_view.ShowOnlyRows(ControlId::DeviceList, std::nullopt);
    } else {
        // A text the device's code page cannot hold matches no song.
        const Result<std::string> text = Utf8ToDevice(typed, m_settings.codePage);
        m_deviceFilter = text ? *text : std::string();
        m_deviceHits = HitRows(m_deviceSongs, *m_deviceFilter);
        m_filteredSongs = m_deviceSongs.size();
        m_view.ShowOnlyRows(ControlId::DeviceList, m_deviceHits);
    }
    ShowHitCount();
}

void CSonquillDlg::RefreshDeviceFilter() {
    if (!m_deviceFilter) return;
    std::vector<int> hits = HitRows(m_deviceSongs, *m_deviceFilter);
    // Unchanged rows of an unchanged list are not announced again: the filter is checked after
    // every command.
    if (hits == m_deviceHits && m_deviceSongs.size() == m_filteredSongs) return;
    m_deviceHits = std::move(hits);
    m_filteredSongs = m_deviceSongs.size();
    m_view.ShowOnlyRows(ControlId::DeviceList, m_deviceHits);
    ShowHitCount();
}

void CSonquillDlg::ShowHitCount() {
    std::string text;
    if (m_deviceFilter) {
        const std::size_t hits = m_deviceHits.size() + (m_cloudListShown ? m_cloudHits : 0);
        text = hits == 0 ? kNoSongsFoundText : SongCountText(hits);
    }
    if (text == m_shownHitCount) return;
    m_shownHitCount = text;
    m_view.SetText(ControlId::SearchHits, text);
}

void CSonquillDlg::ShowDeviceSummary() {
    std::string text;
    if (!m_device.songFolder().empty() && m_deviceListRead) {
        text = SongCountText(m_deviceSongs.size());
        if (const auto room = RoomOn(m_device.songFolder()))
            text = FilledText(kDeviceSummaryText, {text, SizeText(room->freeBytes)});
    }
    if (text == m_shownSummary) return;
    m_shownSummary = text;
    m_view.SetText(ControlId::DeviceSummary, text);
}

}  // namespace songloader
