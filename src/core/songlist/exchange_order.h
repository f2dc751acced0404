// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace songloader {

// The order the player's exchange sort leaves: for each position p from the first to the last
// but one, the element at p is compared with each later q and the two are swapped when q's key is
// strictly smaller. Equal keys end in the order that procedure gives them, not in input order.
// result[i] is the input position of the element that ends at position i. O(n log n).
std::vector<std::uint32_t> ExchangeOrder(std::span<const std::uint32_t> keys);

}  // namespace songloader
