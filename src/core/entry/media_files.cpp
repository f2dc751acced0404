#include "core/entry/media_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <vector>

#include "core/common/safe_file.h"
#include "core/device/device_layout.h"

namespace songloader {

namespace {

MediaResult Failure(std::string error) {
    MediaResult result;
    result.error = std::move(error);
    return result;
}

// Every file of a device song: numberText and numberText.* in its folder.
std::vector<std::filesystem::path> SongFiles(const std::filesystem::path& songFolder, std::string_view numberText) {
    std::error_code error;
    const std::filesystem::path folder = MediaFolder(songFolder, numberText);
    const std::string exact(numberText);
    const std::string prefix = exact + ".";
    std::vector<std::filesystem::path> files;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if ((name == exact || name.rfind(prefix, 0) == 0) && !it->is_directory(error)) files.push_back(it->path());
    }
    return files;
}

}  // namespace

std::uint64_t MebibytesRoundedUp(std::uint64_t bytes) { return (bytes + kCopyChunkBytes - 1) / kCopyChunkBytes; }

MediaResult CopyMediaFile(const std::filesystem::path& source, const std::filesystem::path& target,
                          const ChunkProgress& onChunk) {
    std::error_code error;
    std::filesystem::create_directories(target.parent_path(), error);
    if (!std::filesystem::is_directory(target.parent_path(), error)) {
        return Failure("cannot create the folder " + target.parent_path().string());
    }
    int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return Failure("cannot open " + source.string() + ": " + std::strerror(errno));

    SafeFileWriter out(target);
    std::vector<char> buffer(kCopyChunkBytes);
    std::uint64_t chunks = 0;
    std::string readError;
    while (out.ok()) {
        // Fill a whole chunk so that progress steps by mebibytes.
        std::size_t filled = 0;
        while (filled < buffer.size()) {
            ssize_t n = ::read(in, buffer.data() + filled, buffer.size() - filled);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                readError = "cannot read " + source.string() + ": " + std::strerror(errno);
                break;
            }
            if (n == 0) break;
            filled += static_cast<std::size_t>(n);
        }
        if (!readError.empty() || filled == 0) break;
        if (!out.Write(buffer.data(), filled)) break;
        if (onChunk) onChunk(++chunks);
        if (filled < buffer.size()) break;
    }
    ::close(in);
    if (!readError.empty()) return Failure(readError);
    if (!out.Commit()) return Failure(out.error());
    MediaResult result;
    result.ok = true;
    result.path = target;
    return result;
}

std::optional<std::filesystem::path> FindDeviceSongMedia(const std::filesystem::path& songFolder,
                                                         std::string_view numberText) {
    std::error_code error;
    const std::filesystem::path folder = MediaFolder(songFolder, numberText);
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::filesystem::path& entry = it->path();
        if (entry.filename().string() == std::string(numberText) + MediaExtension(entry)) return entry;
    }
    return std::nullopt;
}

MediaResult MoveDeviceSongMedia(const std::filesystem::path& songFolder, std::string_view oldNumberText,
                                std::string_view newNumberText, const ChunkProgress& onChunk) {
    const auto oldFile = FindDeviceSongMedia(songFolder, oldNumberText);
    if (!oldFile) {
        return Failure("the media file of song " + std::string(oldNumberText) + " is not on the device");
    }
    MediaResult moved;
    moved.ok = true;
    moved.path = MediaTargetPath(songFolder, newNumberText, *oldFile);
    if (moved.path == *oldFile) return moved;

    // Every file of the song goes (its lyrics beside its video, say), each keeping what follows the number.
    std::error_code error;
    std::vector<std::pair<std::filesystem::path, std::filesystem::path>> moves;
    for (const auto& file : SongFiles(songFolder, oldNumberText)) {
        const std::string rest = file.filename().string().substr(oldNumberText.size());
        const std::filesystem::path target = MediaFolder(songFolder, newNumberText) / (std::string(newNumberText) + rest);
        if (std::filesystem::exists(target, error)) return Failure(target.string() + " already exists on the device");
        moves.emplace_back(file, target);
    }
    // All or none: the old files go only once every copy is complete.
    std::vector<std::filesystem::path> copies;
    for (const auto& [from, to] : moves) {
        const MediaResult copied = CopyMediaFile(from, to, from == *oldFile ? onChunk : ChunkProgress{});
        if (!copied.ok) {
            for (const auto& copy : copies) std::filesystem::remove(copy, error);
            return copied;
        }
        copies.push_back(to);
    }
    for (const auto& move : moves) std::filesystem::remove(move.first, error);
    return moved;
}

std::size_t DeleteDeviceSongFiles(const std::filesystem::path& songFolder, std::string_view numberText) {
    std::error_code error;
    std::size_t removed = 0;
    for (const auto& file : SongFiles(songFolder, numberText)) removed += std::filesystem::remove(file, error) ? 1 : 0;
    return removed;
}

}  // namespace songloader
