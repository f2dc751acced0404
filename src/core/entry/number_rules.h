// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "core/catalogue/row_element.h"

namespace songloader {

// The lowest number from 900000 upward that neither a device song nor a work-list song uses.
// No cap on how many numbers are looked at.
std::int32_t NextFreeUserNumber(const SongList& deviceSongs, const SongList& workSongs);

}  // namespace songloader
