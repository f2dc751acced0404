#include <set>
#include <system_error>

#include "device_access.h"
#include "core/device/device_layout.h"
#include "core/entry/media_files.h"
#include "terminal_text.h"

namespace songloader::cli {

int RunVerify(const std::vector<std::string>& rawArgs, Console& console) {
    const DeviceCommand command{"verify DEVICE",
                                "Lists the songs of the device's list without a media file, and the media\n"
                                "files in the song folders that no song of the list owns. Exit 1 when there is any.\n",
                                1, "DEVICE"};
    return RunOnDevice(rawArgs, console, command, [&](const Arguments&, LoadedDevice& loaded) {
        const Device& device = loaded.device;
        const SongList& songs = loaded.songs;

        std::size_t problems = 0;
        std::set<std::filesystem::path> owned;
        for (const ROWELEMENT& song : songs) {
            if (auto media = FindDeviceSongMedia(device.songFolder, song.numberText)) {
                owned.insert(*media);
            } else {
                console.out << "missing media\t" << song.numberText << '\t' << TerminalText(song.title, device.codePage)
                            << '\n';
                ++problems;
            }
        }
        std::error_code error;
        std::set<std::filesystem::path> strays;
        for (std::filesystem::directory_iterator folder(device.songFolder, error), end; !error && folder != end;
             folder.increment(error)) {
            if (!folder->is_directory(error)) continue;
            std::error_code inner;
            for (std::filesystem::directory_iterator it(folder->path(), inner), last; !inner && it != last;
                 it.increment(inner)) {
                if (!it->is_directory(inner) && !owned.count(it->path())) strays.insert(it->path());
            }
        }
        for (const auto& stray : strays) {
            console.out << "no song\t" << std::filesystem::relative(stray, device.root).string() << '\n';
            ++problems;
        }
        if (problems == 0) console.out << songs.size() << " songs, every one with its media file\n";
        return problems == 0 ? kExitOk : kExitFailure;
    });
}

}  // namespace songloader::cli
