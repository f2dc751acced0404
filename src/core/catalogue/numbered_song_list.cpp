// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/catalogue/numbered_song_list.h"

namespace songloader {

SongNumberSet::SongNumberSet(const SongList& songs) {
    for (const ROWELEMENT& song : songs) Add(song.number);
}

SongNumberSet::SongNumberSet(std::span<const std::int32_t> numbers) {
    for (const std::int32_t number : numbers) Add(number);
}

bool SongNumberSet::Contains(std::int32_t number) const {
    if (!SixDigits(number)) return m_moreCounts.contains(number);
    return !m_held.empty() && m_held[static_cast<std::size_t>(number)];
}

void SongNumberSet::Add(std::int32_t number) {
    if (!SixDigits(number) || Contains(number)) {
        ++m_moreCounts[number];
        return;
    }
    if (m_held.empty()) m_held.resize(kSixDigits);
    m_held[static_cast<std::size_t>(number)] = true;
}

void SongNumberSet::Remove(std::int32_t number) {
    if (const auto more = m_moreCounts.find(number); more != m_moreCounts.end()) {
        if (--more->second == 0) m_moreCounts.erase(more);
        return;
    }
    if (SixDigits(number) && !m_held.empty()) m_held[static_cast<std::size_t>(number)] = false;
}

void SongNumberSet::Clear() {
    m_held.clear();
    m_moreCounts.clear();
}

void NumberedSongList::Append(const ROWELEMENT& song) {
    m_songs.push_back(song);
    m_numbers.Add(song.number);
}

void NumberedSongList::Append(ROWELEMENT&& song) {
    m_numbers.Add(song.number);
    m_songs.push_back(std::move(song));
}

void NumberedSongList::Insert(std::size_t row, const ROWELEMENT& song) {
    m_songs.insert(m_songs.begin() + static_cast<std::ptrdiff_t>(row), song);
    m_numbers.Add(song.number);
}

void NumberedSongList::Erase(std::size_t row) {
    m_numbers.Remove(m_songs[row].number);
    m_songs.erase(m_songs.begin() + static_cast<std::ptrdiff_t>(row));
}

void NumberedSongList::Replace(std::size_t row, const ROWELEMENT& song) {
    m_numbers.Remove(m_songs[row].number);
    m_songs[row] = song;
    m_numbers.Add(song.number);
}

void NumberedSongList::Clear() {
    m_songs.clear();
    m_numbers.Clear();
}

}  // namespace songloader
