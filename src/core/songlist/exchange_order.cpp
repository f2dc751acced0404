// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/songlist/exchange_order.h"

#include <algorithm>
#include <utility>

namespace songloader {

namespace {

// Counts over positions 0..n-1 (a binary indexed tree).
class Fenwick {
public:
    void Reset(std::size_t n) { tree_.assign(n + 1, 0); }

    // Every position counted once.
    void ResetToOnes(std::size_t n) {
        tree_.resize(n + 1);
        for (std::size_t i = 1; i <= n; ++i) tree_[i] = static_cast<std::int32_t>(i & (~i + 1));
    }

    void Add(std::size_t pos, std::int32_t delta) {
        for (std::size_t i = pos + 1; i < tree_.size(); i += i & (~i + 1)) tree_[i] += delta;
    }

    // Sum over positions below `pos`.
    std::uint32_t Below(std::size_t pos) const {
        std::int64_t sum = 0;
        for (std::size_t i = pos; i > 0; i -= i & (~i + 1)) sum += tree_[i];
        return static_cast<std::uint32_t>(sum);
    }

    // Position of the k-th (from 0) position whose count is 1, all counts being 0 or 1.
    std::size_t FindKth(std::uint32_t k) const {
        std::size_t pos = 0;
        std::size_t step = 1;
        while (step * 2 < tree_.size()) step *= 2;
        std::int64_t left = k;
        for (; step > 0; step /= 2) {
            if (pos + step < tree_.size() && tree_[pos + step] <= left) {
                pos += step;
                left -= tree_[pos];
            }
        }
        return pos;
    }

private:
    std::vector<std::int32_t> tree_;
};

// The exchange sort treats the elements of one key v like a queue walked in input order: an
// element of v joins at the back, each smaller element met after the first v turns the queue by
// one (front to back), larger ones do nothing; the queue at the end is their output order.
// Kept as a circular list with a front index, a join inserts just before the front and a turn
// moves the front; where each join finally stands is found afterwards, last join first, as the
// k-th still free slot.
class GroupOrder {
public:
    // members: input positions of one key's elements, ascending; turns[j]: smaller elements
    // after members[j] (and before the next member). Writes the output order to `out`.
    void Place(std::span<const std::uint32_t> members, std::span<const std::uint32_t> turns,
               std::span<std::uint32_t> out) {
        const std::size_t g = members.size();
        insertAt_.assign(g, 0);
        std::size_t front = 0;
        for (std::size_t j = 0; j < g; ++j) {
            const std::size_t size = j + 1;
            if (j > 0) {
                insertAt_[j] = static_cast<std::uint32_t>(front);
                ++front;
            }
            front += turns[j] % size;
            if (front >= size) front -= size;
        }
        slots_.assign(g, 0);
        free_.ResetToOnes(g);
        for (std::size_t j = g; j-- > 0;) {
            const std::size_t slot = free_.FindKth(insertAt_[j]);
            free_.Add(slot, -1);
            slots_[slot] = members[j];
        }
        std::rotate_copy(slots_.begin(), slots_.begin() + static_cast<std::ptrdiff_t>(front), slots_.end(),
                         out.begin());
    }

private:
    std::vector<std::uint32_t> insertAt_;
    std::vector<std::uint32_t> slots_;
    Fenwick free_;
};

// Sorts words of key << 32 | position, given in position order, by key then position: a stable
// radix sort on the key's bits (std::sort for short inputs).
void SortByKey(std::vector<std::uint64_t>& packed) {
    constexpr std::size_t kRadixFrom = 1024;
    constexpr int kDigitBits = 11;
    constexpr std::size_t kBuckets = std::size_t{1} << kDigitBits;
    if (packed.size() < kRadixFrom) {
        std::sort(packed.begin(), packed.end());
        return;
    }
    std::vector<std::uint64_t> spare(packed.size());
    std::vector<std::uint32_t> counts(kBuckets);
    for (int shift = 32; shift < 64; shift += kDigitBits) {
        std::fill(counts.begin(), counts.end(), 0u);
        for (std::uint64_t p : packed) ++counts[(p >> shift) & (kBuckets - 1)];
        if (*std::max_element(counts.begin(), counts.end()) == packed.size()) continue;  // one digit: in order
        std::uint32_t start = 0;
        for (std::uint32_t& c : counts) start += std::exchange(c, start);
        for (std::uint64_t p : packed) spare[counts[(p >> shift) & (kBuckets - 1)]++] = p;
        packed.swap(spare);
    }
}

}  // namespace

std::vector<std::uint32_t> ExchangeOrder(std::span<const std::uint32_t> keys) {
    const std::size_t n = keys.size();
    // Sorted by key, then by input position: key and position packed in one word.
    std::vector<std::uint64_t> packed(n);
    for (std::size_t i = 0; i < n; ++i) packed[i] = std::uint64_t{keys[i]} << 32 | i;
    SortByKey(packed);
    std::vector<std::uint32_t> result(n);
    std::transform(packed.begin(), packed.end(), result.begin(),
                   [](std::uint64_t p) { return static_cast<std::uint32_t>(p); });

    // Number the distinct keys in ascending order; without equal keys the sort is the answer.
    std::vector<std::uint32_t> keyRank(n);
    std::uint32_t ranks = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && packed[i] >> 32 != packed[i - 1] >> 32) ++ranks;
        keyRank[result[i]] = ranks;
    }
    if (ranks + 1 >= n) return result;

    // For each position, how many smaller keys stand before it.
    std::vector<std::uint32_t> smallerBefore(n);
    Fenwick seen;
    seen.Reset(ranks + 1);
    for (std::size_t i = 0; i < n; ++i) {
        smallerBefore[i] = seen.Below(keyRank[i]);
        seen.Add(keyRank[i], 1);
    }

    std::vector<std::uint32_t> members;
    std::vector<std::uint32_t> turns;
    GroupOrder group;
    for (std::size_t begin = 0; begin < n;) {
        std::size_t end = begin + 1;
        while (end < n && packed[end] >> 32 == packed[begin] >> 32) ++end;
        if (end - begin > 1) {
            // `begin` elements have smaller keys than this group.
            members.assign(result.begin() + static_cast<std::ptrdiff_t>(begin),
                           result.begin() + static_cast<std::ptrdiff_t>(end));
            turns.resize(members.size());
            for (std::size_t j = 0; j < members.size(); ++j) {
                const std::uint32_t upTo =
                    j + 1 < members.size() ? smallerBefore[members[j + 1]] : static_cast<std::uint32_t>(begin);
                turns[j] = upTo - smallerBefore[members[j]];
            }
            group.Place(members, turns, std::span<std::uint32_t>(result.data() + begin, members.size()));
        }
        begin = end;
    }
    return result;
}

}  // namespace songloader
