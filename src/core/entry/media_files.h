// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/common/device_folder.h"
#include "core/common/result.h"
#include "core/entry/placement_journal.h"
#include "core/entry/staged_files.h"
#include "core/entry/write_steps.h"

namespace songloader {

inline constexpr std::size_t kCopyChunkBytes = 1048576;
// A copy moves this much per step (in the kernel where it can); progress still counts mebibytes.
inline constexpr std::size_t kCopyStepBytes = 8 * kCopyChunkBytes;

// Size in mebibytes, rounded up (the progress range of a copy).
std::uint64_t MebibytesRoundedUp(std::uint64_t bytes);

// Called after every copied chunk with the chunks done so far.
using ChunkProgress = std::function<void(std::uint64_t chunksDone)>;

// The song folder opened for a command's writes (see DeviceFolder), made when missing; a link on
// the way is refused. Every file of the command is then made relative to it.
Result<DeviceFolder> OpenSongFolder(const std::filesystem::path& songFolder);

// Copies `source` to `target` through a temporary file that replaces the target only when complete
// and flushed; `onChunk` runs once per mebibyte. Creates the target's folder (removed again when the
// copy fails); a folder that is a symbolic link is refused. The file on the device, or why not.
Result<std::filesystem::path> CopyMediaFile(const std::filesystem::path& source, const std::filesystem::path& target,
                                            const ChunkProgress& onChunk = {});
// The same into the open song folder `songFolder` (target: songFolder's path / NNN / name): the
// song's sub-folder is opened or made relative to it, never reached by its path again.
Result<std::filesystem::path> CopyMediaFile(const DeviceFolder& songFolder, const std::filesystem::path& source,
                                            const std::filesystem::path& target, const ChunkProgress& onChunk = {});
// The copy of a batch: written under a temporary name in the song's sub-folder of the batch's
// song folder and handed to `staged`, which flushes it with the others and puts it in place
// (target: the song folder's path / NNN / name). The target, or why the copy failed.
Result<std::filesystem::path> StageMediaFile(StagedFiles& staged, const std::filesystem::path& source,
                                             const std::filesystem::path& target, const ChunkProgress& onChunk = {});
// The same with the copy itself left to the batch's writing thread (StagedFiles::AddFinishing):
// the caller goes on with the next file while this one is copied, and a copy that fails is
// reported when the batch puts its files in place. For small files, whose copy is mostly
// system calls: a big one is copied at once, with its progress.
Result<std::filesystem::path> StageMediaFileLater(StagedFiles& staged, const std::filesystem::path& source,
                                                  const std::filesystem::path& target);

// The media file of a device song: the entry of its folder named numberText plus its own
// extension (exact case); nullopt when there is none.
std::optional<std::filesystem::path> FindDeviceSongMedia(const std::filesystem::path& songFolder,
                                                         std::string_view numberText);

// The song sub-folders of a device, each read once and kept for the command: finding the media of
// many songs then costs one folder listing per sub-folder, not one per song. A file found for a
// song counts as claimed, so that what no song claims can be listed afterwards.
class DeviceMediaIndex {
public:
    explicit DeviceMediaIndex(std::filesystem::path songFolder) : songFolder_(std::move(songFolder)) {}

    // As FindDeviceSongMedia; the file found is claimed.
    std::optional<std::filesystem::path> Media(std::string_view numberText);
    // The names of the files (not folders) of the sub-folder `name` that no Media call claimed,
    // in the folder's order; none for a symbolic link.
    std::vector<std::string> Unclaimed(const std::string& name);

private:
    struct Listing {
        std::vector<std::string> names;
        std::vector<bool> claimed;
        std::unordered_map<std::string_view, std::size_t> byStem;  // name up to its last dot -> first file
    };
    Listing& Read(const std::string& name);

    std::filesystem::path songFolder_;
    std::unordered_map<std::string, Listing> folders_;  // by the sub-folder's name
};

// Moves every file of a device song (numberText and numberText.*) to the place of its new number
// by renaming, after recording the move on the device (see placement_journal.h): a file already
// standing at a new place stops the move before anything moves, a failed rename moves back what
// moved. The media file's new place. The record stays until the caller has written the catalogue
// (then RemovePlacementJournal) or moves the files back (MoveDeviceSongMediaBack).
Result<std::filesystem::path> MoveDeviceSongMedia(const std::filesystem::path& songFolder,
                                                  std::string_view oldNumberText, std::string_view newNumberText,
                                                  const WriteStepHook& step = {});
// Undoes the first `count` renames of `moves` and removes the record.
void MoveDeviceSongMediaBack(const std::filesystem::path& songFolder, const std::vector<JournalMove>& moves,
                             std::size_t count, const WriteStepHook& step = {});

// Removes every file of a device song (numberText and numberText.* in its folder); the count removed.
std::size_t DeleteDeviceSongFiles(const std::filesystem::path& songFolder, std::string_view numberText);

}  // namespace songloader
