// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/entry/media_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <memory>
#include <optional>
#include <vector>

#include "core/common/device_folder.h"
#include "core/common/folder_entries.h"
#include "core/common/safe_file.h"
#include "core/common/temporary_name.h"
#include "core/device/device_layout.h"
#include "core/entry/placement_journal.h"
#include "core/entry/staged_files.h"

namespace songloader {

namespace {

// Every file of a device song: numberText and numberText.* in its folder.
std::vector<std::filesystem::path> SongFiles(const std::filesystem::path& songFolder, std::string_view numberText) {
    std::error_code error;
    const std::filesystem::path folder = MediaFolder(songFolder, numberText);
    const std::string exact(numberText);
    const std::string prefix = exact + ".";
    std::vector<std::filesystem::path> files;
    // Nothing is moved or removed through a link out of the song folder.
    if (!IsRealFolder(folder)) return files;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if ((name == exact || name.rfind(prefix, 0) == 0) && !it->is_directory(error)) files.push_back(it->path());
    }
    return files;
}

// A name the sweep of leftovers would take for a temporary is never given to a song's file.
Result<> StorableName(const std::filesystem::path& target) {
    const std::string name = target.filename().string();
    if (IsTemporaryName(name)) return Fail(name + " has the form of a temporary file name and cannot be stored");
    return {};
}

}  // namespace

Result<DeviceFolder> OpenSongFolder(const std::filesystem::path& songFolder) {
    return OpenFolderBelow(songFolder.parent_path(), songFolder.filename(), true);
}

std::uint64_t MebibytesRoundedUp(std::uint64_t bytes) { return (bytes + kCopyChunkBytes - 1) / kCopyChunkBytes; }

Result<std::filesystem::path> CopyMediaFile(const std::filesystem::path& source, const std::filesystem::path& target,
                                            const ChunkProgress& onChunk) {
    if (Result<> storable = StorableName(target); !storable) return storable.failure();
    const std::filesystem::path songFolder = target.parent_path().parent_path();
    Result<DeviceFolder> above = OpenFolder(songFolder);
    if (!above && !IsRealFolder(songFolder)) {
        if (Result<bool> ready = RealFolderForWrite(songFolder); !ready) return ready.failure();
        above = OpenFolder(songFolder);
    }
    if (!above) return above.failure();
    return CopyMediaFile(*above, source, target, onChunk);
}

namespace {

// Copies `source` into the writer's temporary file, with progress per mebibyte begun.
Result<> CopyInto(SafeFileWriter& out, const std::filesystem::path& source, const ChunkProgress& onChunk) {
    // Only a regular file is read: a FIFO would hold the command (and the device) for ever.
    const Result<int> opened = OpenRegularFile(source);
    if (!opened) return opened.failure();
    const int in = *opened;
    std::uint64_t copied = 0;
    std::uint64_t chunks = 0;
    for (;;) {
        const Result<std::size_t> n = out.CopyFrom(in, kCopyStepBytes);
        if (!n || *n == 0) break;
        copied += *n;
        // Progress keeps its mebibyte steps: one call per mebibyte begun.
        for (const std::uint64_t begun = MebibytesRoundedUp(copied); chunks < begun;) {
            ++chunks;
            if (onChunk) onChunk(chunks);
        }
    }
    ::close(in);
    return out.status();
}

}  // namespace

Result<std::filesystem::path> CopyMediaFile(const DeviceFolder& above, const std::filesystem::path& source,
                                            const std::filesystem::path& target, const ChunkProgress& onChunk) {
    if (Result<> storable = StorableName(target); !storable) return storable.failure();
    const std::string name = target.filename().string();
    // The song's folder is opened from the open song folder without following a link, and the copy
    // is made in that open folder.
    const Result<DeviceFolder> folder = above.Below(target.parent_path().filename().string(), true);
    if (!folder) return folder.failure();
    std::optional<SafeFileWriter> out(std::in_place, *folder, name);
    Result<> copied = CopyInto(*out, source, onChunk);
    if (copied) copied = out->Commit();
    if (!copied) {
        out.reset();
        // A failed copy leaves no empty song folder behind.
        if (folder->created()) (void)above.RemoveFolder(target.parent_path().filename().string());
        return copied.failure();
    }
    return target;
}

namespace {

// The song's sub-folder of the batch for `target` (made when missing), once its name may be stored.
Result<DeviceFolder> StagingFolder(StagedFiles& staged, const std::filesystem::path& target) {
    if (Result<> storable = StorableName(target); !storable) return storable.failure();
    return staged.Folder(target.parent_path().filename().string());
}

// Copies `source` into `out` and closes it; only a whole copy keeps its temporary (Release).
Result<> CopyAndClose(SafeFileWriter& out, const std::filesystem::path& source, const ChunkProgress& onChunk) {
    Result<> copied = CopyInto(out, source, onChunk);
    if (copied) copied = out.Close();
    if (copied) out.Release();
    return copied;
}

}  // namespace

Result<std::filesystem::path> StageMediaFile(StagedFiles& staged, const std::filesystem::path& source,
                                             const std::filesystem::path& target, const ChunkProgress& onChunk) {
    const Result<DeviceFolder> folder = StagingFolder(staged, target);
    if (!folder) return folder.failure();
    SafeFileWriter out(*folder, target.filename().string());
    if (Result<> copied = CopyAndClose(out, source, onChunk); !copied) return copied.failure();
    staged.Add(target.parent_path().filename().string(), out.temporaryName(), target.filename().string());
    return target;
}

Result<std::filesystem::path> StageMediaFileLater(StagedFiles& staged, const std::filesystem::path& source,
                                                  const std::filesystem::path& target) {
    const Result<DeviceFolder> folder = StagingFolder(staged, target);
    if (!folder) return folder.failure();
    // Made here, in the batch's order; a writer that is not released removes its temporary when
    // the copy lets go of it.
    auto out = std::make_shared<SafeFileWriter>(*folder, target.filename().string());
    if (Result<> created = out->status(); !created) return created.failure();
    const std::string temporaryName = out->temporaryName();
    staged.AddFinishing(target.parent_path().filename().string(), temporaryName, target.filename().string(),
                        [out = std::move(out), source] { return CopyAndClose(*out, source, {}); });
    return target;
}

DeviceMediaIndex::Listing& DeviceMediaIndex::Read(const std::string& name) {
    auto [entry, added] = folders_.try_emplace(name);
    Listing& listing = entry->second;
    if (!added) return listing;
    ForEachFolderEntry(songFolder_ / name, LinkedFolder::CountsAsFolder, [&](std::string_view file, bool isFolder) {
        if (!isFolder) listing.names.emplace_back(file);
    });
    listing.claimed.assign(listing.names.size(), false);
    // Keys look into the names, which no longer move.
    for (std::size_t i = 0; i < listing.names.size(); ++i) {
        const std::string_view file = listing.names[i];
        listing.byStem.try_emplace(file.substr(0, file.rfind('.')), i);
    }
    return listing;
}

std::vector<std::string> DeviceMediaIndex::Unclaimed(const std::string& name) {
    const Listing& listing = Read(name);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < listing.names.size(); ++i) {
        if (!listing.claimed[i]) names.push_back(listing.names[i]);
    }
    return names;
}

std::optional<std::filesystem::path> DeviceMediaIndex::Media(std::string_view numberText) {
    const std::string folder(numberText.substr(0, 3));
    Listing& listing = Read(folder);
    const auto found = listing.byStem.find(numberText);
    if (found == listing.byStem.end()) return std::nullopt;
    listing.claimed[found->second] = true;
    return songFolder_ / folder / listing.names[found->second];
}

std::optional<std::filesystem::path> FindDeviceSongMedia(const std::filesystem::path& songFolder,
                                                         std::string_view numberText) {
    return DeviceMediaIndex(songFolder).Media(numberText);
}

Result<std::filesystem::path> MoveDeviceSongMedia(const std::filesystem::path& songFolder,
                                                  std::string_view oldNumberText, std::string_view newNumberText,
                                                  const WriteStepHook& step) {
    const auto oldFile = FindDeviceSongMedia(songFolder, oldNumberText);
    if (!oldFile) return Fail("the media file of song " + std::string(oldNumberText) + " is not on the device");
    const std::filesystem::path newFile = MediaTargetPath(songFolder, newNumberText, *oldFile);
    if (newFile == *oldFile) return newFile;

    // Every file of the song goes (its lyrics beside its video, say), each keeping what follows the number.
    std::error_code error;
    PlacementJournal journal;
    for (const auto& file : SongFiles(songFolder, oldNumberText)) {
        const std::string rest = file.filename().string().substr(oldNumberText.size());
        const std::filesystem::path target =
            MediaFolder(songFolder, newNumberText) / (std::string(newNumberText) + rest);
        if (std::filesystem::symlink_status(target, error).type() != std::filesystem::file_type::not_found) {
            return Fail(target.string() + " already exists on the device");
        }
        journal.moves.push_back({std::string(oldNumberText), std::string(newNumberText),
                                 file.lexically_relative(songFolder), target.lexically_relative(songFolder)});
    }
    // Records left by a run that could not be finished would be lost under a new one.
    if (JournalLeftOver(songFolder)) return Fail("an interrupted change of the device is not finished yet");
    if (Result<bool> ready = RealFolderForWrite(MediaFolder(songFolder, newNumberText)); !ready) return ready.failure();
    // Written down first: a run killed between the renames is finished or undone by the next command.
    StepTaken(step);
    if (auto recorded = WritePlacementJournal(songFolder, journal); !recorded) return recorded.failure();
    for (std::size_t i = 0; i < journal.moves.size(); ++i) {
        const JournalMove& move = journal.moves[i];
        StepTaken(step);
        if (::rename((songFolder / move.from).c_str(), (songFolder / move.to).c_str()) != 0) {
            const std::string why = "cannot move " + (songFolder / move.from).string() + ": " + std::strerror(errno);
            MoveDeviceSongMediaBack(songFolder, journal.moves, i, step);
            return Fail(why);
        }
    }
    for (const auto& folder :
         {songFolder / journal.moves.front().from.parent_path(), songFolder / journal.moves.front().to.parent_path()}) {
        (void)SyncFolder(folder);  // the files have moved; the record keeps the move until the catalogue is written
    }
    return newFile;
}

void MoveDeviceSongMediaBack(const std::filesystem::path& songFolder, const std::vector<JournalMove>& moves,
                             std::size_t count, const WriteStepHook& step) {
    for (std::size_t i = std::min(count, moves.size()); i-- > 0;) {
        StepTaken(step);
        ::rename((songFolder / moves[i].to).c_str(), (songFolder / moves[i].from).c_str());
    }
    if (!moves.empty()) (void)SyncFolder(songFolder / moves.front().from.parent_path());
    StepTaken(step);
    (void)RemovePlacementJournal(songFolder);
}

std::size_t DeleteDeviceSongFiles(const std::filesystem::path& songFolder, std::string_view numberText) {
    // Only a song number names a song's files ("." would name the song folder itself).
    if (!IsRecordableNumber(numberText)) return 0;
    // Listed and removed in the song's folder opened without following a link.
    const Result<DeviceFolder> folder = OpenFolderBelow(songFolder, MediaFolder({}, numberText));
    if (!folder) return 0;
    const std::string exact(numberText);
    const std::string prefix = exact + ".";
    std::size_t removed = 0;
    for (const std::string& name : folder->Names()) {
        if (name != exact && !name.starts_with(prefix)) continue;
        struct stat info {};
        if (::fstatat(folder->fd(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 || S_ISDIR(info.st_mode)) continue;
        removed += folder->Remove(name) ? 1 : 0;
    }
    return removed;
}

}  // namespace songloader
