// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/catalogue/row_element.h"

namespace songloader {

// Songs made to collide wherever an ordering can: a few numbers used many times, titles equal
// apart from letter case, shared initials and artists, several languages including GB2312 and
// Vietnamese bytes, and titles long enough for word classes of 9 and more and for the 52-byte cut.
// Every song passes the row checks.
SongList TieHeavySongs(std::uint32_t seed, std::size_t count);

// A plain user song: its number, the title, the artist "Artist", and the media file named.
ROWELEMENT ArtistSong(int number, std::string title, std::string media = {});

// A cloud song as the cloud list names it: number and title only.
ROWELEMENT CloudSong(std::int32_t number, std::string title = "Song");

// The songs of the device list in `songFolder` (none without one); a list that cannot be read
// fails the test.
SongList DeviceListSongs(const std::filesystem::path& songFolder);

}  // namespace songloader
