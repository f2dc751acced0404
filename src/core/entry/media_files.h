#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace songloader {

inline constexpr std::size_t kCopyChunkBytes = 1048576;

// Size in mebibytes, rounded up (the progress range of a copy).
std::uint64_t MebibytesRoundedUp(std::uint64_t bytes);

// Called after every copied chunk with the chunks done so far.
using ChunkProgress = std::function<void(std::uint64_t chunksDone)>;

struct MediaResult {
    bool ok = false;
    std::filesystem::path path;  // the file on the device when ok
    std::string error;           // why not, for people
};

// Copies `source` to `target` in 1 MiB chunks through a temporary file that replaces the target
// only when complete and flushed. Creates the target's folder.
MediaResult CopyMediaFile(const std::filesystem::path& source, const std::filesystem::path& target,
                          const ChunkProgress& onChunk = {});

// The media file of a device song: the entry of its folder named numberText plus its own
// extension (exact case); nullopt when there is none.
std::optional<std::filesystem::path> FindDeviceSongMedia(const std::filesystem::path& songFolder,
                                                         std::string_view numberText);

// Moves every file of a device song (numberText and numberText.*) to the place of its new
// number, all or none: the old files are removed only after every new one is complete, and a
// file already standing at a new place stops the move before anything is copied. `path` of the
// result is the media file's new place.
MediaResult MoveDeviceSongMedia(const std::filesystem::path& songFolder, std::string_view oldNumberText,
                                std::string_view newNumberText, const ChunkProgress& onChunk = {});

// Removes every file of a device song (numberText and numberText.* in its folder); the count removed.
std::size_t DeleteDeviceSongFiles(const std::filesystem::path& songFolder, std::string_view numberText);

}  // namespace songloader
