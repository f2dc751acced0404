#include "core/catalogue/numbered_song_list.h"

namespace songloader {

SongNumberSet::SongNumberSet(const SongList& songs) {
    m_counts.reserve(songs.size());
    for (const ROWELEMENT& song : songs) Add(song.number);
}

void SongNumberSet::Remove(std::int32_t number) {
    const auto found = m_counts.find(number);
    if (found == m_counts.end()) return;
    if (--found->second == 0) m_counts.erase(found);
}

void NumberedSongList::Append(const ROWELEMENT& song) {
    m_songs.push_back(song);
    m_numbers.Add(song.number);
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
