#include "core/device/device_layout.h"

#include <system_error>

namespace songloader {

std::filesystem::path SongFolderOf(const std::filesystem::path& deviceRoot) { return deviceRoot / "songs"; }

std::filesystem::path MidiFolderOf(const std::filesystem::path& deviceRoot) { return deviceRoot / "midi"; }

std::filesystem::path MediaFolder(const std::filesystem::path& songFolder, std::string_view numberText) {
    return songFolder / std::string(numberText.substr(0, 3));
}

std::string MediaExtension(const std::filesystem::path& mediaPath) {
    const std::string name = mediaPath.filename().string();
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::filesystem::path MediaTargetPath(const std::filesystem::path& songFolder, std::string_view numberText,
                                      const std::filesystem::path& sourceMedia) {
    return MediaFolder(songFolder, numberText) / (std::string(numberText) + MediaExtension(sourceMedia));
}

bool EnsureSongFolder(const std::filesystem::path& songFolder) {
    std::error_code error;
    if (std::filesystem::is_directory(songFolder, error)) return true;
    std::filesystem::create_directories(songFolder, error);
    return std::filesystem::is_directory(songFolder, error);
}

}  // namespace songloader
