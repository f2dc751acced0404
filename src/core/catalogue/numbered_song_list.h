// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "core/catalogue/row_element.h"

namespace songloader {

// How many songs of a list carry each number: "is this song there" without a walk over the
// list, for the loops that ask it once per cloud song or search hit. Song numbers have six
// digits: one bit each (125 KB for all of them) answers, and only numbers held more than once,
// or outside six digits, take room of their own.
class SongNumberSet {
public:
    SongNumberSet() = default;
    explicit SongNumberSet(const SongList& songs);
    explicit SongNumberSet(std::span<const std::int32_t> numbers);

    bool Contains(std::int32_t number) const;
    void Add(std::int32_t number);
    void Remove(std::int32_t number);
    void Clear();

private:
    static constexpr std::int32_t kSixDigits = 1000000;
    static bool SixDigits(std::int32_t number) { return number >= 0 && number < kSixDigits; }

    std::vector<bool> m_held;                            // six-digit numbers held at least once
    std::unordered_map<std::int32_t, int> m_moreCounts;  // copies beyond the first; others: all
};

// A song list that keeps its number set in step: every change goes through one of the calls
// below, so the set cannot be forgotten. Reading is the plain list.
class NumberedSongList {
public:
    const SongList& songs() const { return m_songs; }
    operator const SongList&() const { return m_songs; }
    bool Contains(std::int32_t number) const { return m_numbers.Contains(number); }

    std::size_t size() const { return m_songs.size(); }
    bool empty() const { return m_songs.empty(); }
    const ROWELEMENT& operator[](std::size_t row) const { return m_songs[row]; }
    SongList::const_iterator begin() const { return m_songs.begin(); }
    SongList::const_iterator end() const { return m_songs.end(); }

    void Append(const ROWELEMENT& song);
    void Append(ROWELEMENT&& song);
    void Insert(std::size_t row, const ROWELEMENT& song);
    void Erase(std::size_t row);
    void Replace(std::size_t row, const ROWELEMENT& song);
    void Clear();

private:
    SongList m_songs;
    SongNumberSet m_numbers;
};

}  // namespace songloader
