#pragma once

#include <cstdint>

#include "core/catalogue/row_element.h"

namespace songloader {

// The lowest number from 900000 upward that neither a user song on the device nor a work-list
// song uses (work-list numbers count whatever their range). No cap on how many numbers are looked at.
std::int32_t NextFreeUserNumber(const SongList& deviceSongs, const SongList& workSongs);

}  // namespace songloader
