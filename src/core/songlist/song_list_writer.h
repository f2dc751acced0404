#pragma once

#include <cstdint>
#include <vector>

#include "core/common/notice.h"
#include "core/songlist/song_text.h"

namespace songloader {

// At most this many songs (exclusive) fit in a device song list.
inline constexpr std::size_t kSongListRowLimit = 50000;

// Shown by whoever stores the built bytes when the file cannot be created.
inline constexpr const char* kCreateSongListFailMessage = "Create SgList.Dat Fail!";

struct SongListBuild {
    bool ok = false;
    std::vector<std::uint8_t> bytes;  // the complete SgList.dat when ok
    Notices notices;                  // what to show, in order, when !ok
};

// Builds the bytes of SgList.dat from the temporary song text; nullptr stands for "no text".
// Writes nothing: the caller stores the bytes safely.
SongListBuild BuildSongList(const SongText* text);

}  // namespace songloader
